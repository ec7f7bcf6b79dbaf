// The rig link on the real serial layer against the radio simulator on a
// pseudo-terminal: line settings per preset, each family's read-back into the
// main window, CI-V with bus echo and split replies, a silent radio, a far
// end that closes, a pair that ends and comes back, and a frequency change
// timed on the wire, which typed keys wait for.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QThread>

#include "fakemainwindow.h"
#include "platform/platform.h"
#include "queuedinput.h"
#include "radiosim.h"
#include "rig/rigcontrolfrm.h"
#include "testenv.h"

namespace fd {
namespace {

// Lets real time pass with events running (the simulator answers meanwhile).
void spin(int ms) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < ms) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QThread::msleep(1);
  }
}

class RigPtyTest : public test::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    platform().clock = std::make_unique<SystemClock>();  // real pauses on the wire
    state.RigType = QStringLiteral("None");
    state.CurBand = QStringLiteral("40");
    state.CurMode = QStringLiteral("PH");
    QDir(dir.path()).mkdir(QStringLiteral("ports"));
    QFile::copy(QStringLiteral(FD_SOURCE_DIR "/dist/BandPlan.txt"), path(QStringLiteral("BandPlan.txt")));
  }
  // A simulator for the family, linked as port 1, and a window polling it
  // (the timer stopped: the test runs the ticks).
  std::unique_ptr<RigControlfrm> start(sim::RadioSim& radio, const QString& family) {
    const QString slave = radio.openPty();
    EXPECT_FALSE(slave.isEmpty());
    QFile::remove(path(QStringLiteral("ports/com1")));
    QFile::link(slave, path(QStringLiteral("ports/com1")));
    auto w = std::make_unique<RigControlfrm>(state, &main, nullptr);
    w->List1->setCurrentItem(w->List1->findItems(family, Qt::MatchExactly).value(0));
    w->List1_Click();
    w->Command1_Click();
    w->tmrGetData.stop();
    return w;
  }
  void cycle(RigControlfrm& w, int ms = 60) {
    if (w.poll.ReadTickDue == 0) w.tmrGetData_Timer();
    spin(ms);
    w.tmrGetData_Timer();
  }
  test::FakeMainWindow main{&state};
};

TEST_F(RigPtyTest, LineSettingsOfEachPresetReachTheDevice) {
  const struct { const char* family; int baud; int data; char parity; int stop; bool rtscts; } rows[] = {
      {"Kenwood", 4800, 8, 'N', 2, false},
      {"Icom", 1200, 8, 'N', 1, false},
      {"Ten Tec Orion", 56000, 8, 'N', 1, true},
      {"Kenwood", 4800, 8, 'N', 2, false},  // no RTS/CTS left over from the Orion
  };
  sim::RadioSim radio(QStringLiteral("Kenwood"));
  const QString slave = radio.openPty();
  QFile::link(slave, path(QStringLiteral("ports/com1")));
  auto w = std::make_unique<RigControlfrm>(state, &main, nullptr);
  for (const auto& r : rows) {
    w->List1->setCurrentItem(w->List1->findItems(QString::fromLatin1(r.family), Qt::MatchExactly).value(0));
    w->List1_Click();
    w->Command1_Click();
    ASSERT_TRUE(w->polling()) << r.family;
    const sim::RadioSim::Line l = radio.lineSettings();
    EXPECT_EQ(l.baud, r.baud) << r.family;
    EXPECT_EQ(l.dataBits, r.data) << r.family;
    EXPECT_EQ(l.parity, r.parity) << r.family;
    EXPECT_EQ(l.stopBits, r.stop) << r.family;
    EXPECT_EQ(l.rtscts, r.rtscts) << r.family;
  }
  w->Form_Unload();
}

TEST_F(RigPtyTest, EachFamilyDrivesTheLog) {
  const struct { const char* family; bool mode; } rows[] = {
      {"Kenwood", true},  {"Elecraft", true},  {"Kenwood 2", true},  {"Yaesu FTdx9000", true},
      {"Icom", true},     {"Icom 735", true},  {"Ten Tec Omni VI", true}, {"Yaesu", true},
      {"Yaesu 757 GX II", true}, {"Yaesu 890", true}, {"Yaesu 920", true}, {"Yaesu 990", true},
      {"Yaesu 1000 D", true}, {"Yaesu 1000", true}, {"Ten Tec Fnt Pnl", true}, {"Ten Tec Orion", true},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.family);
    state.CurBand = QStringLiteral("40");
    state.CurMode = QStringLiteral("PH");
    state.CurFreq.clear();
    sim::RadioSim radio(QString::fromLatin1(r.family));
    auto w = start(radio, QString::fromLatin1(r.family));
    ASSERT_TRUE(w->Command2->isEnabled());
    for (int i = 0; i < 4; ++i) cycle(*w);
    EXPECT_EQ(state.CurBand, QStringLiteral("20"));
    EXPECT_EQ(state.CurFreq, QStringLiteral("14.025"));
    if (r.mode) EXPECT_EQ(state.CurMode, QStringLiteral("CW"));
    w->Form_Unload();
  }
}

