#pragma once
// One serial-port layer for the whole program (keyers, radio, TNC), with the
// surface the callers use: port number, line settings ("4800,N,8,2"),
// handshaking (0 none, 1 XON/XOFF, 2 RTS/CTS, 3 both), the DTR and RTS lines,
// open and close, bytes out and in. Bytes, never text.
//
// Port number N >= 1 maps to the entry "ports/comN" in the program folder when
// one exists (a link to /dev/ttyUSB0, or in tests to a pseudo-terminal; a
// dangling link fails to open like a missing port), else /dev/ttyS(N-1).
// 0 is none. The map is looked up at every open.
//
// Properties are stored while the port is closed and take effect at open.
// Linux raises DTR and RTS when it opens a tty: right after open both are set
// to their stored states. A device that refuses modem-line calls (a
// pseudo-terminal) is no open failure. Closing drops both lines first.
// A device that vanishes (read or resource error) closes the port at once and
// is reported once through onVanished.
#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

namespace fd {

// The device behind port number n, or empty for n < 1.
QString serialDevice(const QString& progDir, int n);

// The parsed line settings text ("4800,N,8,2"); ok false when it does not parse.
struct SerialSettings {
  int baud = 9600;
  char parity = 'N';  // N, E, O, M, S
  int dataBits = 8;
  double stopBits = 1;  // 1, 1.5, 2
  bool ok = true;
};
SerialSettings parseSerialSettings(const QString& text);

// The longest a drain of `bytes` may wait at `baud`: their time on the wire
// (ten bits a byte) and 20 ms of slack.
int drainBoundMs(qsizetype bytes, int baud);
// Waits until queued() reports nothing left to send or boundMs has passed.
// True when the queue emptied. Short on purpose: a device held by its
// handshake (a radio switched off on RTS/CTS) costs the bound, never a stall.
bool drainOutputQueue(const std::function<int()>& queued, int boundMs);

class SerialPort : public QObject {
  Q_OBJECT
 public:
  ~SerialPort() override = default;

  void setCommPort(int n) { commPort_ = n; }
  int commPort() const { return commPort_; }
  void setSettings(const QString& s) { settings_ = s; }
  QString settings() const { return settings_; }
  void setHandshaking(int h) { handshaking_ = h; }
  int handshaking() const { return handshaking_; }
  // The folder whose "ports" entries map port numbers (the program folder).
  void setProgramFolder(const QString& dir) { progDir_ = dir; }

  // Stored always; applied at once when open. False only when an open port
  // could not take it (which callers may ignore).
  virtual bool setDTREnable(bool on) = 0;
  virtual bool setRTSEnable(bool on) = 0;
  bool dtrEnable() const { return dtr_; }
  bool rtsEnable() const { return rts_; }

  // PortOpen = True: opens with the properties above. False with error() set
  // when the port does not exist, is in use or the settings are bad.
  virtual bool open() = 0;
  // Opens again the device that the last successful open went to, with the
  // properties as they stand. The port number is not mapped anew: when an
  // adapter's entry went with the adapter (a pseudo-terminal's link does),
  // this fails like a missing port, at once, instead of opening whatever
  // device the map falls back to.
  virtual bool reopen() = 0;
  // PortOpen = False: what is still queued drains (bounded), both lines off,
  // then closed, so a last command is not cut by a line that powers the
  // interface. Closing a closed port is fine.
  virtual void close() = 0;
  virtual bool isOpen() const = 0;

  // Output: the bytes go out in order; waits (bounded, a few tens of ms)
  // until they have left. False with error() on a closed or vanished port or
  // when the bytes cannot leave the program in time. The driver's queue is
  // then drained too (bounded), so a pause after a command is a pause on the
  // wire.
  virtual bool output(const QByteArray& bytes) = 0;
  // Input: all bytes waiting, removed from the buffer. False on a closed port.
  virtual bool input(QByteArray& bytes) = 0;
  // Bytes waiting; 0 on a closed port.
  virtual int inBufferCount() = 0;

  QString error() const { return error_; }
  // Called once when an open port's device goes away.
  std::function<void(const QString& why)> onVanished;

 protected:
  int commPort_ = 0;
  QString settings_ = QStringLiteral("9600,N,8,1");
  int handshaking_ = 0;
  bool dtr_ = false, rts_ = false;
  QString progDir_;
  QString error_;
};

// The real port over QSerialPort.
std::unique_ptr<SerialPort> makeQtSerialPort();

// A port for tests: queued input, recorded writes and line changes, an open
// or a write that fails on demand.
class FakeSerialPort : public SerialPort {
  Q_OBJECT
 public:
  bool setDTREnable(bool on) override;
  bool setRTSEnable(bool on) override;
  bool open() override;
  bool reopen() override;
  void close() override;
  bool isOpen() const override { return open_; }
  bool output(const QByteArray& bytes) override;
  bool input(QByteArray& bytes) override;
  int inBufferCount() override { return open_ ? static_cast<int>(pending.size()) : 0; }
  // Drops the device as a pulled adapter would.
  void vanish();

  QByteArray pending;        // bytes waiting to be read
  QByteArray written;        // every byte written
  QStringList lineLog;       // "DTR 1", "RTS 0", "open", "close"
  bool failOpen = false;
  bool failWrite = false;
  bool vanishOnWrite = false;  // a write finds the device gone, as the real port does
  int opens = 0;
  int reopenTries = 0;

 private:
  bool open_ = false;
};

// Which ports new SerialPort objects are: the real ones, or (tests) a factory
// of fakes. Owners create their ports through this.
using SerialFactory = std::function<std::unique_ptr<SerialPort>()>;
std::unique_ptr<SerialPort> makeSerialPort();
void setSerialFactory(SerialFactory f);  // empty: back to the real ports

}  // namespace fd
