#include <QDir>
#include <QElapsedTimer>
#include <QTimer>
#include <QFile>
#include <QPointer>
#include <gtest/gtest.h>

#include "fakemainwindow.h"
#include "keying/cwfrm.h"
#include "keying/cwkeyer.h"
#include "keying/winkeyfrm.h"
#include "platform/forms.h"
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include "keying/keyingservice.h"
#include "keying/winkeyer.h"
#include "keying/winkeyinput.h"
#include "keying/winkeysettings.h"
#include "platform/platform.h"
#include "platform/serial.h"
#include "platform/wait.h"
#include "testenv.h"
#include "winkeysim.h"

namespace fd {
namespace {

// The real serial layer against the keyer simulator as ports/com5, on the real clock.
class WinKeyTest : public test::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    platform().clock = std::make_unique<SystemClock>();
    ASSERT_TRUE(sim.ok());
    QDir(dir.path()).mkdir(QStringLiteral("ports"));
    ASSERT_TRUE(QFile::link(sim.slavePath(), path(QStringLiteral("ports/com5"))));
    state.ProgDir = dir.path();
    state.FieldDayDir = dir.path();
    service = std::make_unique<KeyingService>(state);
    service->attach(main);
    service->cw().set.Text[11] = QStringLiteral("13");
    wk().WinKeyPort = 5;
  }
  void TearDown() override { service.reset(); }
  WinKeyer& wk() { return service->winKeyer(); }
  // Lets the simulator and the port exchange bytes for a while.
  void settle(int ms = 60) { pauseFor(ms, WaitInput::LetThrough); }
  bool until(const std::function<bool()>& f, int ms = 3000) {
    return waitUntil(f, {.limitMs = ms, .input = WaitInput::LetThrough}) == WaitResult::Met;
  }

  sim::WinKeySim sim;
  test::FakeMainWindow main{&state};
  std::unique_ptr<KeyingService> service;
};

TEST_F(WinKeyTest, OpenSendsTheSettingsAfterTheHandshake) {
  wk().cmdOpenWinkey_Click();
  settle();
  EXPECT_EQ(sim.wire(), QStringLiteral("00 04 55 00 02 02 0D 03 32 04 00 00 17 32 09 06 0E 00"));
  EXPECT_EQ(wk().lblOpenStatus, QStringLiteral("WK Success!"));
  EXPECT_EQ(wk().lblVersion, QStringLiteral("Version # 23"));
  EXPECT_EQ(state.WinKeyOpen, 23);
  EXPECT_EQ(service->WinKeyComm->dtrEnable(), true);  // the keyer's power
  EXPECT_EQ(service->WinKeyComm->rtsEnable(), false);
  // Already open: -8, nothing else done.
  sim.log.clear();
  wk().cmdOpenWinkey_Click();
  EXPECT_EQ(wk().lblOpenStatus, QStringLiteral("WK Already Open"));
  settle();
  EXPECT_TRUE(sim.log.isEmpty());
  // Close: host close; the texts go back.
  wk().cmdCloseWinkey_Click();
  settle();
  EXPECT_EQ(sim.log.last(), QStringLiteral("00 03"));
  EXPECT_EQ(wk().lblOpenStatus, QStringLiteral("Closed"));
  EXPECT_EQ(wk().lblVersion, QStringLiteral("Version #"));
  EXPECT_EQ(state.WinKeyOpen, 0);
}

