#include <QCoreApplication>
#include <QTimer>
#include <gtest/gtest.h>

#include "fakemainwindow.h"
#include "keying/cwkeyer.h"
#include "keying/morse.h"
#include "platform/keylines.h"
#include "platform/serial.h"
#include "testenv.h"

namespace fd {
namespace {

// The keyer on fake ports, the fake clock and a recording key line.
class CWKeyerTest : public ::testing::Test {
 protected:
  CWKeyerTest() : keyer(state, comm, phone) {
    keyer.main = &main;
    comm.setCommPort(1);
    keyer.set.Text[10] = QStringLiteral("1");
    keyer.set.Text[11] = QStringLiteral("20");
    state.KeyingType = 1;
    setParallelFactory([this](int) { return std::make_unique<FakeParallelDevice>(lpt); });
  }
  ~CWKeyerTest() override {
    setParallelFactory({});
    setVirtualLoopNs(0);
  }
  // The record as units, one per set call.
  QString units() const {
    QString u;
    for (const KeyLineEvent& e : rec.events) u += e.value ? u'1' : u'0';
    return u;
  }
  std::int64_t timed(const std::function<void()>& f) {
    const std::int64_t t0 = fake.clock->monotonicMs();
    f();
    return fake.clock->monotonicMs() - t0;
  }
  std::int64_t send(const QString& text) {
    return timed([&] {
      for (QChar c : text) keyer.Transmit(QString(c));
    });
  }

