#pragma once
// The AGW packet engine's TCP interface (served by Linux engines such as
// Debian's direwolf, on port 8000 by default). Every frame is a 36-byte
// little-endian header, then the data:
//   byte 0      radio port (0 = first), bytes 1-3 reserved
//   byte 4      kind, an ASCII letter ('X' register, 'm' monitor toggle,
//               'C' connect, 'd' disconnect, 'D' data, 'U' monitored frame...)
//   byte 5      reserved
//   byte 6      PID (0xF0 for text), byte 7 reserved
//   bytes 8-17  call from, NUL-padded (at most nine characters)
//   bytes 18-27 call to, NUL-padded
//   bytes 28-31 data length, unsigned 32-bit
//   bytes 32-35 user field (0)
#include <QByteArray>
#include <QString>
#include <deque>
#include <optional>

namespace fd::agw {

constexpr int kHeaderSize = 36;
constexpr quint32 kMaxDataLength = 64 * 1024;  // beyond this the link is broken
constexpr int kMaxDataKept = 4000;             // what one frame hands over

struct Frame {
  int port = 0;
  char kind = 0;
  int pid = 0;
  QString callFrom, callTo;
  QByteArray data;
};

// A call the header can hold: at most nine characters, no blank. Empty is fine.
bool headerCall(const QString& call);
// The frame's bytes; nullopt when a call cannot be held.
std::optional<QByteArray> encode(const Frame& f);

// Takes bytes as they arrive and hands out whole frames.
class Reassembler {
 public:
  void feed(const QByteArray& bytes);
  bool broken() const { return broken_; }  // a data length over the limit
  std::deque<Frame> frames;
  void clear() {
    buffer_.clear();
    frames.clear();
    broken_ = false;
  }

 private:
  QByteArray buffer_;
  bool broken_ = false;
};

// The engine's frame as the spotting window takes it: 'C' becomes 'c'; the
// engine's own answers ('X','R','G','g','y','Y','H','K') are swallowed
// (nullopt); the data is cut to kMaxDataKept and then stripped of its
// trailing NUL bytes.
std::optional<Frame> forWindow(const Frame& f);

}  // namespace fd::agw
