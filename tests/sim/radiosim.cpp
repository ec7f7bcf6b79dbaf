#include "radiosim.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTimer>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace fd::sim {

int exactBaud(int fd);

namespace {

QByteArray bcd(qint64 v, int digits) {
  const QByteArray d = QByteArray::number(v).rightJustified(digits, '0');
  return QByteArray::fromHex(d);
}

qint64 fromBcd(const QByteArray& b) { return b.toHex().toLongLong(); }

QByteArray reversed(QByteArray b) {
  std::reverse(b.begin(), b.end());
  return b;
}

const char* const kModes[] = {"LSB", "USB", "CW", "CW-R", "AM", "FM", "RTTY"};
int modeIndex(const QString& m) {
  for (int i = 0; i < 7; ++i)
    if (m == QLatin1String(kModes[i])) return i;
  return 2;
}

bool isKenwood(const QString& f) { return f == u"Kenwood" || f == u"Elecraft" || f == u"Kenwood 2"; }
bool isCiv(const QString& f) { return f == u"Icom" || f == u"Icom 735" || f == u"Ten Tec Omni VI"; }
bool isOldYaesu(const QString& f) {
  return f.startsWith(u"Yaesu ") && f != u"Yaesu FTdx9000";
}

}  // namespace

RadioSim::RadioSim(const QString& family) : family_(family) {
  clock_.start();
  if (family == u"Ten Tec Omni VI") civAddress = 0x04;
}

void RadioSim::startNoise(int baud) {
  noiseBaud_ = baud;
  noiseDue_ = 0;
  noiseClock_.start();
  noise_.setTimerType(Qt::PreciseTimer);
  noise_.setInterval(10);
  noise_.disconnect(this);
  connect(&noise_, &QTimer::timeout, this, [this] {
    QRandomGenerator random(noiseSeed_++);
    const qint64 due = noiseClock_.elapsed() * noiseBaud_ / 10000;  // bytes owed by now
    QByteArray b(static_cast<qsizetype>(due - noiseDue_), '\0');
    noiseDue_ = due;
    for (char& c : b) c = static_cast<char>(random.bounded(256));
    if (b.isEmpty() || fd_ < 0) return;
    const ssize_t n = ::write(fd_, b.constData(), static_cast<size_t>(b.size()));
    const qint64 taken = n > 0 ? n : 0;
    noiseSent += taken;
    noiseRefused += b.size() - taken;
  });
  noise_.start();
}

void RadioSim::stopNoise() { noise_.stop(); }

RadioSim::~RadioSim() {
  notifier_.reset();
  if (fd_ >= 0) ::close(fd_);
  if (slaveFd_ >= 0) ::close(slaveFd_);
}

QString RadioSim::openPty() {
  int master = -1, slave = -1;
  char name[256] = {};
  if (openpty(&master, &slave, name, nullptr, nullptr) != 0) return {};
  struct termios t {};
  tcgetattr(slave, &t);
  cfmakeraw(&t);
  tcsetattr(slave, TCSANOW, &t);
  fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
  fd_ = master;
  slaveFd_ = slave;  // kept open so the master never sees a hang-up between opens
  notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { onReadable(); });
  return QString::fromLocal8Bit(name);
}

bool RadioSim::openDevice(const QString& path) {
  fd_ = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NONBLOCK | O_NOCTTY);
  if (fd_ < 0) return false;
  struct termios t {};
  if (tcgetattr(fd_, &t) == 0) {
    cfmakeraw(&t);
    tcsetattr(fd_, TCSANOW, &t);
  }
  notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { onReadable(); });
  return true;
}

void RadioSim::closeEnd() {
  notifier_.reset();
  if (slaveFd_ >= 0) ::close(slaveFd_);
  if (fd_ >= 0) ::close(fd_);
  fd_ = slaveFd_ = -1;
}

qint64 RadioSim::stampOf(const QByteArray& what, qsizetype fromRead, qsizetype fromByte, qsizetype* at) const {
  QByteArray all;
  QList<qint64> byteStamp;
  for (qsizetype i = fromRead; i < received.size(); ++i) {
    all += received[i].bytes;
    for (qsizetype k = 0; k < received[i].bytes.size(); ++k) byteStamp << received[i].ms;
  }
  const qsizetype where = all.indexOf(what, fromByte);
  if (at) *at = where;
  return where < 0 ? -1 : byteStamp[where];
}

QByteArray RadioSim::allReceived() const {
  QByteArray all;
  for (const Rx& r : received) all += r.bytes;
  return all;
}

RadioSim::Line RadioSim::lineSettings() const {
  Line l;
  struct termios t {};
  if (fd_ < 0 || tcgetattr(fd_, &t) != 0) return l;
  l.baud = exactBaud(fd_);
  switch (t.c_cflag & CSIZE) {
    case CS5: l.dataBits = 5; break;
    case CS6: l.dataBits = 6; break;
    case CS7: l.dataBits = 7; break;
    default: l.dataBits = 8; break;
  }
  l.parity = !(t.c_cflag & PARENB) ? 'N' : (t.c_cflag & PARODD) ? 'O' : 'E';
  l.stopBits = (t.c_cflag & CSTOPB) ? 2 : 1;
  l.rtscts = (t.c_cflag & CRTSCTS) != 0;
  return l;
}