TEST_F(RigPtyTest, CivWithEchoAndSplitRepliesNeverGivesAWrongFrequency) {
  sim::RadioSim radio(QStringLiteral("Icom"));
  radio.echo = true;
  radio.splitAt = 7;
  radio.splitGapMs = 15;
  auto w = start(radio, QStringLiteral("Icom"));
  QStringList seen;
  for (int i = 0; i < 20; ++i) {
    cycle(*w, 50);
    if (!state.CurFreq.isEmpty() && !seen.contains(state.CurFreq)) seen << state.CurFreq;
  }
  EXPECT_EQ(seen, QStringList{QStringLiteral("14.025")});
  // The requests went out byte for byte, in turn.
  EXPECT_TRUE(radio.allReceived().startsWith(cat::HexTextToBytes(QStringLiteral("FE FE 64 E0 03 FD FE FE 64 E0 04 FD"))));
  w->Form_Unload();
}

TEST_F(RigPtyTest, ASilentRadioChangesNothingAndAClosedEndStopsPolling) {
  sim::RadioSim radio(QStringLiteral("Kenwood"));
  radio.silent = true;
  auto w = start(radio, QStringLiteral("Kenwood"));
  w->show();
  for (int i = 0; i < 3; ++i) cycle(*w, 30);
  EXPECT_EQ(state.CurBand, QStringLiteral("40"));
  EXPECT_TRUE(state.CurFreq.isEmpty());
  EXPECT_TRUE(main.calls.isEmpty());
  EXPECT_EQ(w->lblFreq->text(), QStringLiteral("No Response"));
  radio.closeEnd();
  w->tmrGetData.start(50);
  QElapsedTimer t;
  t.start();
  while (w->polling() && t.elapsed() < 2000) spin(10);
  EXPECT_FALSE(w->polling());
  EXPECT_FALSE(w->Label2->isVisible());
  EXPECT_FALSE(w->lblUnProcess->text().isEmpty());
  w->hide();
}

// The adapter pulled and plugged back: a socat pair at ports/com1 ends
// (socat removes its link) and is made again at the same link.
TEST_F(RigPtyTest, APulledAdapterIsSaidAndPollingResumesWhenItComesBack) {
  const QString ours = path(QStringLiteral("ports/com1")), far = path(QStringLiteral("radio"));
  QProcess socat;
  std::unique_ptr<sim::RadioSim> radio;
  auto plugIn = [&](qint64 hz, const QString& mode) {
    socat.start(QStringLiteral("socat"),
                {QStringLiteral("pty,raw,echo=0,link=") + ours, QStringLiteral("pty,raw,echo=0,link=") + far});
    ASSERT_TRUE(socat.waitForStarted(3000));
    ASSERT_TRUE(test::pump([&] { return QFile::exists(ours) && QFile::exists(far); }));
    radio = std::make_unique<sim::RadioSim>(QStringLiteral("Kenwood"));
    radio->hz = hz;
    radio->mode = mode;
    ASSERT_TRUE(radio->openDevice(far));
  };
  auto pull = [&] {
    radio.reset();
    socat.terminate();  // socat removes its links
    socat.waitForFinished(3000);
  };
  plugIn(14025000, QStringLiteral("CW"));
  RigControlfrm w(state, &main, nullptr);
  w.List1->setCurrentItem(w.List1->findItems(QStringLiteral("Kenwood"), Qt::MatchExactly).value(0));
  w.List1_Click();
  w.optPollFast->setChecked(true);
  w.Command1_Click();  // hidden, as after Done
  ASSERT_TRUE(w.polling());
  ASSERT_TRUE(test::pump([&] { return state.CurBand == u"20" && state.CurMode == u"CW"; }));

  pull();
  ASSERT_TRUE(test::pump([&] { return !w.polling(); }, 2000));
  EXPECT_FALSE(w.isVisible());  // told on the main window
  EXPECT_EQ(main.calls.filter(QStringLiteral("setRadioLost")), QStringList{QStringLiteral("setRadioLost 1")});
  EXPECT_EQ(w.lblUnProcess->text(), QStringLiteral("The radio's port went away (cable or adapter unplugged?). "
                                                   "Band and mode no longer follow the radio. The port is tried "
                                                   "again every second; End Test stops the tries."));
  EXPECT_TRUE(w.Command2->isEnabled());
  EXPECT_FALSE(w.Label2->isVisibleTo(&w));
  // While it is away the tries open nothing: not the device the port's map
  // falls back to once the link has gone.
  spin(1300);
  EXPECT_FALSE(w.polling());

  plugIn(7200000, QStringLiteral("LSB"));
  QElapsedTimer back;
  back.start();
  EXPECT_TRUE(test::pump([&] { return state.CurBand == u"40" && state.CurMode == u"PH"; }, 2000))
      << state.CurBand.toStdString() << " " << state.CurMode.toStdString();
  EXPECT_LE(back.elapsed(), 2000);
  EXPECT_EQ(state.CurFreq, QStringLiteral("7.200"));
  EXPECT_TRUE(w.polling());
  EXPECT_TRUE(w.Label2->isVisibleTo(&w));
  EXPECT_FALSE(w.lblUnProcess->text().startsWith(QStringLiteral("The radio's port went away")));
  EXPECT_EQ(main.calls.filter(QStringLiteral("setRadioLost")).value(1), QStringLiteral("setRadioLost 0"));

  // Away again, then End Test: the radio that comes back is left alone.
  pull();
  ASSERT_TRUE(test::pump([&] { return !w.polling(); }, 2000));
  w.Command2->click();
  plugIn(14025000, QStringLiteral("CW"));
  spin(1300);
  EXPECT_FALSE(w.polling());
  EXPECT_TRUE(radio->received.isEmpty());
  EXPECT_EQ(state.CurBand, QStringLiteral("40"));
  w.hide();
  pull();
}

