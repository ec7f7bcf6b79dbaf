// The rig interface window over fake ports: presets, bytes at open and
// unload, "RigCntrl.txt" byte for byte, the read-back into the main window,
// the port failure, and a lost port: told to the main window, tried again
// once a second, and polled again when it opens.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QTest>
#include <QListWidget>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QRadioButton>
#include <QCheckBox>
#include <QLineEdit>
#include <QLabel>

#include "fakemainwindow.h"
#include "platform/forms.h"
#include "rig/rigcontrolfrm.h"
#include "rig/rigservice.h"
#include "testenv.h"

namespace fd {
namespace {

QByteArray hex(const char* h) { return cat::HexTextToBytes(QString::fromLatin1(h)); }

class RigWindowTest : public test::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    state.RigType = QStringLiteral("None");
    state.CurBand = QStringLiteral("40");
    state.CurMode = QStringLiteral("PH");
    setSerialFactory([this] {
      auto p = std::make_unique<FakeSerialPort>();
      ports.push_back(p.get());
      p->failOpen = failOpen;
      return p;
    });
  }
  void TearDown() override { setSerialFactory({}); }
  std::unique_ptr<RigControlfrm> make() { return std::make_unique<RigControlfrm>(state, &main, nullptr); }
 public:
  void click(RigControlfrm& w, const QString& family) {
    w.List1->setCurrentItem(w.List1->findItems(family, Qt::MatchExactly).value(0));
    w.List1_Click();
  }
  FakeSerialPort* port() { return ports.back(); }
 protected:

  std::vector<FakeSerialPort*> ports;
  bool failOpen = false;
  test::FakeMainWindow main{&state};
};

QString checked(const QList<QRadioButton*>& group) {
  for (QRadioButton* b : group)
    if (b->isChecked()) return b->text();
  return {};
}

TEST_F(RigWindowTest, FamilyPresets) {
  auto w = make();
  const struct { const char* family; const char* baud; const char* data; const char* stop; const char* freq;
                 const char* mode; bool hex; bool label10; } rows[] = {
      {"Kenwood", "4.8", "8", "2", "FA;", "MD;", false, false},
      {"Elecraft", "4.8", "8", "2", "FA;", "MD;", false, false},
      {"Kenwood 2", "4.8", "8", "2", "IF;", "", false, false},
      {"Icom", "1.2", "8", "1", "FE FE 64 E0 03 FD", "FE FE 64 E0 04 FD", true, true},
      {"Icom 735", "1.2", "8", "1", "FE FE 64 E0 03 FD", "FE FE 64 E0 04 FD", true, true},
      {"Ten Tec Omni VI", "1.2", "8", "1", "FE FE 04 E0 03 FD", "FE FE 04 E0 04 FD", true, false},
      {"Ten Tec Orion", "56", "8", "1", "?AF", "?RMM", false, false},
      {"Ten Tec Fnt Pnl", "56", "8", "1", "3F 41 0D", "3F 4D 0D", true, false},
      {"Yaesu", "4.8", "8", "2", "00 00 00 00 03", "", true, false},
      {"Yaesu 757 GX II", "4.8", "8", "2", "00 00 00 00 10", "", true, false},
      {"Yaesu 1000", "4.8", "8", "2", "00 00 00 02 10", "", true, false},
      {"Ten Tec Orion", "56", "8", "1", "?AF", "?RMM", false, false},
      {"Yaesu FTdx9000", "4.8", "8", "1", "FA;", "MD0;", false, false},  // only the baud after Orion
      {"Other", "4.8", "8", "1", "", "", false, false},
  };
  for (const auto& r : rows) {
    click(*w, QString::fromLatin1(r.family));
    SCOPED_TRACE(r.family);
    EXPECT_EQ(checked(w->optBaud), QString::fromLatin1(r.baud));
    EXPECT_EQ(checked({w->optData7, w->optData8}), QString::fromLatin1(r.data));
    EXPECT_EQ(checked({w->optStop1, w->optStop2}), QString::fromLatin1(r.stop));
    EXPECT_TRUE(w->optParityNone->isChecked());
    EXPECT_EQ(w->txtFreq->text(), QString::fromLatin1(r.freq));
    EXPECT_EQ(w->txtMode->text(), QString::fromLatin1(r.mode));
    EXPECT_EQ(w->chkConvToHex->isChecked(), r.hex);
    EXPECT_EQ(w->Label10->isVisibleTo(w.get()), r.label10);
    EXPECT_EQ(state.RigType, QString::fromLatin1(r.family));
  }
  EXPECT_TRUE(w->chkConvToHex->isEnabled());  // "Other"
}