TEST_F(WinKeyTest, EachOpenFailureWithItsText) {
  const struct { sim::WinKeySim::Answer answer; int port; const char* status; } cases[] = {
      {sim::WinKeySim::Answer::Silent, 5, "No Echo Response"},
      {sim::WinKeySim::Answer::WrongEcho, 5, "Echo Mismatch"},
      {sim::WinKeySim::Answer::NoVersion, 5, "No Open Response"},
      {sim::WinKeySim::Answer::Normal, 7, "Com Open Failed"},  // ports/com7 absent, /dev/ttyS6 too
  };
  for (const auto& c : cases) {
    sim.answer = c.answer;
    wk().WinKeyPort = c.port;
    fake->dialogs->clear();
    fake->dialogs->answers = {Answer::Ok};
    wk().cmdOpenWinkey_Click();
    EXPECT_EQ(wk().lblOpenStatus, QString::fromLatin1(c.status));
    EXPECT_EQ(state.WinKeyOpen, 0);
    ASSERT_EQ(fake->dialogs->shown.size(), 1) << c.status;
    EXPECT_EQ(fake->dialogs->shown[0].title, QStringLiteral("Unable to establish connection with Winkey."));
    EXPECT_EQ(fake->dialogs->shown[0].text,
              QStringLiteral("Unable to establish connection with WinKey on com port %1.  Please check to make sure "
                             "that you have specified the correct port and that the Winkey device is properly "
                             "connected.")
                  .arg(c.port));
    EXPECT_FALSE(service->WinKeyComm->isOpen());
  }
  // With no keyer, WKTransmit tries once and empties the buffer.
  fake->dialogs->clear();
  fake->dialogs->answers = {Answer::Ok};
  state.CWBuffer = QStringLiteral("CQ");
  wk().WKTransmit();
  EXPECT_TRUE(state.CWBuffer.isEmpty());
  EXPECT_EQ(fake->dialogs->shown.size(), 1);
}

TEST_F(WinKeyTest, TestAndControlCodesOnTheWire) {
  wk().cmdOpenWinkey_Click();
  settle();
  sim.log.clear();
  state.MyCall = QStringLiteral("W1AW");
  QElapsedTimer t;
  t.start();
  wk().Command3_Click();
  EXPECT_GE(t.elapsed(), 15 * 10);  // 10 ms after each character
  settle();
  EXPECT_EQ(sim.wire(), QStringLiteral("56 56 56 20 54 45 53 54 20 44 45 20 57 31 41 57"));
  // Codes below 32 or above 126 never go out as text.
  sim.log.clear();
  state.CWBuffer = QStringLiteral("A\tB\rC") + QChar(0x7F) + QChar(0xE9);
  wk().WKTransmit();
  settle();
  EXPECT_EQ(sim.wire(), QStringLiteral("41 42 43"));
}

TEST_F(WinKeyTest, XoffHoldsTheHandOverAndEscClearsTheKeyer) {
  sim.xoffAt = 4;
  sim.msPerChar = 15;
  wk().cmdOpenWinkey_Click();
  settle();
  sim.log.clear();
  int mostQueued = 0;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] { mostQueued = std::max(mostQueued, int(sim.queue.size())); });
  watch.start(1);
  wk().Command1_Click();  // Buffer Test: 81 characters
  watch.stop();
  EXPECT_EQ(sim.log.size(), 81);
  EXPECT_LE(mostQueued, 8);  // the hand-over waited on XOFF (at 4)
  ASSERT_TRUE(until([&] { return sim.sent.size() == 81; }));
  EXPECT_EQ(sim.sent.left(27), QByteArray("ABCDEFGHIJKLMNOPQRSTUVWXYZ "));
  // Esc from the main window right after a hand-over: pending, so 0A.
  sim.log.clear();
  sim.msPerChar = 2000;  // still busy when Esc comes, however loaded the machine
  state.CWBuffer = QStringLiteral("E");
  wk().WKTransmit();
  EXPECT_GT(service->wkGetStatus(), 0);
  service->wkClearBuf();
  service->wkBackspace();
  settle();
  EXPECT_EQ(sim.wire(), QStringLiteral("45 0A 08"));
  ASSERT_TRUE(until([&] { return service->wkGetStatus() == 0; }));
}

