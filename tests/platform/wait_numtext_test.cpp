#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

#include "platform/numtext.h"
#include "platform/wait.h"
#include "queuedinput.h"
#include "testenv.h"

namespace fd {
namespace {

TEST(NumberText, DigitsPointAndZeros) {
  struct Case { double v; bool single; const char* want; };
  const Case cases[] = {
      {7.1 - 0.001, false, "7.099"}, {14.025, false, "14.025"}, {14025000.0, true, "14025000"},
      {2.5, true, "2.5"},            {3.0, false, "3"},         {0.0, false, "0"},
      {-0.0, true, "0"},             {-1.25, false, "-1.25"},   {0.1f, true, "0.1"},
      {1.0 / 3.0, false, "0.333333333333333"}, {1.0f / 3.0f, true, "0.3333333"}, {0.00001, false, "0.00001"},
  };
  for (const Case& c : cases) {
    const QString got = c.single ? numtext::fromSingle(static_cast<float>(c.v)) : numtext::fromDouble(c.v);
    EXPECT_EQ(got, QString::fromLatin1(c.want)) << c.v;
  }
}

TEST(BoundedWait, VirtualClockReachesTheLimitWithoutRealDelay) {
  test::FakePlatform fake;
  const auto start = fake.clock->monotonicMs();
  WaitOptions o;
  o.limitMs = 10000;
  EXPECT_EQ(waitUntil([] { return false; }, o), WaitResult::TimedOut);
  EXPECT_EQ(fake.clock->monotonicMs() - start, 10000);
}

TEST(BoundedWait, ConditionMetEndsTheWaitAndTimersRun) {
  test::FakePlatform fake;
  bool fired = false;
  QTimer::singleShot(0, [&] { fired = true; });
  WaitOptions o;
  o.limitMs = 1000;
  EXPECT_EQ(waitUntil([&] { return fired; }, o), WaitResult::Met);
}

TEST(BoundedWait, OneSiteCannotReenterButWaitsNest) {
  test::FakePlatform fake;
  int site = 0, other = 0;
  WaitResult inner = WaitResult::Met, nested = WaitResult::TimedOut;
  WaitOptions o;
  o.limitMs = 100;
  o.site = &site;
  QTimer::singleShot(0, [&] {
    inner = waitUntil([] { return false; }, o);
    WaitOptions n;
    n.limitMs = 20;
    n.site = &other;
    nested = waitUntil([] { return false; }, n);
  });
  EXPECT_EQ(waitUntil([] { return false; }, o), WaitResult::TimedOut);
  EXPECT_EQ(inner, WaitResult::Busy);
  EXPECT_EQ(nested, WaitResult::TimedOut);
}

TEST(BoundedWait, RealClockKeepsItsBound) {
  WaitOptions o;
  o.limitMs = 30;
  QElapsedTimer t;
  t.start();
  EXPECT_EQ(waitUntil([] { return false; }, o), WaitResult::TimedOut);
  EXPECT_GE(t.elapsed(), 29);
  EXPECT_LT(t.elapsed(), 1000);
}

// Keys that wait in the display's queue while events run without the
// operator's input: none is typed meanwhile, and all of them, in their order,
// at the event loop's next pass, with nothing new from the display.
TEST(BoundedWait, HeldKeysComeInOrderAtTheNextPass) {
  QLineEdit box;
  box.show();
  box.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&box));
  const struct { const char* name; std::function<void()> hold; } rows[] = {
      {"a bounded wait", [] { pauseFor(20); }},
      {"one pass", [] { runPendingEvents(); }},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    box.clear();
    test::queueKeys(&box, QStringLiteral("k0s"));
    r.hold();
    EXPECT_EQ(box.text().toStdString(), "");
    QCoreApplication::processEvents();
    EXPECT_EQ(box.text().toStdString(), "k0s");
  }
}

}  // namespace
}  // namespace fd