TEST_F(RigWindowTest, BytesAtOpenAndUnload) {
  const struct { const char* family; QByteArray open, unloadPolling; bool opens; } rows[] = {
      {"Yaesu", hex("00 00 00 00 00"), hex("00 00 00 00 80"), true},
      {"Yaesu 757 GX II", hex("00 00 00 00 00"), hex("00 00 00 00 80"), true},
      {"Yaesu 1000 D", hex("00 00 00 00 00"), hex("00 00 00 00 80"), true},
      {"Yaesu FTdx9000", "", "", true},
      {"Ten Tec Orion", "X\r", "", true},
      {"Kenwood", "", "", true},
      {"Ten Tec Pegasus", "", "", false},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.family);
    ports.clear();
    auto w = make();
    click(*w, QString::fromLatin1(r.family));
    w->Command1_Click();
    EXPECT_EQ(port()->opens, r.opens ? 1 : 0);
    EXPECT_TRUE(w->polling());
    // The CAT-on bytes, then the first send tick's request.
    EXPECT_TRUE(port()->written.startsWith(r.open)) << port()->written.toHex(' ').toStdString();
    w->Command1_Click();  // at each open
    EXPECT_EQ(port()->opens, r.opens ? 2 : 0);
    port()->written.clear();
    w->Form_Unload();
    EXPECT_EQ(port()->written, r.unloadPolling);
    EXPECT_FALSE(port()->isOpen());
  }
  // Idle: nothing at unload.
  auto w = make();
  click(*w, QStringLiteral("Yaesu 757 GX II"));
  w->Form_Unload();
  EXPECT_TRUE(port()->written.isEmpty());
}

TEST_F(RigWindowTest, HandshakeAndLinesAtEveryOpen) {
  auto w = make();
  click(*w, QStringLiteral("Ten Tec Orion"));
  w->optPowerDTR->setChecked(true);
  w->Command1_Click();
  EXPECT_EQ(port()->handshaking(), 2);
  EXPECT_EQ(port()->settings(), QStringLiteral("56000,N,8,1"));
  EXPECT_TRUE(port()->lineLog.contains(QStringLiteral("DTR 1")));
  click(*w, QStringLiteral("Kenwood"));
  w->Command1_Click();
  EXPECT_EQ(port()->handshaking(), 0);
  EXPECT_EQ(port()->settings(), QStringLiteral("4800,N,8,2"));
}

TEST_F(RigWindowTest, SettingsFileByteForByteAndBack) {
  {
    auto w = make();
    click(*w, QStringLiteral("Kenwood"));
    w->optComm[2]->setChecked(true);
    w->cmdDone_Click();
    EXPECT_EQ(readFile("RigCntrl.txt"),
              QByteArray("\"4800 \"\r\n\"N\"\r\n\"8\"\r\n\"2\"\r\n\"MD;\"\r\n\"FA;\"\r\n\"4800,N,8,2\"\r\n3\r\n\"N\"\r\n"
                         "\"M\"\r\n\"Kenwood\"\r\n0\r\n1\r\n1\r\n"));
    EXPECT_EQ(main.prefSaves, 1);
    EXPECT_FALSE(w->isVisible());
    w->Form_Unload();
  }
  {
    auto w = make();
    click(*w, QStringLiteral("Icom"));
    w->optComm[0]->setChecked(true);
    w->cmdDone_Click();
    EXPECT_EQ(readFile("RigCntrl.txt"),
              QByteArray("\"1200 \"\r\n\"N\"\r\n\"8\"\r\n\"1\"\r\n\"FE FE 64 E0 04 FD\"\r\n\"FE FE 64 E0 03 FD\"\r\n"
                         "\"1200,N,8,1\"\r\n1\r\n\"N\"\r\n\"M\"\r\n\"Icom\"\r\n1\r\n1\r\n1\r\n"));
    w->Form_Unload();
  }
  state.RigType = QStringLiteral("None");
  auto w = make();  // read back
  EXPECT_EQ(state.RigType, QStringLiteral("Icom"));
  EXPECT_EQ(w->List1->currentItem()->text(), QStringLiteral("Icom"));
  EXPECT_EQ(checked(w->optBaud), QStringLiteral("1.2"));
  EXPECT_TRUE(w->optStop1->isChecked());
  EXPECT_EQ(w->txtFreq->text(), QStringLiteral("FE FE 64 E0 03 FD"));
  EXPECT_TRUE(w->chkConvToHex->isChecked());
  EXPECT_TRUE(w->Label10->isVisibleTo(w.get()));
  EXPECT_FALSE(w->polling());
}