TEST_F(WinKeyTest, TheCWKeyerHandsOverThroughTheService) {
  state.KeyingType = 5;
  service->cw().set.Text[1] = QStringLiteral("CQ FD");
  fake->dialogs->answers = {};
  int f1 = 112;
  service->fKeyCW(f1);  // opens the keyer at first use
  settle();
  EXPECT_EQ(state.WinKeyOpen, 23);
  EXPECT_TRUE(sim.wire().endsWith(QStringLiteral("43 51 20 46 44")));
  // The speed box reaches the open keyer.
  sim.log.clear();
  service->cwSpeedUp();
  settle();
  EXPECT_EQ(sim.wire(), QStringLiteral("02 0E"));
  // Unloading the window closes the keyer and says so.
  service->unload(SideWindow::frmWinKey);
  EXPECT_EQ(state.WinKeyOpen, 0);
  settle();
  EXPECT_EQ(sim.log.last(), QStringLiteral("00 03"));
  // Exit: clear, host close, port closed.
  service->fKeyCW(f1);
  settle();
  sim.log.clear();
  service->releaseAll();
  settle();
  EXPECT_EQ(sim.wire(), QStringLiteral("0A 00 03"));
  EXPECT_FALSE(service->WinKeyComm->isOpen());
}

// The keyer's pair ends while F1's message goes out: the keyer is closed as
// by Close, the rest of the message dropped, and the main window told once
// with one beep. The next F1 opens it again: with no keyer there, the box
// for no keyer; with the pair made again, the open sequence and the message.
TEST_F(WinKeyTest, AKeyerWhosePortWentAwayIsClosedToldAndOpenedAgain) {
  state.KeyingType = 5;
  service->cw().set.Text[1] = QStringLiteral("CQ FD");
  sim.msPerChar = 500;
  sim.onCommand = [&](const QString& c) {
    if (c == QStringLiteral("51")) QTimer::singleShot(0, [&] { sim.hangUp(); });
  };
  const QString told = QStringLiteral("setStatus The WinKey's port went away: the keyer is closed until CW is sent again.");
  QPointer<frmWinKey> setup;
  {
    test::ScopedModalHook hook([&](QWidget* w) {
      setup = qobject_cast<frmWinKey*>(w);
      ASSERT_TRUE(setup);
      setup->txtWKComPort->setText(QStringLiteral("5"));
      setup->txtWKComPort->onLostFocus();
      setup->cmdOpenWinkey->click();
      EXPECT_EQ(setup->lblOpenStatus->text().toStdString(), "WK Success!");
      w->hide();
    });
    service->showWinKeySetup();
  }
  ASSERT_TRUE(setup);
  int f1 = 112;
  service->fKeyCW(f1);
  EXPECT_TRUE(until([&] { return state.WinKeyOpen == 0; }));
  settle();
  EXPECT_EQ(wk().lblOpenStatus.toStdString(), "Closed");
  EXPECT_EQ(setup->lblOpenStatus->text().toStdString(), "Closed");
  EXPECT_EQ(wk().lblVersion.toStdString(), "Version #");
  EXPECT_TRUE(state.CWBuffer.isEmpty());
  EXPECT_EQ(main.calls.filter(QStringLiteral("WinKey")).join(u'|').toStdString(), told.toStdString());
  EXPECT_EQ(fake->dialogs->beeps, 1);
  EXPECT_TRUE(fake->dialogs->shown.isEmpty());

  // Gone, as socat leaves it: the link removed.
  QFile::remove(path(QStringLiteral("ports/com5")));
  ASSERT_TRUE(QFile::link(path(QStringLiteral("gone")), path(QStringLiteral("ports/com5"))));
  fake->dialogs->answers = {Answer::Ok};
  service->fKeyCW(f1);
  settle();
  EXPECT_EQ(fake->dialogs->titles().join(u'|').toStdString(), "Unable to establish connection with Winkey.");
  EXPECT_EQ(wk().lblOpenStatus.toStdString(), "Com Open Failed");
  EXPECT_TRUE(state.CWBuffer.isEmpty());
  EXPECT_EQ(main.calls.filter(QStringLiteral("WinKey")).size(), 1);
  EXPECT_EQ(fake->dialogs->beeps, 1);

  // Made again at the same entry.
  sim::WinKeySim again;
  ASSERT_TRUE(again.ok());
  QFile::remove(path(QStringLiteral("ports/com5")));
  ASSERT_TRUE(QFile::link(again.slavePath(), path(QStringLiteral("ports/com5"))));
  service->fKeyCW(f1);
  settle();
  EXPECT_EQ(state.WinKeyOpen, 23);
  EXPECT_EQ(wk().lblOpenStatus.toStdString(), "WK Success!");
  EXPECT_TRUE(again.wire().startsWith(QStringLiteral("00 04 55 00 02 "))) << again.wire().toStdString();
  EXPECT_TRUE(again.wire().endsWith(QStringLiteral("0E 00 43 51 20 46 44"))) << again.wire().toStdString();
  EXPECT_EQ(fake->dialogs->shown.size(), 1);
  EXPECT_EQ(fake->dialogs->beeps, 1);
}

