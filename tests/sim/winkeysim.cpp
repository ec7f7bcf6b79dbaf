#include "winkeysim.h"

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace fd::sim {
namespace {

// Argument counts by command byte; admin (00) by its sub-command.
int argsOf(std::uint8_t cmd) {
  switch (cmd) {
    case 0x02: case 0x03: case 0x09: case 0x0E: case 0x17: return 1;
    case 0x04: return 2;
    default: return 0;
  }
}
int adminArgs(std::uint8_t sub) { return sub == 0x04 ? 1 : 0; }

QString hex(const QByteArray& b) {
  QStringList parts;
  for (char c : b) parts << QStringLiteral("%1").arg(static_cast<std::uint8_t>(c), 2, 16, QLatin1Char('0')).toUpper();
  return parts.join(u' ');
}

}  // namespace

WinKeySim::WinKeySim() {
  int slave = -1;
  char name[256] = {};
  if (openpty(&master_, &slave, name, nullptr, nullptr) != 0) return;
  termios t{};
  tcgetattr(slave, &t);
  cfmakeraw(&t);
  tcsetattr(slave, TCSANOW, &t);
  ::close(slave);  // the program opens it by name
  slave_ = QString::fromLocal8Bit(name);
  watch();
}

WinKeySim::WinKeySim(const QString& device) {
  master_ = ::open(device.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
  if (master_ < 0) return;
  termios t{};
  tcgetattr(master_, &t);
  cfmakeraw(&t);
  tcsetattr(master_, TCSANOW, &t);
  watch();
}

void WinKeySim::watch() {
  ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
  notifier_ = std::make_unique<QSocketNotifier>(master_, QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { onReadable(); });
  connect(&pace_, &QTimer::timeout, this, [this] { tick(); });
}

WinKeySim::~WinKeySim() { hangUp(); }

void WinKeySim::hangUp() {
  notifier_.reset();
  pace_.stop();
  if (master_ >= 0) ::close(master_);
  master_ = -1;
}

void WinKeySim::write(std::uint8_t b) { [[maybe_unused]] ssize_t n = ::write(master_, &b, 1); }

void WinKeySim::onReadable() {
  std::uint8_t buf[256];
  for (;;) {
    const ssize_t n = ::read(master_, buf, sizeof buf);
    if (n <= 0) break;
    for (ssize_t i = 0; i < n; ++i) take(buf[i]);
  }
}

void WinKeySim::take(std::uint8_t b) {
  pending_.append(static_cast<char>(b));
  const auto cmd = static_cast<std::uint8_t>(pending_.at(0));
  int need = 1;
  if (cmd == 0x00) need = pending_.size() < 2 ? 2 : 2 + adminArgs(static_cast<std::uint8_t>(pending_.at(1)));
  else if (cmd < 0x20) need = 1 + argsOf(cmd);
  if (pending_.size() < need) return;
  const QByteArray c = pending_;
  pending_.clear();
  log << hex(c);
  if (onCommand) onCommand(log.last());
  if (cmd == 0x00) {
    const auto sub = static_cast<std::uint8_t>(c.at(1));
    if (sub == 0x04 && answer != Answer::Silent)
      write(answer == Answer::WrongEcho ? static_cast<std::uint8_t>(c.at(2) + 1) : static_cast<std::uint8_t>(c.at(2)));
    if (sub == 0x02 && answer == Answer::Normal) {
      hostOpen = true;
      write(static_cast<std::uint8_t>(version));
    }
    if (sub == 0x03) hostOpen = false;
    return;
  }
  switch (cmd) {
    case 0x0A: queue.clear(); reportStatus(); return;
    case 0x08: if (!queue.isEmpty()) queue.chop(1); reportStatus(); return;
    case 0x15: lastStatus_ = 0xFF; reportStatus(); return;
    default: break;
  }
  if (cmd >= 0x20 && cmd <= 0x7E) {
    queue.append(static_cast<char>(cmd));
    if (!pace_.isActive()) pace_.start(msPerChar);
    reportStatus();
  }
}

void WinKeySim::reportStatus() {
  std::uint8_t s = 0xC0;
  if (!queue.isEmpty()) s |= 0x04;
  if (queue.size() >= xoffAt) s |= 0x01;
  if (s != lastStatus_) {
    lastStatus_ = s;
    write(s);
  }
}

void WinKeySim::tick() {
  if (!queue.isEmpty()) {
    sent.append(queue.at(0));
    queue.remove(0, 1);
  }
  if (queue.isEmpty()) pace_.stop();
  reportStatus();
}

}  // namespace fd::sim
