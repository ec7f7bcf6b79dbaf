#include "platform/keylines.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QSocketNotifier>

#include <fcntl.h>
#include <linux/ppdev.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

#include "platform/platform.h"
#include "platform/serial.h"

namespace fd {

int parseParallelBase(const QString& text, bool* ok) {
  const QString t = text.trimmed();
  bool good = false;
  int value = 0;
  if (t.startsWith(QLatin1String("&H"), Qt::CaseInsensitive)) value = t.mid(2).toInt(&good, 16);
  else value = t.toInt(&good, 10);
  good = good && value >= 0 && value <= 0xFFFF;
  if (ok) *ok = good;
  return good ? value : 0;
}

QString parportForBase(int base, const QString& procRoot) {
  const QDir root(procRoot.isEmpty() ? QStringLiteral("/proc/sys/dev/parport") : procRoot);
  const QStringList entries = root.entryList({QStringLiteral("parport*")}, QDir::Dirs, QDir::Name);
  for (const QString& e : entries) {
    QFile f(root.filePath(e + QStringLiteral("/base-addr")));
    if (!f.open(QIODevice::ReadOnly)) continue;
    const QList<QByteArray> parts = f.readAll().simplified().split(' ');
    bool ok = false;
    if (!parts.isEmpty() && parts[0].toInt(&ok) == base && ok) return QStringLiteral("/dev/") + e;
  }
  return {};
}

namespace {

class PpdevDevice final : public ParallelDevice {
 public:
  PpdevDevice(int base, QString procRoot) : base_(base), procRoot_(std::move(procRoot)) {}
  ~PpdevDevice() override { release(); }

  bool claim() override {
    if (fd_ >= 0) return true;
    const QString dev = parportForBase(base_, procRoot_);
    if (dev.isEmpty()) {
      error_ = QStringLiteral("No parallel port at base address %1").arg(base_);
      return false;
    }
    const int h = ::open(QFile::encodeName(dev).constData(), O_RDWR | O_CLOEXEC);
    if (h < 0) {
      error_ = dev + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
      return false;
    }
    if (::ioctl(h, PPCLAIM) != 0) {
      error_ = dev + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
      ::close(h);
      return false;
    }
    fd_ = h;
    return true;
  }

  bool writeControl(std::uint8_t value) override {
    if (fd_ < 0 && !claim()) return false;
    unsigned char v = value;
    if (::ioctl(fd_, PPWCONTROL, &v) != 0) {
      error_ = QString::fromLocal8Bit(std::strerror(errno));
      return false;
    }
    return true;
  }

  void release() override {
    if (fd_ < 0) return;
    unsigned char up = 2;
    ::ioctl(fd_, PPWCONTROL, &up);
    ::ioctl(fd_, PPRELEASE);
    ::close(fd_);
    fd_ = -1;
  }

 private:
  int base_;
  QString procRoot_;
  int fd_ = -1;
};

ParallelFactory& parallelFactory() {
  static ParallelFactory f;
  return f;
}

// The held handles, one per base address.
QHash<int, ParallelDevice*>& handles() {
  static QHash<int, ParallelDevice*> h;
  return h;
}

KeyLineRecorder*& recorder() {
  static KeyLineRecorder* r = nullptr;
  return r;
}

}  // namespace

std::unique_ptr<ParallelDevice> makePpdevDevice(int base, const QString& procRoot) {
  return std::make_unique<PpdevDevice>(base, procRoot);
}

bool FakeParallelDevice::claim() {
  if (log_.failClaim) {
    error_ = QStringLiteral("Permission denied");
    return false;
  }
  if (!claimed_) ++log_.claims;
  claimed_ = true;
  return true;
}

bool FakeParallelDevice::writeControl(std::uint8_t value) {
  if (!claimed_ && !claim()) return false;
  log_.writes.push_back(value);
  return true;
}

void FakeParallelDevice::release() {
  if (!claimed_) return;
  log_.writes.push_back(2);
  claimed_ = false;
  ++log_.releases;
}

void setParallelFactory(ParallelFactory f) {
  releaseAllParallel();
  parallelFactory() = std::move(f);
}

bool out32(int port, int value) {
  const int base = port - 2;
  recordKeyLine(QStringLiteral("LPT%1").arg(base), value);
  ParallelDevice*& h = handles()[base];
  if (!h) {
    std::unique_ptr<ParallelDevice> d = parallelFactory() ? parallelFactory()(base) : makePpdevDevice(base);
    if (!d || !d->claim()) {
      handles().remove(base);
      return false;
    }
    h = d.release();
  }
  return h->writeControl(static_cast<std::uint8_t>(value));
}

void releaseParallel(int base) {
  ParallelDevice* h = handles().take(base);
  if (!h) return;
  h->release();
  delete h;
}

void releaseAllParallel() {
  const QList<int> bases = handles().keys();
  for (int b : bases) releaseParallel(b);
}

bool setSerialKeyLine(SerialPort& port, bool rts, bool on) {
  recordKeyLine(QStringLiteral("COM%1.%2").arg(port.commPort()).arg(rts ? QStringLiteral("RTS") : QStringLiteral("DTR")),
                on ? 1 : 0);
  return rts ? port.setRTSEnable(on) : port.setDTREnable(on);
}

KeyLineRecorder::KeyLineRecorder() { recorder() = this; }
KeyLineRecorder::~KeyLineRecorder() {
  if (recorder() == this) recorder() = nullptr;
}

void recordKeyLine(const QString& line, int value) {
  if (KeyLineRecorder* r = recorder()) r->events.push_back({clock().monotonicMs(), clock().monotonicNs(), line, value});
}

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int) {
  const char b = 1;
  [[maybe_unused]] ssize_t n = ::write(signalPipe[1], &b, 1);
}

}  // namespace

void installReleaseOnSignal(std::function<void()> release) {
  if (signalPipe[0] >= 0) return;
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0) return;
  auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
  QObject::connect(notifier, &QSocketNotifier::activated, notifier, [release = std::move(release)] {
    char b;
    [[maybe_unused]] ssize_t n = ::read(signalPipe[0], &b, 1);
    release();
    QCoreApplication::exit(0);
  });
  struct sigaction sa {};
  sa.sa_handler = onSignal;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESTART;
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(sig, &sa, nullptr);
}

bool releaseOnSignalInstalled() { return signalPipe[0] >= 0; }

}  // namespace fd