TEST_F(RigWindowTest, MissingFileKeepsTheInitialWindowAndABadPortKeepsTheRest) {
  {
    auto w = make();
    EXPECT_EQ(checked(w->optBaud), QStringLiteral("56"));
    EXPECT_TRUE(w->optComm[0]->isChecked());
    EXPECT_TRUE(w->optPollMed->isChecked());
    EXPECT_TRUE(w->OptRig->isChecked());
    EXPECT_TRUE(w->chkFrequency->isChecked());
    EXPECT_FALSE(w->Command2->isEnabled());
    EXPECT_EQ(state.RigType, QStringLiteral("None"));
  }
  // The mode-by value: 1 to 3 choose; any other leaves the window's choice ("Rig").
  const struct { const char* modeBy; QRadioButton* RigControlfrm::*chosen; } rows[] = {
      {"3", &RigControlfrm::OptDont}, {"2", &RigControlfrm::OptFreq}, {"0", &RigControlfrm::OptRig},
      {"7", &RigControlfrm::OptRig}};
  for (const auto& r : rows) {
    writeFile("RigCntrl.txt", QByteArray("\"4800 \"\r\n\"N\"\r\n\"8\"\r\n\"2\"\r\n\"MD;\"\r\n\"FA;\"\r\n\"4800,N,8,2\"\r\n"
                                         "12\r\n\"R\"\r\n\"F\"\r\n\"Kenwood\"\r\n0\r\n0\r\n") +
                                  r.modeBy + "\r\n");
    auto w = make();
    EXPECT_EQ(checked(w->optBaud), QStringLiteral("4.8"));
    EXPECT_TRUE(w->optPowerRTS->isChecked());
    EXPECT_TRUE(w->optPollFast->isChecked());
    EXPECT_TRUE(((*w).*r.chosen)->isChecked()) << r.modeBy;
    EXPECT_FALSE(w->chkFrequency->isChecked());
  }
}

TEST_F(RigWindowTest, ReadTicksDriveTheMainWindowEvenHidden) {
  auto w = make();
  click(*w, QStringLiteral("Kenwood"));
  w->Command1_Click();  // one send tick at once
  EXPECT_EQ(port()->written, QByteArray("FA;MD;"));
  port()->pending = "FA00014025000;MD3;";
  w->tmrGetData_Timer();
  EXPECT_EQ(state.CurBand, QStringLiteral("20"));
  EXPECT_EQ(state.CurMode, QStringLiteral("CW"));
  EXPECT_EQ(state.CurFreq, QStringLiteral("14.025"));
  // Mode by frequency overrides the radio's mode.
  w->OptFreq->click();
  w->tmrGetData_Timer();
  port()->pending = "FA00014100000;MD2;";
  w->tmrGetData_Timer();
  EXPECT_EQ(state.CurMode, QStringLiteral("CW"));
  // "Don't Use" and an unticked "Use Frequency" stop mode and band.
  w->OptDont->click();
  w->chkFrequency->setChecked(false);
  w->tmrGetData_Timer();
  port()->pending = "FA00007200000;MD1;";
  w->tmrGetData_Timer();
  EXPECT_EQ(state.CurBand, QStringLiteral("20"));
  EXPECT_EQ(state.CurMode, QStringLiteral("CW"));
}