// Only a port that went away closes the keyer: a write that fails otherwise
// (a full queue, a timed-out drain) is ignored, as every result of the
// keyer's calls is, and the keyer stays open.
class WinKeyFakePortTest : public test::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    setSerialFactory([] { return std::make_unique<FakeSerialPort>(); });
    state.ProgDir = state.FieldDayDir = dir.path();
    service = std::make_unique<KeyingService>(state);
    service->attach(main);
  }
  void TearDown() override {
    service.reset();
    setSerialFactory({});
  }
  test::FakeMainWindow main{&state};
  std::unique_ptr<KeyingService> service;
};

TEST_F(WinKeyFakePortTest, OnlyAVanishedPortClosesTheKeyer) {
  auto* port = static_cast<FakeSerialPort*>(service->WinKeyComm.get());
  WinKeyer& k = service->winKeyer();
  k.WinKeyPort = 5;
  port->pending = QByteArray("\x55\x17", 2);  // the echo, then version 23
  k.cmdOpenWinkey_Click();
  ASSERT_EQ(state.WinKeyOpen, 23);
  port->failWrite = true;
  state.CWBuffer = QStringLiteral("CQ");
  k.WKTransmit();
  EXPECT_EQ(state.WinKeyOpen, 23);
  EXPECT_EQ(k.lblOpenStatus.toStdString(), "WK Success!");
  EXPECT_TRUE(main.calls.filter(QStringLiteral("WinKey")).isEmpty());
  EXPECT_EQ(fake->dialogs->beeps, 0);
  port->failWrite = false;
  port->vanishOnWrite = true;
  state.CWBuffer = QStringLiteral("CQ");
  k.WKTransmit();
  EXPECT_EQ(state.WinKeyOpen, 0);
  EXPECT_EQ(k.lblOpenStatus.toStdString(), "Closed");
  EXPECT_TRUE(state.CWBuffer.isEmpty());
  EXPECT_EQ(main.calls.filter(QStringLiteral("WinKey")).size(), 1);
  EXPECT_EQ(fake->dialogs->beeps, 1);
}

// The voice keyer takes its PTT port from an open WinKey keyer on the same
// port: the keyer is closed first (00 03), so the port opens and no
// "Invalid port." is shown.
TEST_F(WinKeyTest, ThePhoneKeyerClosesAnOpenWinKeyBeforeTakingThePort) {
  wk().cmdOpenWinkey_Click();
  settle();
  ASSERT_EQ(state.WinKeyOpen, 23);
  sim.log.clear();
  PhoneKeyer& phone = service->phoneKeyer();
  phone.settings.Text10 = QStringLiteral("5");
  phone.PhoneSetup();
  settle();
  EXPECT_EQ(state.WinKeyOpen, 0);
  EXPECT_EQ(sim.wire(), QStringLiteral("00 03"));
  EXPECT_FALSE(service->WinKeyComm->isOpen());
  EXPECT_TRUE(service->CommPhone->isOpen());
  EXPECT_TRUE(fake->dialogs->shown.empty());
}