void RadioSim::onReadable() {
  if (stopReading) {
    notifier_->setEnabled(false);
    return;
  }
  char b[512];
  for (;;) {
    const ssize_t n = ::read(fd_, b, sizeof b);
    if (n == 0) {
      // Nobody on the far side yet (or any more): look again shortly rather
      // than spin on the hang-up.
      notifier_->setEnabled(false);
      QTimer::singleShot(20, this, [this] {
        if (notifier_) notifier_->setEnabled(true);
      });
      break;
    }
    if (n < 0) break;
    received.append({clock_.elapsed(), QByteArray(b, static_cast<int>(n))});
    buf_.append(b, static_cast<int>(n));
  }
  process();
}

void RadioSim::writeNow(const QByteArray& b) {
  if (fd_ >= 0 && !b.isEmpty()) (void)!::write(fd_, b.constData(), b.size());
}

void RadioSim::send(const QByteArray& answer) {
  if (silent || answer.isEmpty()) return;
  QByteArray a = answer;
  if (garbage)
    for (int i = 0; i < a.size(); ++i) a[i] = static_cast<char>((i * 37 + 11) & 0xFF);
  auto deliver = [this, a] {
    if (splitAt > 0 && splitAt < a.size()) {
      writeNow(a.left(splitAt));
      const QByteArray rest = a.mid(splitAt);
      QTimer::singleShot(splitGapMs, this, [this, rest] { writeNow(rest); });
    } else {
      writeNow(a);
    }
  };
  if (lateMs > 0) QTimer::singleShot(lateMs, this, deliver);
  else deliver();
}

int RadioSim::modeDigitKenwood() const {
  static const int digits[] = {1, 2, 3, 7, 5, 4, 6};
  return digits[modeIndex(mode)];
}

QByteArray RadioSim::kenwood(const QByteArray& c) {
  const bool ftdx = family_ == u"Yaesu FTdx9000";
  static const char* const byDigit[] = {"", "LSB", "USB", "CW", "FM", "AM", "RTTY", "CW-R"};
  if (c == "FA;") return ftdx ? "FA" + QByteArray::number(hz).rightJustified(8, '0') + ';'
                              : "FA" + QByteArray::number(hz).rightJustified(11, '0') + ';';
  if (c == "MD;") return "MD" + QByteArray::number(modeDigitKenwood()) + ';';
  if (c == "MD0;") return "MD0" + QByteArray::number(modeDigitKenwood()) + ';';
  if (c == "IF;") {
    QByteArray a = "IF" + QByteArray::number(hz).rightJustified(11, '0') + "    +00000000000";
    a += QByteArray::number(modeDigitKenwood()) + "0";
    return a.leftJustified(37, '0') + ';';
  }
  if ((c.startsWith("FA") || c.startsWith("FB")) && c.size() > 3) {
    hz = c.mid(2, c.size() - 3).toLongLong();
    return {};
  }
  if (c.startsWith("MD") && c.size() >= 4) {
    const int d = c.at(c.size() - 2) - '0';
    if (d >= 1 && d <= 7) mode = QString::fromLatin1(byDigit[d]);
  }
  return {};
}

QByteArray RadioSim::civ(const QByteArray& f) {
  // f: FE FE to from cmd data... FD
  if (f.size() < 6) return {};
  const quint8 cmd = static_cast<quint8>(f.at(4));
  const QByteArray data = f.mid(5, f.size() - 6);
  const QByteArray head = QByteArray("\xFE\xFE\xE0", 3) + char(civAddress);
  static const quint8 codes[] = {0x00, 0x01, 0x03, 0x07, 0x02, 0x05, 0x04};
  const int digits = family_ == u"Icom 735" ? 8 : 10;
  switch (cmd) {
    case 0x03: return head + '\x03' + reversed(bcd(hz, digits)) + '\xFD';
    case 0x04: return head + '\x04' + char(codes[modeIndex(mode)]) + '\x01' + '\xFD';
    case 0x05: hz = fromBcd(reversed(data)); return head + QByteArray("\xFB\xFD");
    case 0x06:
      for (int i = 0; i < 7; ++i)
        if (!data.isEmpty() && static_cast<quint8>(data.at(0)) == codes[i]) mode = QString::fromLatin1(kModes[i]);
      return head + QByteArray("\xFB\xFD");
  }
  return {};
}