TEST_F(RigWindowTest, ShownWindowDisplaysTheAnswer) {
  auto w = make();
  click(*w, QStringLiteral("Kenwood"));
  w->show();
  w->ChkConvHex->setChecked(true);
  w->Command1_Click();
  EXPECT_EQ(w->lblFreq->text(), QStringLiteral("No Response"));
  EXPECT_TRUE(w->Label2->isVisible());
  port()->pending = "FA00014025000;MD3;";
  w->tmrGetData_Timer();
  EXPECT_EQ(w->lblFreq->text(), QStringLiteral("14.02500"));
  EXPECT_EQ(w->lblMode->text(), QStringLiteral("CW"));
  EXPECT_TRUE(w->lblUnProcess->text().startsWith(QStringLiteral("46 41 30 ")));
  w->Command2_Click();
  EXPECT_FALSE(w->polling());
  EXPECT_FALSE(port()->isOpen());
  EXPECT_FALSE(w->Label2->isVisible());
  w->hide();
}

TEST_F(RigWindowTest, PortFailureShowsTheMessageAndTheWindowAtStartUp) {
  state.RigType = QStringLiteral("Kenwood");
  failOpen = true;
  RigService sv(state);
  sv.attach(main);
  fake->dialogs->answers.push_back(Answer::Ok);
  int shown = 0;
  test::ScopedModalHook hook([&](QWidget* win) {
    ++shown;
    EXPECT_EQ(win->windowTitle(), QStringLiteral(" Rig Interface Setup"));
    win->hide();
  });
  sv.startRadioLink();
  ASSERT_EQ(fake->dialogs->shown.size(), 1);
  EXPECT_EQ(fake->dialogs->shown[0].title, QStringLiteral("Invalid Comm Settings."));
  EXPECT_EQ(shown, 1);
  EXPECT_FALSE(sv.rigWindow()->polling());
  EXPECT_FALSE(sv.rigWindow()->Command2->isEnabled());
  sv.unload(SideWindow::RigControlfrm);
  EXPECT_FALSE(sv.rigWindowLoaded());
}

constexpr char kWentAway[] =
    "The radio's port went away (cable or adapter unplugged?). Band and mode no longer follow the radio. The port "
    "is tried again every second; End Test stops the tries.";

// Polling Kenwood at F with the window hidden, as after Done.
class LostPortTest : public RigWindowTest {
 protected:
  void SetUp() override {
    RigWindowTest::SetUp();
    w = make();
    click(*w, QStringLiteral("Kenwood"));
    w->optPollFast->setChecked(true);
    w->Command1_Click();
    ASSERT_TRUE(w->polling());
  }
  std::unique_ptr<RigControlfrm> w;
};

TEST_F(LostPortTest, ToldToTheMainWindowOncePerLossTriedQuietlyAndPollingResumes) {
  const QString lost = QStringLiteral("setRadioLost");
  port()->vanish();
  EXPECT_FALSE(w->polling());
  EXPECT_FALSE(port()->isOpen());
  EXPECT_FALSE(w->isVisible());  // no window over the log
  EXPECT_EQ(main.calls.filter(lost), QStringList{QStringLiteral("setRadioLost 1")});
  EXPECT_EQ(w->lblUnProcess->text(), QString::fromLatin1(kWentAway));
  EXPECT_TRUE(w->Command2->isEnabled());
  EXPECT_FALSE(w->Label2->isVisibleTo(w.get()));
  w->tmrGetData_Timer();  // a stray tick is harmless

  // Still away: no box, no window, nothing told again.
  port()->failOpen = true;
  w->tmrReopen_Timer();
  EXPECT_EQ(port()->reopenTries, 1);
  EXPECT_FALSE(w->polling());
  EXPECT_FALSE(w->isVisible());
  EXPECT_TRUE(fake->dialogs->shown.isEmpty());
  EXPECT_EQ(main.calls.filter(lost).size(), 1);

  // Back: the same settings and lines as Test, and a request at once.
  port()->failOpen = false;
  port()->written.clear();
  port()->lineLog.clear();
  w->tmrReopen_Timer();
  EXPECT_TRUE(w->polling());
  EXPECT_EQ(w->tmrGetData.interval(), 50);
  EXPECT_EQ(port()->settings(), QStringLiteral("4800,N,8,2"));
  EXPECT_EQ(port()->lineLog.value(0), QStringLiteral("open"));
  EXPECT_EQ(port()->written, QByteArray("FA;MD;"));
  EXPECT_TRUE(w->Label2->isVisibleTo(w.get()));
  EXPECT_TRUE(w->lblUnProcess->text().isEmpty());
  EXPECT_EQ(main.calls.filter(lost).value(1), QStringLiteral("setRadioLost 0"));
  port()->pending = "FA00007200000;MD1;";
  w->tmrGetData_Timer();
  EXPECT_EQ(state.CurBand, QStringLiteral("40"));
  EXPECT_EQ(state.CurMode, QStringLiteral("PH"));
  EXPECT_EQ(state.CurFreq, QStringLiteral("7.200"));
  EXPECT_FALSE(w->portLost());
}