TEST_F(WinKeyTest, LeaveChecks) {
  wk().cmdOpenWinkey_Click();
  settle();
  auto wire = [&](const std::function<void()>& f) {
    sim.log.clear();
    f();
    settle(30);
    return sim.wire();
  };
  WKBoxes& b = wk().box;
  EXPECT_EQ(wire([&] { b.txtWKWPM = "99"; wk().txtWKWPM_LostFocus(); }), QStringLiteral("02 63"));
  EXPECT_EQ(wire([&] { b.txtWKWPM = "100"; wk().txtWKWPM_LostFocus(); }), QString());
  EXPECT_EQ(wire([&] { b.txtWKWPM = "abc"; wk().txtWKWPM_LostFocus(); }), QString());
  EXPECT_EQ(b.txtWKWPM, QStringLiteral("18"));
  EXPECT_EQ(wire([&] { b.txtRatio = "60"; wk().txtRatio_LostFocus(); }), QStringLiteral("17 3C"));
  EXPECT_EQ(wire([&] { b.txtRatio = "32"; wk().txtRatio_LostFocus(); }), QStringLiteral("17 20"));
  EXPECT_EQ(wire([&] { b.txtRatio = "67"; wk().txtRatio_LostFocus(); }), QStringLiteral("17 43"));
  EXPECT_EQ(wire([&] { b.txtRatio = "31"; wk().txtRatio_LostFocus(); }), QString());
  EXPECT_EQ(wire([&] { b.txtRatio = "68"; wk().txtRatio_LostFocus(); }), QString());
  EXPECT_EQ(wire([&] { b.txtLeadIn = "5"; b.txtTail = "3"; wk().txtLeadIn_LostFocus(); }), QStringLiteral("04 05 03"));
  EXPECT_EQ(wire([&] { b.txtTail = "x"; wk().txtLeadIn_LostFocus(); }), QString());
  EXPECT_EQ(b.txtLeadIn, QStringLiteral("0"));
  b.txtWKComPort = "300";
  wk().txtWKComPort_LostFocus();
  EXPECT_EQ(wk().WinKeyPort, 0);
  EXPECT_EQ(b.txtWKComPort, QStringLiteral("300"));
  // "Iambic A" while open sends the settings again.
  b.txtTail = "0";
  const QString w = wire([&] { wk().setMode(16); });
  EXPECT_TRUE(w.endsWith(QStringLiteral("09 06 0E 10"))) << w.toStdString();
}

TEST_F(WinKeyTest, WkTxtFiles) {
  wk().WinKeyPort = 0;
  EXPECT_EQ(wk().wkTxtBytes(), QByteArray("0\r\n\"13\"\r\n\"50\"\r\n\"0\"\r\n\"0\"\r\n\"50\"\r\n6\r\n0\r\n"));
  wk().WinKeyPort = 3;
  wk().box.txtRatio = "60";
  wk().setPinCfg(5);
  wk().setMode(16);
  ASSERT_TRUE(wk().writeWkTxt(dir.path(), nullptr));
  EXPECT_EQ(readFile(QStringLiteral("WK.txt")), QByteArray("3\r\n\"13\"\r\n\"50\"\r\n\"0\"\r\n\"0\"\r\n\"60\"\r\n5\r\n16\r\n"));
  // Six lines: the defaults 6 and 0; the CW speed wins over the stored one.
  writeFile(QStringLiteral("WK.txt"), "4\r\n\"25\"\r\n\"50\"\r\n\"1\"\r\n\"2\"\r\n\"55\"\r\n");
  service->cw().set.Text[11] = QStringLiteral("18");
  wk().load(dir.path());
  EXPECT_EQ(wk().WinKeyPort, 4);
  EXPECT_EQ(wk().WinKeyPinCfg, 6);
  EXPECT_EQ(wk().WinKeyMode, 0);
  EXPECT_EQ(wk().box.txtWKWPM, QStringLiteral("18"));
  EXPECT_EQ(wk().box.txtRatio, QStringLiteral("55"));
  // Fewer lines stop the load.
  writeFile(QStringLiteral("WK.txt"), "9\r\n\"25\"\r\n");
  wk().load(dir.path());
  EXPECT_EQ(wk().WinKeyPort, 4);
}

