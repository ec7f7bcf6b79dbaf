#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/serial.h"
#include "platform/wait.h"

namespace fd {
namespace {

TEST(SerialPortMap, LinkPresentAbsentAndDangling) {
  QTemporaryDir dir;
  ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("ports")));
  EXPECT_EQ(serialDevice(dir.path(), 0), QString());
  EXPECT_EQ(serialDevice(dir.path(), 3), QStringLiteral("/dev/ttyS2"));
  QFile::link(QStringLiteral("/dev/null"), dir.filePath(QStringLiteral("ports/com1")));
  QFile::link(dir.filePath(QStringLiteral("nothing")), dir.filePath(QStringLiteral("ports/com2")));
  EXPECT_EQ(serialDevice(dir.path(), 1), dir.filePath(QStringLiteral("ports/com1")));
  EXPECT_EQ(serialDevice(dir.path(), 2), dir.filePath(QStringLiteral("ports/com2")));
  auto port = makeQtSerialPort();
  port->setProgramFolder(dir.path());
  port->setCommPort(2);
  EXPECT_FALSE(port->open());  // dangling: no fallback to /dev/ttyS1
  EXPECT_FALSE(port->error().isEmpty());
}

TEST(SerialSettingsText, Parses) {
  const SerialSettings s = parseSerialSettings(QStringLiteral("4800,N,8,2"));
  EXPECT_TRUE(s.ok);
  EXPECT_EQ(s.baud, 4800);
  EXPECT_EQ(s.stopBits, 2);
  EXPECT_FALSE(parseSerialSettings(QStringLiteral("4800,X,8,2")).ok);
  EXPECT_FALSE(parseSerialSettings(QStringLiteral("fast")).ok);
}

TEST(SerialDrain, BoundsFollowTheRateAndAStuckQueueCostsOnlyTheBound) {
  struct Row { qsizetype bytes; int baud; int ms; };
  for (const Row& r : {Row{0, 4800, 0}, Row{12, 4800, 45}, Row{1, 1200, 29}, Row{20, 56000, 24}, Row{5, 0, 20}})
    EXPECT_EQ(drainBoundMs(r.bytes, r.baud), r.ms) << r.bytes << " at " << r.baud;

  int left = 3;
  EXPECT_TRUE(drainOutputQueue([&] { return left-- > 0 ? 1 : 0; }, 1000));
  QElapsedTimer t;
  t.start();
  EXPECT_FALSE(drainOutputQueue([] { return 7; }, 30));  // a handshake holding the line
  EXPECT_GE(t.elapsed(), 30);
  EXPECT_LT(t.elapsed(), 500);
}

// What arrives at the far end of a pair, up to n bytes or one second.
QByteArray readFar(int far, qsizetype n) {
  QByteArray got;
  for (int i = 0; i < 100 && got.size() < n; ++i) {
    pauseFor(10, WaitInput::LetThrough);
    char buf[64];
    const ssize_t k = ::read(far, buf, sizeof buf);
    if (k > 0) got.append(buf, static_cast<int>(k));
  }
  return got;
}