  test::FakePlatform fake;
  ProgramState state;
  test::FakeMainWindow main{&state};
  FakeSerialPort comm, phone;
  FakeParallelLog lpt;
  KeyLineRecorder rec;
  CWKeyer keyer;
};

TEST(MorseTableTest, BuiltByTheRuleWithTheProsigns) {
  const auto& t = morse::MorseTable();
  EXPECT_EQ(t.size(), 48);  // 48 keys; "-" and "=" share one sign
  EXPECT_EQ(t.value(u'A'), QStringLiteral("10111000"));
  EXPECT_EQ(t.value(u'E'), QStringLiteral("1000"));
  EXPECT_EQ(t.value(u'0'), QStringLiteral("1110111011101110111000"));
  EXPECT_EQ(t.value(u'/'), QStringLiteral("1110101011101000"));
  EXPECT_EQ(t.value(u'-'), QStringLiteral("1110101010111000"));
  EXPECT_EQ(t.value(u'='), t.value(u'-'));
  EXPECT_EQ(t.value(u'['), QStringLiteral("1011101011101000"));
  EXPECT_EQ(t.value(u']'), QStringLiteral("101010111010111000"));
  EXPECT_EQ(t.value(u';'), QStringLiteral("111010111011101000"));
  EXPECT_EQ(t.value(u'\\'), QStringLiteral("111010111010101110101000"));
  EXPECT_EQ(t.value(u' '), QStringLiteral("00000000"));
  EXPECT_EQ(morse::pattern(QStringLiteral("e")), QStringLiteral("1000"));
  EXPECT_TRUE(morse::pattern(QStringLiteral("#")).isEmpty());
  EXPECT_TRUE(morse::pattern(QStringLiteral("AB")).isEmpty());
  // Every letter and digit ends in the three-unit gap and decodes back.
  for (QChar c : QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.,?/"))
    EXPECT_EQ(morse::decode(t.value(c)), QString(c)) << c.toLatin1();
}

TEST(MorseTableTest, WordSpaceAdjustment) {
  const struct { double n; int units; } cases[] = {{0, 8}, {2, 10}, {1.5, 9}, {-2.5, 6}, {-3.5, 4}, {-4, 4}, {-8, 0}, {-9, 0}};
  for (const auto& c : cases) EXPECT_EQ(morse::wordSpace(c.n).size(), c.units) << c.n;
}

TEST_F(CWKeyerTest, CharacterTimingsOnTheRecordingLine) {
  const struct { const char* text; const char* wpm; const char* space; std::int64_t ms; } cases[] = {
      {"E", "20", "0", 240},         {"A", "25", "0", 384},         {"[", "30", "0", 640},
      {"PARIS ", "20", "0", 3240},   {"PARIS ", "20", "-4", 3000},  {"PARIS ", "20", "-8", 2760},
      {"PARIS ", "20", "2", 3360},
  };
  for (const auto& c : cases) {
    rec.clear();
    keyer.set.Text[11] = QString::fromLatin1(c.wpm);
    keyer.set.txtSpace = QString::fromLatin1(c.space);
    EXPECT_EQ(send(QString::fromLatin1(c.text)), c.ms) << c.text << " " << c.space;
    EXPECT_EQ(morse::decode(units()).trimmed(), QString::fromLatin1(c.text).trimmed()) << c.text;
  }
  // "E" at 20 WPM: down 0-60, up from 60.
  rec.clear();
  keyer.set.Text[11] = QStringLiteral("20");
  send(QStringLiteral("E"));
  ASSERT_EQ(rec.events.size(), 4u);
  EXPECT_EQ(rec.events[0].line, QStringLiteral("COM1.RTS"));
  EXPECT_EQ(rec.events[1].ms - rec.events[0].ms, 60);
  EXPECT_EQ(rec.events[1].value, 0);
}

TEST_F(CWKeyerTest, TheThreeWaits) {
  // Timer: the first counter reading at or past 54.55 ms.
  keyer.set.Text[11] = QStringLiteral("22");
  send(QStringLiteral("E"));
  EXPECT_EQ(rec.events[1].ms - rec.events[0].ms, 55);
  // 13 WPM: Sleep sleeps 92 ms (92.3 rounded), Timer ends at 93.
  keyer.set.Text[11] = QStringLiteral("13");
  rec.clear();
  keyer.set.timing = CWTiming::Sleep;
  send(QStringLiteral("E"));
  EXPECT_EQ(rec.events[1].ms - rec.events[0].ms, 92);
  rec.clear();
  keyer.set.timing = CWTiming::Timer;
  send(QStringLiteral("E"));
  EXPECT_EQ(rec.events[1].ms - rec.events[0].ms, 93);
  // Loop: a key-down unit counts LoopsPer60ms x 20 / S; a key-up unit yields
  // and counts only the margin's share.
  keyer.set.timing = CWTiming::Loop;
  keyer.set.LoopsPer60ms = 6000;
  for (const char* wpm : {"20", "40"}) {
    keyer.set.Text[11] = QString::fromLatin1(wpm);
    const double before = loopIterationsCounted();
    send(QStringLiteral("E"));
    const double down = 6000.0 * 20 / QString::fromLatin1(wpm).toDouble();
    EXPECT_EQ(loopIterationsCounted() - before, down + 3 * (kYieldMarginMs * 6000.0 / 60)) << wpm;
  }
}

TEST_F(CWKeyerTest, ParallelPortWritesTheControlRegister) {
  state.KeyingType = 3;
  for (const char* base : {"&H378", "888"}) {
    lpt = {};
    keyer.set.Text[14] = QString::fromLatin1(base);
    send(QStringLiteral("E"));
    EXPECT_EQ(lpt.writes, (std::vector<int>{3, 2, 2, 2})) << base;
    EXPECT_EQ(rec.events.back().line, QStringLiteral("LPT888"));
    releaseAllParallel();
  }
  // No port there: the character ends at once, no message.
  lpt = {};
  lpt.failClaim = true;
  EXPECT_EQ(send(QStringLiteral("E")), 0);
  EXPECT_TRUE(fake.dialogs->shown.isEmpty());
}

TEST_F(CWKeyerTest, SerialPortSetupAndItsMessage) {
  int shownSetup = 0;
  keyer.setupVisible = [] { return false; };
  keyer.showSetupModal = [&] { ++shownSetup; };
  // An unopenable port: the message before every character, which still takes its time.
  comm.failOpen = true;
  fake.dialogs->answers = {Answer::Ok, Answer::Ok};
  EXPECT_EQ(send(QStringLiteral("EE")), 480);
  ASSERT_EQ(fake.dialogs->shown.size(), 2);
  EXPECT_EQ(fake.dialogs->shown[0].title, QStringLiteral("Invalid port."));
  EXPECT_EQ(fake.dialogs->shown[0].text,
            QStringLiteral("The port you have selected for CW keying is invalid.  Please select another or enter 0 "
                           "for none."));
  EXPECT_EQ(fake.dialogs->beeps, 2);
  EXPECT_EQ(shownSetup, 2);
  // Port 0: never opened, no message.
  fake.dialogs->clear();
  keyer.set.Text[10] = QStringLiteral("0");
  send(QStringLiteral("E"));
  EXPECT_TRUE(fake.dialogs->shown.isEmpty());
  EXPECT_FALSE(comm.isOpen());
  // Opening the key line closes the voice keyer's port, whatever its number.
  comm.failOpen = false;
  phone.setCommPort(4);
  ASSERT_TRUE(phone.open());
  keyer.set.Text[10] = QStringLiteral("1");
  keyer.CWSetup();
  EXPECT_TRUE(comm.isOpen());
  EXPECT_FALSE(phone.isOpen());
  EXPECT_FALSE(comm.rtsEnable());
  EXPECT_FALSE(comm.dtrEnable());
}

TEST_F(CWKeyerTest, SpeedsAndCountsThatCannotTimeAUnitKeyNothing) {
  for (const char* wpm : {"0", "-1", "abc", "inf", ""}) {
    rec.clear();
    keyer.set.Text[11] = QString::fromLatin1(wpm);
    EXPECT_EQ(send(QStringLiteral("PARIS")), 0) << wpm;
    EXPECT_TRUE(rec.events.empty()) << wpm;
  }
  keyer.set.Text[11] = QStringLiteral("20");
  keyer.set.timing = CWTiming::Loop;
  keyer.set.LoopsPer60ms = 0;
  EXPECT_EQ(send(QStringLiteral("E")), 0);
  keyer.set.LoopsPer60ms = -5;
  EXPECT_EQ(send(QStringLiteral("E")), 0);
  EXPECT_TRUE(rec.events.empty());
  // Characters outside the table, and no key line: no time.
  keyer.set.timing = CWTiming::Timer;
  EXPECT_EQ(send(QStringLiteral("#*$")), 0);
  state.KeyingType = 0;
  EXPECT_EQ(send(QStringLiteral("E")), 0);
}

TEST_F(CWKeyerTest, AnEarlyExitAfterKeyDownRaisesTheLine) {
  // The speed becomes 0 in the gap after the dot of "A": the dash's unit
  // cannot be timed, and the line goes up at once.
  QMetaObject::invokeMethod(qApp, [this] { keyer.set.Text[11] = QStringLiteral("0"); }, Qt::QueuedConnection);
  send(QStringLiteral("A"));
  EXPECT_EQ(units(), QStringLiteral("1010"));
  // A stop inside a character: the line is up and nothing keys afterwards.
  rec.clear();
  keyer.set.Text[11] = QStringLiteral("20");
  QMetaObject::invokeMethod(qApp, [this] { keyer.stopAll(); }, Qt::QueuedConnection);
  send(QStringLiteral("AAA"));
  EXPECT_EQ(rec.events.back().value, 0);
  EXPECT_FALSE(comm.rtsEnable());
  const size_t n = rec.events.size();
  send(QStringLiteral("E"));
  EXPECT_EQ(rec.events.size(), n);
}

TEST_F(CWKeyerTest, ExclamationEntersTheContactOnlyWithACall) {
  EXPECT_EQ(send(QStringLiteral("!")), 0);
  EXPECT_EQ(main.saves, 0);
  main.call = QStringLiteral("K1ABC");
  send(QStringLiteral("!"));
  EXPECT_EQ(main.saves, 1);
  EXPECT_TRUE(rec.events.empty());
}

// Messages as the WinKey seam receives them (the text after expansion).
TEST_F(CWKeyerTest, FunctionKeysAndWildcards) {
  state.KeyingType = 5;
  QStringList sent;
  keyer.wkTransmit = [&] {
    sent << state.CWBuffer;
    state.CWBuffer.clear();
  };
  const struct { int code; const char* message; const char* call; const char* expect; } cases[] = {
      {113, "$ * 2A ENY", " K1ABC ", "K1ABC 5NN 2A ENY"},
      {113, "$ TU $", "W1AW", "W1AW TU W1AW"},
      {114, "NR # TU", "", "NR  TU"},
      {115, "A##B", "", "A#B"},
      {116, "$ DE", "A$B", "A$B DE"},  // a call holding "$" is not expanded again
      {124, "F10 TEXT", "", "F10 TEXT"},
      {122, "F11 TEXT", "", "F11 TEXT"},
  };
  for (const auto& c : cases) {
    sent.clear();
    const int box = c.code == 124 ? 12 : c.code == 122 ? 13 : c.code - 111;
    keyer.set.Text[box] = QString::fromLatin1(c.message);
    state.CallText = QString::fromLatin1(c.call);
    int code = c.code;
    keyer.FKeyCW(code);
    EXPECT_EQ(sent, QStringList{QString::fromLatin1(c.expect)}) << c.message;
  }
  // F10 as itself and F12 empty the buffer and send nothing.
  for (int code : {121, 123}) {
    sent.clear();
    state.CWBuffer = QStringLiteral("LEFT");
    keyer.FKeyCW(code);
    EXPECT_TRUE(sent.isEmpty());
    EXPECT_TRUE(state.CWBuffer.isEmpty());
  }
  // With no WinKey keyer behind key line 5 the buffer is emptied, nothing sent.
  keyer.wkTransmit = nullptr;
  int f2 = 113;
  keyer.FKeyCW(f2);
  EXPECT_TRUE(state.CWBuffer.isEmpty());
  // On that path "!" enters the contact first, only with a call typed.
  keyer.wkTransmit = [&] { sent << state.CWBuffer; state.CWBuffer.clear(); };
  keyer.set.Text[2] = QStringLiteral("TU !");
  main.call = QStringLiteral("K1ABC");
  keyer.FKeyCW(f2);
  EXPECT_EQ(main.saves, 1);
}

TEST_F(CWKeyerTest, KeyboardCodesAndTheKeyLineDrain) {
  keyer.set.Text[1] = QStringLiteral("CQ FD");
  int f1 = 112;
  keyer.FKeyCW(f1);
  EXPECT_EQ(morse::decode(units()), QStringLiteral("CQ FD"));
  EXPECT_EQ(state.CWSending, 0);
  EXPECT_EQ(main.status, QString());  // Check1 ticked: the rest of the buffer, then empty
  state.KeyboardCW = 1;
  rec.clear();
  int typed = 'k';
  keyer.FKeyCW(typed);
  EXPECT_EQ(morse::decode(units()), QStringLiteral("K"));
  EXPECT_EQ(main.status, QStringLiteral("Keyboard CW Mode is on.  Press F12 to exit."));
}

TEST_F(CWKeyerTest, AnotherKeyDuringADrainCutsAfterTheCurrentCharacter) {
  keyer.set.Text[1] = QStringLiteral("AAAA");
  keyer.set.Text[2] = QStringLiteral("EE");
  // F2 arrives in the first key-up unit of the first "A".
  QMetaObject::invokeMethod(qApp, [this] { int f2 = 113; keyer.FKeyCW(f2); }, Qt::QueuedConnection);
  int f1 = 112;
  keyer.FKeyCW(f1);
  EXPECT_EQ(morse::decode(units()), QStringLiteral("AEE"));
  // Esc inside a character: the buffer goes, the character ends whole.
  rec.clear();
  QMetaObject::invokeMethod(qApp, [this] { state.CWBuffer.clear(); }, Qt::QueuedConnection);
  keyer.FKeyCW(f1);
  EXPECT_EQ(morse::decode(units()), QStringLiteral("A"));
  EXPECT_EQ(rec.events.back().value, 0);
}

TEST_F(CWKeyerTest, RepeatRunsFromTheEndOfTheDrain) {
  keyer.set.Text[1] = QStringLiteral("E");
  keyer.set.txtCWLoop = QStringLiteral("2.5");
  ASSERT_TRUE(keyer.applyRepeatSeconds());
  EXPECT_EQ(keyer.set.repeatMs, 2500);
  int f1 = 112;
  keyer.FKeyCW(f1);
  EXPECT_EQ(state.CWRepeat, 1);
  EXPECT_TRUE(keyer.tmrRepeat.isActive());
  EXPECT_EQ(keyer.tmrRepeat.interval(), 2500);
  rec.clear();
  keyer.tmrRepeat_Timer();  // the tick sends F1 again and re-arms at its end
  EXPECT_EQ(morse::decode(units()), QStringLiteral("E"));
  EXPECT_TRUE(keyer.tmrRepeat.isActive());
  keyer.disableRepeat();  // any key on the main window
  EXPECT_FALSE(keyer.tmrRepeat.isActive());
  EXPECT_EQ(state.CWRepeat, 0);
  // An interval that rounds to 0 ms arms the repeat but never starts a 0 ms timer.
  keyer.set.txtCWLoop = QStringLiteral("0.0004");
  ASSERT_TRUE(keyer.applyRepeatSeconds());
  keyer.FKeyCW(f1);
  EXPECT_EQ(state.CWRepeat, 1);
  EXPECT_FALSE(keyer.tmrRepeat.isActive());
  // Interval 0: sent once, the repeat stays as it was.
  keyer.disableRepeat();
  keyer.set.txtCWLoop = QStringLiteral("0");
  keyer.applyRepeatSeconds();
  keyer.FKeyCW(f1);
  EXPECT_EQ(state.CWRepeat, 0);
  // Out of range: the text becomes "0".
  for (const char* v : {"60", "-1", "x"}) {
    keyer.set.txtCWLoop = QString::fromLatin1(v);
    EXPECT_FALSE(keyer.applyRepeatSeconds());
    EXPECT_EQ(keyer.set.txtCWLoop, QStringLiteral("0"));
  }
  keyer.set.txtCWLoop = QStringLiteral("59.9");
  EXPECT_TRUE(keyer.applyRepeatSeconds());
  EXPECT_EQ(keyer.set.repeatMs, 59900);
}

TEST_F(CWKeyerTest, SpeedStepsAndTheWinKeySpeed) {
  const struct { const char* from; bool up; const char* to; } steps[] = {
      {"25", true, "26"}, {"24.5", true, "25.5"}, {"1", false, "0"}, {"0", false, "-1"}, {"99", true, "100"},
      {"abc", true, "abc"}};
  for (const auto& c : steps) {
    keyer.set.Text[11] = QString::fromLatin1(c.from);
    c.up ? keyer.UpDown1_UpClick() : keyer.UpDown1_DownClick();
    EXPECT_EQ(keyer.set.Text[11], QString::fromLatin1(c.to)) << c.from;
  }
  std::vector<int> wpm;
  keyer.wkWpm = [&](int n) { wpm.push_back(n); };
  const struct { const char* speed; int type; int open; bool sent; } cases[] = {
      {"5", 5, 1, true}, {"99", 5, 1, true}, {"4", 5, 1, false}, {"100", 5, 1, false},
      {"20", 1, 1, false}, {"20", 5, 0, false}, {"22.5", 5, 1, true}};
  for (const auto& c : cases) {
    wpm.clear();
    state.KeyingType = c.type;
    state.WinKeyOpen = c.open;
    keyer.set.Text[11] = QString::fromLatin1(c.speed);
    keyer.Text11_Change();
    EXPECT_EQ(wpm.size(), c.sent ? 1u : 0u) << c.speed;
  }
  EXPECT_EQ(wpm.back(), 22);  // half to even
}

TEST_F(CWKeyerTest, LoopCalibration) {
  setVirtualLoopNs(7e6 / 5e6);  // 5,000,000 iterations take 7 ms
  ASSERT_TRUE(keyer.CalibrateCWLoop());
  EXPECT_EQ(keyer.set.LoopsPer60ms, 42857143);
  // No time elapsed: the count stays.
  setVirtualLoopNs(0);
  EXPECT_FALSE(keyer.CalibrateCWLoop());
  EXPECT_EQ(keyer.set.LoopsPer60ms, 42857143);
  // The count is timed as it runs while keying, on a core up to speed: the
  // first count on a core just woken (14 ms) and a timing the system
  // interrupted (30 ms) are not the ones taken.
  const double ms = 1e6 / 5e6;  // ns per iteration for each ms of 5,000,000 iterations
  setVirtualLoopNs(std::vector<double>{14 * ms, 7 * ms, 30 * ms, 7 * ms});
  keyer.set.LoopsPer60ms = 0;
  ASSERT_TRUE(keyer.CalibrateCWLoop());
  EXPECT_EQ(keyer.set.LoopsPer60ms, 42857143);
  setVirtualLoopNs(0);
}

TEST(CheckCWKeyTest, UpperCasesLettersOnly) {
  for (auto [in, out] : std::initializer_list<std::pair<int, int>>{{'a', 'A'}, {'z', 'Z'}, {'A', 'A'}, {9, 9}, {'1', '1'}}) {
    int k = in;
    CWKeyer::CheckCWKey(k);
    EXPECT_EQ(k, out);
  }
}

}  // namespace
}  // namespace fd
