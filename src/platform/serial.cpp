#include "platform/serial.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSerialPort>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>

namespace fd {

QString serialDevice(const QString& progDir, int n) {
  if (n < 1) return {};
  const QString entry = QDir(progDir.isEmpty() ? QDir::currentPath() : progDir)
                            .filePath(QStringLiteral("ports/com%1").arg(n));
  const QFileInfo fi(entry);
  // A dangling link is still the entry: it fails to open like a missing port.
  if (fi.exists() || fi.isSymLink()) return entry;
  return QStringLiteral("/dev/ttyS%1").arg(n - 1);
}

SerialSettings parseSerialSettings(const QString& text) {
  SerialSettings s;
  const QStringList parts = text.split(u',');
  if (parts.size() != 4) { s.ok = false; return s; }
  bool ok1 = false, ok2 = false, ok3 = false;
  s.baud = parts[0].trimmed().toInt(&ok1);
  const QString p = parts[1].trimmed().toUpper();
  s.dataBits = parts[2].trimmed().toInt(&ok2);
  s.stopBits = parts[3].trimmed().toDouble(&ok3);
  s.parity = p.size() == 1 ? p[0].toLatin1() : '?';
  s.ok = ok1 && ok2 && ok3 && s.baud > 0 && QByteArrayLiteral("NEOMS").contains(s.parity) && s.dataBits >= 5 &&
         s.dataBits <= 8 && (s.stopBits == 1 || s.stopBits == 1.5 || s.stopBits == 2);
  return s;
}

int drainBoundMs(qsizetype bytes, int baud) {
  if (bytes <= 0) return 0;
  const qint64 wire = baud > 0 ? (static_cast<qint64>(bytes) * 10 * 1000 + baud - 1) / baud : 0;
  return static_cast<int>(std::min<qint64>(wire + 20, 60000));
}

bool drainOutputQueue(const std::function<int()>& queued, int boundMs) {
  QElapsedTimer t;
  t.start();
  for (;;) {
    if (queued() <= 0) return true;
    if (t.elapsed() >= boundMs) return false;
    usleep(500);
  }
}

namespace {

// Output drains are kept short whatever the rate: a command at 1200 baud
// costs its own time, a stuck handshake at most this.
constexpr int kOutputDrainCapMs = 100;
constexpr int kCloseDrainCapMs = 250;

class QtSerialPort final : public SerialPort {
 public:
  QtSerialPort() {
    connect(&port_, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError e) {
      // A vanished device: Qt reports ReadError endlessly and ResourceError
      // only on the next write. Either closes the port at once, reported once.
      if ((e == QSerialPort::ReadError || e == QSerialPort::ResourceError) && port_.isOpen()) {
        error_ = port_.errorString();
        port_.close();
        if (onVanished) onVanished(error_);
      }
    });
  }
  ~QtSerialPort() override { close(); }

  bool setDTREnable(bool on) override {
    dtr_ = on;
    return !port_.isOpen() || port_.setDataTerminalReady(on);
  }
  bool setRTSEnable(bool on) override {
    rts_ = on;
    return !port_.isOpen() || port_.setRequestToSend(on);
  }

  bool open() override { return openDevice(serialDevice(progDir_, commPort_)); }

  bool reopen() override { return openDevice(device_); }

  bool openDevice(const QString& device) {
    error_.clear();
    if (port_.isOpen()) { error_ = QStringLiteral("Port already open"); return false; }
    if (device.isEmpty()) { error_ = QStringLiteral("Invalid port number"); return false; }
    const SerialSettings s = parseSerialSettings(settings_);
    if (!s.ok) { error_ = QStringLiteral("Invalid port settings"); return false; }
    const QString target = QFileInfo(device).isSymLink() ? QFileInfo(device).symLinkTarget() : device;
    if (!QFileInfo::exists(target)) { error_ = QStringLiteral("Port not found"); return false; }
    port_.setPortName(target);
    if (!port_.open(QIODevice::ReadWrite)) {
      error_ = port_.errorString();
      return false;
    }
    // The lines first: Linux raised both at open. A pseudo-terminal refuses
    // modem-line calls; that is no failure.
    port_.setDataTerminalReady(dtr_);
    if (handshaking_ < 2) port_.setRequestToSend(rts_);
    bool ok = port_.setBaudRate(s.baud);
    ok = ok && port_.setDataBits(static_cast<QSerialPort::DataBits>(s.dataBits));
    QSerialPort::Parity parity = QSerialPort::NoParity;
    switch (s.parity) {
      case 'E': parity = QSerialPort::EvenParity; break;
      case 'O': parity = QSerialPort::OddParity; break;
      case 'M': parity = QSerialPort::MarkParity; break;
      case 'S': parity = QSerialPort::SpaceParity; break;
      default: break;
    }
    ok = ok && port_.setParity(parity);
    ok = ok && port_.setStopBits(s.stopBits == 2     ? QSerialPort::TwoStop
                                 : s.stopBits == 1.5 ? QSerialPort::OneAndHalfStop
                                                     : QSerialPort::OneStop);
    const QSerialPort::FlowControl flow = handshaking_ == 1   ? QSerialPort::SoftwareControl
                                          : handshaking_ >= 2 ? QSerialPort::HardwareControl
                                                              : QSerialPort::NoFlowControl;
    ok = ok && port_.setFlowControl(flow);
    if (!ok) {
      error_ = port_.errorString();
      port_.close();
      return false;
    }
    port_.clearError();
    device_ = device;
    return true;
  }