// A socat pseudo-terminal pair: bytes written on one end arrive on the other.
TEST(SerialOverPty, BytesBothWaysAndAVanishedDevice) {
  QTemporaryDir dir;
  QDir(dir.path()).mkdir(QStringLiteral("ports"));
  const QString a = dir.filePath(QStringLiteral("ports/com1")), b = dir.filePath(QStringLiteral("far"));
  QProcess socat;
  socat.start(QStringLiteral("socat"), {QStringLiteral("pty,raw,echo=0,link=") + a,
                                        QStringLiteral("pty,raw,echo=0,link=") + b});
  ASSERT_TRUE(socat.waitForStarted(3000));
  for (int i = 0; i < 200 && !(QFile::exists(a) && QFile::exists(b)); ++i) QThread::msleep(10);
  ASSERT_TRUE(QFile::exists(a) && QFile::exists(b));

  auto near = makeQtSerialPort();
  near->setProgramFolder(dir.path());
  near->setCommPort(1);
  near->setSettings(QStringLiteral("4800,N,8,2"));
  ASSERT_TRUE(near->open()) << near->error().toStdString();
  const int far = ::open(QFile::encodeName(QFileInfo(b).symLinkTarget()).constData(), O_RDWR | O_NONBLOCK | O_NOCTTY);
  ASSERT_GE(far, 0);

  ASSERT_TRUE(near->output(QByteArray("FA;\x00\xff", 5)));
  EXPECT_EQ(readFar(far, 5), QByteArray("FA;\x00\xff", 5));

  ASSERT_EQ(::write(far, "FA00014025000;", 14), 14);
  QByteArray in;
  WaitOptions o;
  o.limitMs = 1000;
  waitUntil([&] { return near->inBufferCount() >= 14; }, o);
  ASSERT_TRUE(near->input(in));
  EXPECT_EQ(in, QByteArray("FA00014025000;"));

  int vanished = 0;
  near->onVanished = [&](const QString&) { ++vanished; };
  ::close(far);
  socat.kill();
  socat.waitForFinished(3000);
  WaitOptions v;
  v.limitMs = 2000;
  waitUntil([&] { return !near->isOpen(); }, v);
  EXPECT_FALSE(near->isOpen());
  EXPECT_EQ(vanished, 1);
  EXPECT_FALSE(near->output("X"));
  EXPECT_EQ(near->inBufferCount(), 0);
}

// A reopen after the device vanished goes to the entry the port had: gone
// with its socat pair, it fails at once (no other device behind the port
// number is opened), and made again at the same link, it opens.
TEST(SerialOverPty, AReopenTakesTheSameEntryOnly) {
  QTemporaryDir dir;
  QDir(dir.path()).mkdir(QStringLiteral("ports"));
  const QString a = dir.filePath(QStringLiteral("ports/com1")), b = dir.filePath(QStringLiteral("far"));
  QProcess socat;
  auto pair = [&] {
    socat.start(QStringLiteral("socat"), {QStringLiteral("pty,raw,echo=0,link=") + a,
                                          QStringLiteral("pty,raw,echo=0,link=") + b});
    if (!socat.waitForStarted(3000)) return false;
    for (int i = 0; i < 200 && !(QFile::exists(a) && QFile::exists(b)); ++i) QThread::msleep(10);
    return QFile::exists(a) && QFile::exists(b);
  };
  ASSERT_TRUE(pair());
  auto port = makeQtSerialPort();
  port->setProgramFolder(dir.path());
  port->setCommPort(1);
  port->setSettings(QStringLiteral("4800,N,8,2"));
  EXPECT_FALSE(port->reopen());  // never opened: nothing to go back to
  ASSERT_TRUE(port->open()) << port->error().toStdString();

  socat.terminate();  // as the adapter goes: socat removes its links
  socat.waitForFinished(3000);
  WaitOptions v;
  v.limitMs = 2000;
  waitUntil([&] { return !port->isOpen(); }, v);
  ASSERT_FALSE(port->isOpen());
  ASSERT_FALSE(QFileInfo(a).isSymLink());  // socat took its link away
  QElapsedTimer t;
  t.start();
  EXPECT_FALSE(port->reopen());
  EXPECT_LT(t.elapsed(), 100);
  EXPECT_FALSE(port->isOpen());

  ASSERT_TRUE(pair());
  ASSERT_TRUE(port->reopen()) << port->error().toStdString();
  const int far = ::open(QFile::encodeName(QFileInfo(b).symLinkTarget()).constData(), O_RDWR | O_NONBLOCK | O_NOCTTY);
  ASSERT_GE(far, 0);
  ASSERT_TRUE(port->output("FA;"));
  EXPECT_EQ(readFar(far, 3), QByteArray("FA;"));
  ::close(far);
  port->close();
  socat.kill();
  socat.waitForFinished(3000);
}

}  // namespace
}  // namespace fd