TEST_F(LostPortTest, TriesComeOneASecond) {
  port()->failOpen = true;
  QElapsedTimer t;
  t.start();
  port()->vanish();
  QList<qint64> tries;
  while (t.elapsed() < 2300) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    if (port()->reopenTries > tries.size()) tries << t.elapsed();
    QThread::msleep(1);
  }
  ASSERT_FALSE(tries.isEmpty());
  EXPECT_LE(tries.size(), 2);
  EXPECT_GE(tries[0], 990);
  if (tries.size() == 2) EXPECT_GE(tries[1] - tries[0], 990);
}

TEST_F(LostPortTest, EachWayOutEndsTheTries) {
  const struct { const char* what; std::function<void(RigWindowTest&, RigControlfrm&)> act; } rows[] = {
      {"End Test", [](RigWindowTest&, RigControlfrm& w) { w.Command2->click(); }},
      {"a serial option", [](RigWindowTest&, RigControlfrm& w) { w.optBaud[3]->click(); }},
      {"a family", [](RigWindowTest& t, RigControlfrm& w) { t.click(w, QStringLiteral("Elecraft")); }},
      {"None", [](RigWindowTest& t, RigControlfrm& w) { t.click(w, QStringLiteral("None")); }},
      {"the window's unload", [](RigWindowTest&, RigControlfrm& w) { w.Form_Unload(); }},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    click(*w, QStringLiteral("Kenwood"));
    w->Command1_Click();
    ASSERT_TRUE(w->polling());
    port()->vanish();
    ASSERT_TRUE(w->portLost());
    main.calls.clear();
    r.act(*this, *w);
    EXPECT_FALSE(w->portLost());
    // The main window hears that the loss is over; at the unload nothing.
    const bool unload = std::string(r.what) == "the window's unload";
    EXPECT_EQ(main.calls.filter(QStringLiteral("setRadioLost")),
              unload ? QStringList() : QStringList{QStringLiteral("setRadioLost 0")});
    const int opens = port()->opens;
    w->tmrReopen_Timer();  // a try already due does nothing
    EXPECT_EQ(port()->opens, opens);
    EXPECT_FALSE(w->polling());
  }
}

// A frequency command finds the port gone: tried again like any loss, but
// never inside a command's waits.
TEST_F(LostPortTest, ALossFoundByACommandIsTriedAgainAfterIt) {
  port()->vanishOnWrite = true;
  fake->dialogs->answers.push_back(Answer::Ok);
  w->ChangeFrequency(14.025f);
  ASSERT_EQ(fake->dialogs->shown.size(), 1);
  EXPECT_EQ(fake->dialogs->shown[0].title, QStringLiteral("Error Changing Frequency"));
  EXPECT_TRUE(w->portLost());
  EXPECT_FALSE(w->isVisible());
  EXPECT_TRUE(main.calls.contains(QStringLiteral("setRadioLost 1")));
  port()->vanishOnWrite = false;

  bool busy = false, openedInside = true;
  QTimer::singleShot(0, w.get(), [&] {
    busy = w->commandBusy();
    w->tmrReopen_Timer();
    openedInside = port()->isOpen();
  });
  fake->dialogs->answers.push_back(Answer::Ok);  // the mode command on the closed port
  QString mode = QStringLiteral("CW");
  w->ChangeMode(14.025f, mode);
  EXPECT_TRUE(busy);
  EXPECT_FALSE(openedInside);
  w->tmrReopen_Timer();
  EXPECT_TRUE(w->polling());
}

TEST_F(RigWindowTest, ChangeFrequencyWhileIdleSaysSo) {
  auto w = make();
  fake->dialogs->answers.push_back(Answer::Ok);
  w->Command3_Click();
  ASSERT_EQ(fake->dialogs->shown.size(), 1);
  EXPECT_EQ(fake->dialogs->shown[0].title, QStringLiteral("You must be polling your rig to test this function."));
}