// CW Setup, "WinKey", "Configure Winkey", port 5, Open, Done.
TEST_F(WinKeyTest, SetupWindowThroughTheCWWindow) {
  setTestMode(true);
  CWFrm& cw = service->loadCWFrm();
  cw.Option5->click();
  EXPECT_EQ(state.KeyingType, 5);
  EXPECT_FALSE(cw.cmdConfWinkey->isHidden());
  EXPECT_EQ(state.WinKeyOpen, 0);  // loading does not open the keyer
  QString status, version;
  {
    test::ScopedModalHook hook([&](QWidget* w) {
      auto* f = qobject_cast<frmWinKey*>(w);
      ASSERT_NE(f, nullptr);
      EXPECT_EQ(f->windowTitle(), QStringLiteral(" WinKey Setup"));
      f->txtWKComPort->setText(QStringLiteral("5"));
      f->txtWKComPort->onLostFocus();
      f->cmdOpenWinkey->click();
      status = f->lblOpenStatus->text();
      version = f->lblVersion->text();
      f->cmdDone->click();
    });
    cw.cmdConfWinkey->click();
  }
  EXPECT_EQ(status, QStringLiteral("WK Success!"));
  EXPECT_EQ(version, QStringLiteral("Version # 23"));
  EXPECT_EQ(readFile(QStringLiteral("WK.txt")), QByteArray("5\r\n\"13\"\r\n\"50\"\r\n\"0\"\r\n\"0\"\r\n\"50\"\r\n6\r\n0\r\n"));
  setTestMode(false);
}

// A damaged WK.txt: a number that is not one byte reads as the default (a
// port of twenty nines overflowed the int it is kept in), and a quote inside
// a bare item or a lone CR is dropped, so what is read is written back the same.
TEST(WkTxt, DamagedNumbersAndQuotes) {
  struct Case {
    const char *port, *pin, *mode;
    int wantPort, wantPin, wantMode;
  };
  const Case cases[] = {
      {"99999999999999999999", "1e300", "-1e12", 0, 6, 0},
      {"300", "256", "-1", 0, 6, 0},
      {"255.4", "7.9", "16", 255, 7, 16},
      {"abc", "x", "", 0, 0, 0},
  };
  for (const Case& c : cases) {
    const QByteArray file = QByteArray(c.port) + "\r\n\"13\"\r\n\"50\"\r\n\"0\"\r\n\"0\"\r\n\"50\"\r\n" + c.pin + "\r\n" +
                            c.mode + "\r\n";
    WKSettings s;
    ASSERT_TRUE(readWkTxt(file, s)) << c.port;
    EXPECT_EQ(s.port, c.wantPort) << c.port;
    EXPECT_EQ(s.pinCfg, c.wantPin) << c.pin;
    EXPECT_EQ(s.mode, c.wantMode) << c.mode;
  }
  WKSettings s;
  ASSERT_TRUE(readWkTxt("4\r\n25\"x\r\n\"50\"\r\n\"1\"\r\n2\r5\"\r\n\"55\"\r\n", s));
  EXPECT_EQ(s.box.txtWKWPM, QStringLiteral("25x"));
  EXPECT_EQ(s.box.txtTail, QStringLiteral("25"));
  WKSettings again;
  ASSERT_TRUE(readWkTxt(wkTxtBytes(s), again));
  EXPECT_EQ(again.box.txtWKWPM, s.box.txtWKWPM);
  EXPECT_EQ(again.box.txtTail, s.box.txtTail);
}

// A keyer in echo mode answers every character: the echoes nobody reads any
// more (they matter only while opening) stay bounded, the status goes on.
TEST(WinKeyInput, UnreadEchoesStayBounded) {
  WinKeyInput in;
  in.take(QByteArray(1'000'000, 'E'));
  EXPECT_LE(in.echoesWaiting(), 64);
  in.handOver();
  EXPECT_EQ(in.state(), 1);
  in.take("\xC4\x85");
  EXPECT_EQ(in.state(), 4);
  EXPECT_EQ(in.speedPot(), 5);
  std::uint8_t b = 0;
  ASSERT_TRUE(in.takeEcho(b));
  EXPECT_EQ(b, 'E');
  in.reset();
  EXPECT_EQ(in.echoesWaiting(), 0);
  EXPECT_EQ(in.state(), 0);
}

}  // namespace
}  // namespace fd
