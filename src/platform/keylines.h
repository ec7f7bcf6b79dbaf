#pragma once
// Key lines: the transmitter key and PTT lines the keyers switch.
//
// Parallel port: the keyers write the control register (base + 2) with 3 for
// key down and 2 for key up. On Linux this goes through ppdev: the typed base
// address (888 or "&H378") is matched to the first number of
// /proc/sys/dev/parport/parportN/base-addr, /dev/parportN is claimed
// (PPCLAIM) at first use and held, and the register written with PPWCONTROL.
// On release 2 is written, then PPRELEASE and close. One handle per address,
// shared by every keyer. Needs the ppdev module and the group "lp".
//
// Serial lines (RTS, DTR) belong to the keyers' SerialPort objects; keying
// goes through setSerialKeyLine so that every set call can be recorded.
//
// Recording: while a KeyLineRecorder is installed, every set call (repeats
// included) is logged with a monotonic stamp from the platform clock, the
// line ("COM1.RTS", "COM1.DTR", "LPT888") and the value.
//
// Signals: SIGINT, SIGTERM and SIGHUP only wake the event loop, which runs
// the release step and then ends the program, so no line stays keyed.
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace fd {

class SerialPort;

// A typed base address ("888", "&H378", "&h3bc"); nullopt-like ok false.
int parseParallelBase(const QString& text, bool* ok);

// One parallel port's control register.
class ParallelDevice {
 public:
  virtual ~ParallelDevice() = default;
  // Claims the port (first use). False with error() when it cannot.
  virtual bool claim() = 0;
  virtual bool writeControl(std::uint8_t value) = 0;
  // Writes 2, gives the port up and closes it.
  virtual void release() = 0;
  QString error() const { return error_; }

 protected:
  QString error_;
};

// ppdev: the port whose base-addr starts with base, looked up under root
// (normally /proc/sys/dev/parport; tests point it elsewhere).
std::unique_ptr<ParallelDevice> makePpdevDevice(int base, const QString& procRoot = {});
// The /dev/parportN whose base matches, or empty.
QString parportForBase(int base, const QString& procRoot = {});

// A port for tests: writes every value to a log the test owns.
struct FakeParallelLog {
  std::vector<int> writes;  // values written, release's 2 included
  bool failClaim = false;
  int claims = 0, releases = 0;
};
class FakeParallelDevice : public ParallelDevice {
 public:
  explicit FakeParallelDevice(FakeParallelLog& log) : log_(log) {}
  bool claim() override;
  bool writeControl(std::uint8_t value) override;
  void release() override;

 private:
  FakeParallelLog& log_;
  bool claimed_ = false;
};

using ParallelFactory = std::function<std::unique_ptr<ParallelDevice>(int base)>;
void setParallelFactory(ParallelFactory f);  // empty: back to ppdev

// Out32(base + 2, value): the shared handle for base is claimed at first use.
// False when no port has that base, it cannot be claimed or the write fails.
bool out32(int port, int value);
// Releases one base's handle (2 written first), or all of them.
void releaseParallel(int base);
void releaseAllParallel();

// Sets RTS or DTR of a keyer's port as a key line and records it.
bool setSerialKeyLine(SerialPort& port, bool rts, bool on);

struct KeyLineEvent {
  std::int64_t ms = 0;
  std::int64_t ns = 0;  // the same instant to the nanosecond
  QString line;
  int value = 0;
};

class KeyLineRecorder {
 public:
  KeyLineRecorder();   // installs itself
  ~KeyLineRecorder();  // and removes itself
  std::vector<KeyLineEvent> events;
  void clear() { events.clear(); }
};
void recordKeyLine(const QString& line, int value);

// Installs the handler for SIGINT, SIGTERM and SIGHUP: on a signal the event
// loop runs release() and then ends the program. Call once with the event
// loop's application object alive.
void installReleaseOnSignal(std::function<void()> release);
// For tests: runs what a signal would (release, then the exit request).
bool releaseOnSignalInstalled();

}  // namespace fd