TEST_F(RigWindowTest, ServiceProvidesTheRigInterface) {
  RigService sv(state);
  EXPECT_TRUE(sv.provides(RigServices::Feature::RigInterface));
  sv.attach(main);
  sv.showRigInterface();
  EXPECT_TRUE(sv.rigWindow()->isVisible());
  sv.unload(SideWindow::RigControlfrm);
}

// The request boxes are lines of RigCntrl.txt: whichever way text comes in,
// no control character or double quote gets into them, and a file written
// after a pasted line end reads back with every value in its place.
TEST_F(RigWindowTest, RequestBoxesTakeTextByEveryWayIn) {
  auto w = make();
  w->show();
  const struct { const char* name; std::function<void(KeyBox*, const QString&)> bring; } ways[] = {
      {"context menu", [](KeyBox* b, const QString& t) { test::pasteByMenu(b, t); }},
      {"Shift+Insert",
       [](KeyBox* b, const QString& t) {
         QApplication::clipboard()->setText(t);
         QTest::keyClick(b, Qt::Key_Insert, Qt::ShiftModifier);
       }},
      {"Ctrl+V",
       [](KeyBox* b, const QString& t) {
         QApplication::clipboard()->setText(t);
         QTest::keyClick(b, Qt::Key_V, Qt::ControlModifier);
       }},
      {"middle button",
       [](KeyBox* b, const QString& t) {
         setPrimarySelectionSource([t] { return t; });
         QTest::mouseClick(b, Qt::MiddleButton, {}, b->rect().center());
         setPrimarySelectionSource({});
       }},
      {"drop",
       [](KeyBox* b, const QString& t) {
         QMimeData data;
         data.setText(t);
         const QPoint at = b->rect().center();
         QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
         QApplication::sendEvent(b, &enter);
         QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, {});
         QApplication::sendEvent(b, &drop);
       }},
      {"input method",
       [](KeyBox* b, const QString& t) {
         QInputMethodEvent commit;
         commit.setCommitString(t);
         QApplication::sendEvent(b, &commit);
       }},
  };
  const struct { const char* name; QString text, want; } texts[] = {
      {"a line end", QStringLiteral("FA;\r\n7"), QStringLiteral("FA;7")},
      {"Tab and Esc", QStringLiteral("\tMD;\x1b"), QStringLiteral("MD;")},
      {"a C1 control", QStringLiteral("FE FE 64 E0 03 FD\u0085"), QStringLiteral("FE FE 64 E0 03 FD")},
      {"double quotes", QStringLiteral("FA;\"X\"IF;"), QStringLiteral("FA;XIF;")},
  };
  QStringList failed;
  for (KeyBox* box : {w->txtFreq, w->txtMode})
    for (const auto& way : ways)
      for (const auto& t : texts) {
        box->clear();
        way.bring(box, t.text);
        if (box->text() != t.want)
          failed << QStringLiteral("%1, %2, %3: \"%4\"")
                        .arg(box == w->txtFreq ? u"frequency" : u"mode", way.name, t.name, box->text());
      }
  EXPECT_TRUE(failed.isEmpty()) << failed.join(u'\n').toStdString();
  // Typed, a double quote goes nowhere either: the radio is asked with what is saved.
  for (KeyBox* box : {w->txtFreq, w->txtMode}) {
    box->clear();
    QTest::keyClicks(box, "FA;\"X\"IF;");
    EXPECT_EQ(box->text().toStdString(), "FA;XIF;");
  }
  EXPECT_EQ(w->poll.req.freq.toStdString(), "FA;XIF;");
  EXPECT_EQ(w->poll.req.mode.toStdString(), "FA;XIF;");
  w->hide();

  // A line end pasted, then Done: the port number and the requests read back.
  click(*w, QStringLiteral("Kenwood"));
  w->optComm[4]->setChecked(true);
  w->txtFreq->clear();
  test::pasteByMenu(w->txtFreq, QStringLiteral("FA;\r\n"));
  w->cmdDone_Click();
  w->Form_Unload();
  auto back = make();
  EXPECT_EQ(back->settings.PortNumber, 5);
  EXPECT_EQ(back->txtFreq->text(), QStringLiteral("FA;"));
  EXPECT_EQ(back->txtMode->text(), QStringLiteral("MD;"));
}

}  // namespace
}  // namespace fd
