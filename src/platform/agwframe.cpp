#include "platform/agwframe.h"

#include <QtEndian>

namespace fd::agw {

bool headerCall(const QString& call) {
  if (call.size() > 9) return false;
  for (QChar c : call)
    if (c == u' ' || c.unicode() > 126 || c.unicode() < 33) return false;
  return true;
}

std::optional<QByteArray> encode(const Frame& f) {
  if (!headerCall(f.callFrom) || !headerCall(f.callTo)) return std::nullopt;
  QByteArray out(kHeaderSize, '\0');
  out[0] = static_cast<char>(f.port);
  out[4] = f.kind;
  out[6] = static_cast<char>(f.pid);
  const QByteArray from = f.callFrom.toLatin1(), to = f.callTo.toLatin1();
  out.replace(8, from.size(), from);
  out.replace(18, to.size(), to);
  qToLittleEndian<quint32>(static_cast<quint32>(f.data.size()), out.data() + 28);
  return out + f.data;
}

namespace {
QString callField(const QByteArray& header, int at) {
  QByteArray c = header.mid(at, 10);
  const qsizetype nul = c.indexOf('\0');
  if (nul >= 0) c.truncate(nul);
  return QString::fromLatin1(c);
}
}  // namespace

void Reassembler::feed(const QByteArray& bytes) {
  if (broken_) return;
  buffer_ += bytes;
  while (buffer_.size() >= kHeaderSize) {
    const quint32 len = qFromLittleEndian<quint32>(buffer_.constData() + 28);
    if (len > kMaxDataLength) {
      broken_ = true;
      buffer_.clear();
      return;
    }
    if (buffer_.size() < kHeaderSize + static_cast<qsizetype>(len)) return;
    Frame f;
    f.port = static_cast<unsigned char>(buffer_[0]);
    f.kind = buffer_[4];
    f.pid = static_cast<unsigned char>(buffer_[6]);
    f.callFrom = callField(buffer_, 8);
    f.callTo = callField(buffer_, 18);
    f.data = buffer_.mid(kHeaderSize, len);
    frames.push_back(std::move(f));
    buffer_.remove(0, kHeaderSize + len);
  }
}

std::optional<Frame> forWindow(const Frame& f) {
  static const QByteArray kSwallowed = "XRGgyYHK";
  if (kSwallowed.contains(f.kind)) return std::nullopt;
  Frame out = f;
  if (out.kind == 'C') out.kind = 'c';
  if (out.data.size() > kMaxDataKept) out.data.truncate(kMaxDataKept);
  while (out.data.endsWith('\0')) out.data.chop(1);
  return out;
}

}  // namespace fd::agw
