#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/keylines.h"
#include "platform/serial.h"
#include "platform/wait.h"

#include <csignal>
#include "testenv.h"

namespace fd {
namespace {

TEST(ParallelBase, DecimalAndHexText) {
  struct Case {
    const char* text;
    bool ok;
    int base;
  };
  const Case cases[] = {{"&H378", true, 888}, {"888", true, 888}, {"&h3bc", true, 956}, {" 632 ", true, 632},
                        {"&HZZ", false, 0},   {"", false, 0},     {"-1", false, 0},     {"&H10000", false, 0}};
  for (const Case& c : cases) {
    bool ok = false;
    EXPECT_EQ(parseParallelBase(QString::fromLatin1(c.text), &ok), c.base) << c.text;
    EXPECT_EQ(ok, c.ok) << c.text;
  }
}

TEST(ParallelBase, MatchedToTheFirstNumberOfBaseAddr) {
  QTemporaryDir proc;
  auto add = [&](const char* name, const char* text) {
    QDir(proc.path()).mkpath(QString::fromLatin1(name));
    QFile f(proc.filePath(QString::fromLatin1(name) + QStringLiteral("/base-addr")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
  };
  add("parport0", "888\t1912\n");
  add("parport1", "632\t1656\n");
  EXPECT_EQ(parportForBase(888, proc.path()), QStringLiteral("/dev/parport0"));
  EXPECT_EQ(parportForBase(632, proc.path()), QStringLiteral("/dev/parport1"));
  EXPECT_EQ(parportForBase(1912, proc.path()), QString());  // only the first number counts
  // No port with that base: the write fails, as a missing port library would.
  auto dev = makePpdevDevice(956, proc.path());
  EXPECT_FALSE(dev->claim());
  EXPECT_FALSE(dev->error().isEmpty());
}

TEST(ParallelLine, OneHandlePerBaseReleasedWithTwo) {
  test::FakePlatform fake;
  FakeParallelLog log888, log632;
  setParallelFactory([&](int base) -> std::unique_ptr<ParallelDevice> {
    return std::make_unique<FakeParallelDevice>(base == 888 ? log888 : log632);
  });
  KeyLineRecorder rec;
  EXPECT_TRUE(out32(890, 3));
  EXPECT_TRUE(out32(890, 2));
  EXPECT_TRUE(out32(634, 3));
  EXPECT_EQ(log888.claims, 1);  // claimed at first use and held
  releaseAllParallel();
  EXPECT_EQ(log888.writes, (std::vector<int>{3, 2, 2}));
  EXPECT_EQ(log632.writes, (std::vector<int>{3, 2}));
  EXPECT_EQ(log888.releases, 1);
  ASSERT_EQ(rec.events.size(), 3u);
  EXPECT_EQ(rec.events[0].line, QStringLiteral("LPT888"));
  EXPECT_EQ(rec.events[2].line, QStringLiteral("LPT632"));

  log888.failClaim = true;  // no access: the write fails, nothing held
  EXPECT_FALSE(out32(890, 3));
  setParallelFactory({});
}

TEST(SerialKeyLine, RecordedWithStampsAndRepeats) {
  test::FakePlatform fake;
  KeyLineRecorder rec;
  FakeSerialPort port;
  port.setCommPort(1);
  setSerialKeyLine(port, true, true);
  fake.clock->advanceMs(60);
  setSerialKeyLine(port, true, true);
  setSerialKeyLine(port, false, false);
  ASSERT_EQ(rec.events.size(), 3u);
  EXPECT_EQ(rec.events[0].line, QStringLiteral("COM1.RTS"));
  EXPECT_EQ(rec.events[1].ms - rec.events[0].ms, 60);
  EXPECT_EQ(rec.events[2].line, QStringLiteral("COM1.DTR"));
  EXPECT_TRUE(port.rtsEnable());  // stored while closed, applied at open
}

// A signal only wakes the event loop, which releases the lines.
TEST(ReleaseOnSignal, TermRunsTheReleaseInTheEventLoop) {
  int released = 0;
  installReleaseOnSignal([&] { ++released; });
  ASSERT_TRUE(releaseOnSignalInstalled());
  ::raise(SIGTERM);
  EXPECT_EQ(released, 0);  // not inside the handler
  waitUntil([&] { return released > 0; }, {.limitMs = 2000, .input = WaitInput::LetThrough});
  EXPECT_EQ(released, 1);
}

}  // namespace
}  // namespace fd