TEST_F(RigPtyTest, AFrequencyChangeOnTheWire) {
  sim::RadioSim radio(QStringLiteral("Kenwood"));
  radio.hz = 7200000;
  auto w = start(radio, QStringLiteral("Kenwood"));
  cycle(*w);
  w->tmrGetData.start();
  spin(30);
  const qsizetype before = radio.received.size();
  QElapsedTimer t;
  t.start();
  w->ChangeFrequency(14.025f);
  spin(30);
  const qint64 md = radio.stampOf("MD3;", before), fa = radio.stampOf("FA00014025000;", before);
  ASSERT_GE(md, 0);
  ASSERT_GE(fa, 0);
  EXPECT_GE(fa - md, 200);  // the 205 ms pause on the wire (ms stamps)
  EXPECT_TRUE(w->polling());
  EXPECT_EQ(radio.hz, 14025000);
  EXPECT_EQ(radio.mode, QStringLiteral("CW"));
  w->tmrGetData.stop();
  for (int i = 0; i < 2; ++i) cycle(*w);
  EXPECT_EQ(state.CurFreq, QStringLiteral("14.025"));
  w->Form_Unload();
}

// A tune is asked for by a click whose work goes on after it (a spot's call
// put into the entry): keys typed while the radio is tuned wait for it.
TEST_F(RigPtyTest, KeysTypedDuringATuneWaitForIt) {
  sim::RadioSim radio(QStringLiteral("Kenwood"));
  auto w = start(radio, QStringLiteral("Kenwood"));
  cycle(*w);
  w->tmrGetData.start();
  QLineEdit entry;
  entry.show();
  entry.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&entry));
  test::queueKeys(&entry, QStringLiteral("2a"));
  w->ChangeFrequency(14.025f);
  EXPECT_EQ(radio.hz, 14025000);
  EXPECT_EQ(entry.text().toStdString(), "");
  spin(30);
  EXPECT_EQ(entry.text().toStdString(), "2a");
  w->tmrGetData.stop();
  w->Form_Unload();
}

// The radio answers a poll just after the change has discarded its input:
// the stale answer must not reach the log once polling resumes.
TEST_F(RigPtyTest, APollAnswerAfterTheDiscardNeverReachesTheLog) {
  sim::RadioSim radio(QStringLiteral("Kenwood"));
  auto w = start(radio, QStringLiteral("Kenwood"));
  cycle(*w);
  ASSERT_EQ(state.CurFreq, QStringLiteral("14.025"));
  radio.lateMs = 30;
  w->tmrGetData_Timer();  // a poll request the radio answers late
  w->tmrGetData.start();
  w->ChangeFrequency(14.2f);
  w->tmrGetData.stop();
  radio.lateMs = 0;
  state.CurFreq.clear();
  QStringList seen;  // each frequency the read ticks hand to the log
  for (int i = 0; i < 3; ++i) {
    cycle(*w);
    if (!state.CurFreq.isEmpty()) seen << std::exchange(state.CurFreq, QString());
  }
  EXPECT_EQ(seen.value(0), QStringLiteral("14.200"));
  EXPECT_FALSE(seen.contains(QStringLiteral("14.025")));
  EXPECT_TRUE(radio.commands.contains("MD2;"));
  EXPECT_TRUE(radio.commands.contains("FA00014200000;"));
  w->Form_Unload();
}

}  // namespace
}  // namespace fd