  void close() override {
    if (!port_.isOpen()) return;
    for (int i = 0; i < 10 && port_.bytesToWrite() > 0; ++i) port_.waitForBytesWritten(5);
    if (port_.isOpen()) drainKernel(kernelQueued(), kCloseDrainCapMs);
    if (!port_.isOpen()) return;
    port_.setDataTerminalReady(false);
    if (port_.flowControl() != QSerialPort::HardwareControl) port_.setRequestToSend(false);
    port_.close();
  }

  bool isOpen() const override { return port_.isOpen(); }

  bool output(const QByteArray& bytes) override {
    if (!port_.isOpen()) { error_ = QStringLiteral("Port is closed"); return false; }
    if (port_.write(bytes) != bytes.size()) {
      error_ = port_.errorString();
      return false;
    }
    // Bounded: the bytes leave the program or the write fails, never a stall.
    for (int i = 0; i < 10 && port_.isOpen() && port_.bytesToWrite() > 0; ++i) port_.waitForBytesWritten(5);
    if (!port_.isOpen() || port_.bytesToWrite() > 0) {
      error_ = port_.isOpen() ? QStringLiteral("Write timed out") : error_;
      if (port_.isOpen()) port_.clear(QSerialPort::Output);
      return false;
    }
    drainKernel(bytes.size(), kOutputDrainCapMs);
    return true;
  }

  bool input(QByteArray& bytes) override {
    bytes.clear();
    if (!port_.isOpen()) { error_ = QStringLiteral("Port is closed"); return false; }
    port_.waitForReadyRead(0);  // takes in what the device already holds
    if (!port_.isOpen()) return false;
    bytes = port_.readAll();
    return true;
  }

  int inBufferCount() override {
    if (!port_.isOpen()) return 0;
    port_.waitForReadyRead(0);
    return port_.isOpen() ? static_cast<int>(port_.bytesAvailable()) : 0;
  }

 private:
  // Bytes the driver still holds (0 where it cannot tell, as on a pseudo-terminal).
  int kernelQueued() {
    int n = 0;
    return port_.isOpen() && ioctl(port_.handle(), TIOCOUTQ, &n) == 0 ? n : 0;
  }
  void drainKernel(qsizetype bytes, int capMs) {
    const int bound = std::min(drainBoundMs(bytes, port_.baudRate()), capMs);
    drainOutputQueue([this] { return kernelQueued(); }, bound);
  }

  QSerialPort port_;
  QString device_;  // the entry of the last successful open
};

SerialFactory& factory() {
  static SerialFactory f;
  return f;
}

}  // namespace

std::unique_ptr<SerialPort> makeQtSerialPort() { return std::make_unique<QtSerialPort>(); }

std::unique_ptr<SerialPort> makeSerialPort() { return factory() ? factory()() : makeQtSerialPort(); }

void setSerialFactory(SerialFactory f) { factory() = std::move(f); }

bool FakeSerialPort::setDTREnable(bool on) {
  dtr_ = on;
  if (open_) lineLog << QStringLiteral("DTR %1").arg(on ? 1 : 0);
  return true;
}

bool FakeSerialPort::setRTSEnable(bool on) {
  rts_ = on;
  if (open_) lineLog << QStringLiteral("RTS %1").arg(on ? 1 : 0);
  return true;
}

bool FakeSerialPort::open() {
  error_.clear();
  if (open_ || failOpen || commPort_ < 1 || !parseSerialSettings(settings_).ok) {
    error_ = QStringLiteral("Port not found");
    return false;
  }
  open_ = true;
  ++opens;
  lineLog << QStringLiteral("open") << QStringLiteral("DTR %1").arg(dtr_ ? 1 : 0)
          << QStringLiteral("RTS %1").arg(rts_ ? 1 : 0);
  return true;
}

bool FakeSerialPort::reopen() {
  ++reopenTries;
  return opens > 0 && open();
}

void FakeSerialPort::close() {
  if (!open_) return;
  lineLog << QStringLiteral("DTR 0") << QStringLiteral("RTS 0") << QStringLiteral("close");
  open_ = false;
}

bool FakeSerialPort::output(const QByteArray& bytes) {
  if (open_ && vanishOnWrite) {
    vanish();
    return false;
  }
  if (!open_ || failWrite) { error_ = QStringLiteral("Port is closed"); return false; }
  written += bytes;
  return true;
}

bool FakeSerialPort::input(QByteArray& bytes) {
  bytes.clear();
  if (!open_) { error_ = QStringLiteral("Port is closed"); return false; }
  bytes = pending;
  pending.clear();
  return true;
}

void FakeSerialPort::vanish() {
  if (!open_) return;
  open_ = false;
  error_ = QStringLiteral("Device vanished");
  if (onVanished) onVanished(error_);
}

}  // namespace fd