QByteArray RadioSim::yaesuBlock() const {
  const int m = modeIndex(mode);
  if (family_ == u"Yaesu") {
    static const quint8 codes[] = {0x00, 0x01, 0x02, 0x03, 0x04, 0x08, 0x0A};
    return bcd(hz / 10, 8) + char(codes[m]);
  }
  if (family_ == u"Yaesu 757 GX II") {
    static const quint8 codes[] = {0, 1, 2, 3, 4, 5, 0};
    return QByteArray(5, '\0') + reversed(bcd(hz / 10, 8)) + char(codes[m]);
  }
  // Hex text of an 8-byte block with the frequency at the family's positions
  // and the mode digit at position 16.
  QByteArray hex(16, '0');
  auto put = [&](int pos, const QByteArray& digits) { hex.replace(pos - 1, digits.size(), digits); };
  static const char cwDigit = '2';
  char md = m == 2 || m == 3 ? cwDigit : m == 1 ? '1' : '0';
  if (family_ == u"Yaesu 890") put(5, QByteArray::number(hz / 10, 16).toUpper().rightJustified(6, '0'));
  else if (family_ == u"Yaesu 1000") put(4, QByteArray::number(hz / 10, 16).toUpper().rightJustified(6, '0'));
  else if (family_ == u"Yaesu 920") {
    put(3, QByteArray::number(hz, 16).toUpper().rightJustified(8, '0'));
    md = (m == 2 || m == 3) ? '1' : '0';
  } else put(3, QByteArray::number(hz / 10, 16).toUpper().rightJustified(6, '0'));
  hex[15] = md;
  QByteArray block = QByteArray::fromHex(hex);
  if (family_ == u"Yaesu 890") block += QByteArray(11, '\0');  // its block runs to 19 bytes
  return block;
}

void RadioSim::process() {
  for (;;) {
    if (isKenwood(family_) || family_ == u"Yaesu FTdx9000") {
      const int e = buf_.indexOf(';');
      if (e < 0) return;
      const QByteArray c = buf_.left(e + 1);
      buf_.remove(0, e + 1);
      commands << c;
      send(kenwood(c));
    } else if (isCiv(family_)) {
      const int s = buf_.indexOf("\xFE\xFE");
      if (s < 0) { buf_.clear(); return; }
      const int e = buf_.indexOf('\xFD', s);
      if (e < 0) return;
      const QByteArray f = buf_.mid(s, e - s + 1);
      buf_.remove(0, e + 1);
      commands << f;
      if (echo) writeNow(f);
      send(civ(f));
    } else if (family_ == u"Yaesu" || isOldYaesu(family_)) {
      if (buf_.size() < 5) return;
      const QByteArray c = buf_.left(5);
      buf_.remove(0, 5);
      commands << c;
      const quint8 op = static_cast<quint8>(c.at(4));
      const bool plain = family_ == u"Yaesu";
      if ((plain && op == 0x03) || (!plain && op == 0x10)) send(yaesuBlock());
      else if (plain && op == 0x01) hz = fromBcd(c.left(4)) * 10;
      else if (!plain && op == 0x0A) hz = fromBcd(reversed(c.left(4))) * 10;
      else if (plain && op == 0x07) {
        static const quint8 codes[] = {0x00, 0x01, 0x02, 0xFF, 0x04, 0x08, 0x0A};
        for (int i = 0; i < 7; ++i)
          if (static_cast<quint8>(c.at(0)) == codes[i]) mode = QString::fromLatin1(kModes[i]);
      } else if (!plain && op == 0x0C) {
        static const quint8 codes[] = {0x00, 0x01, 0x02, 0x03, 0x04, 0x06, 0x08};
        for (int i = 0; i < 7; ++i)
          if (static_cast<quint8>(c.at(3)) == codes[i]) mode = QString::fromLatin1(kModes[i]);
      }
    } else if (family_ == u"Ten Tec Fnt Pnl") {
      if (buf_.startsWith("*A")) {
        if (buf_.size() < 7) return;
        hz = buf_.mid(2, 4).toHex().toLongLong(nullptr, 16);
        commands << buf_.left(7);
        buf_.remove(0, 7);
        continue;
      }
      const int e = buf_.indexOf('\r');
      if (e < 0) return;
      const QByteArray c = buf_.left(e + 1);
      buf_.remove(0, e + 1);
      commands << c;
      if (c == "?A\r") send('A' + QByteArray::fromHex(QByteArray::number(hz, 16).rightJustified(8, '0')) + '\r');
      else if (c == "?M\r") {
        const char d = modeIndex(mode) == 2 ? '3' : '2';
        send(QByteArray("M") + d + d + '\r');
      }
    } else if (family_ == u"Ten Tec Orion") {
      const int e = buf_.indexOf('\r');
      if (e < 0) return;
      const QByteArray c = buf_.left(e + 1);
      buf_.remove(0, e + 1);
      commands << c;
      if (c == "?AF\r") send("@AF" + QByteArray::number(hz) + '\r');
      else if (c == "?RMM\r") send(QByteArray("@RMM") + (modeIndex(mode) == 2 ? '2' : '0') + '\r');
      else if (c.startsWith("*AF")) hz = c.mid(3, c.size() - 4).toLongLong();
    } else {
      commands << buf_;
      buf_.clear();
      return;
    }
  }
}

}  // namespace fd::sim
