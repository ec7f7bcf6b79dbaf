// The radio's port lost while it is polled, on the real main window and rig
// window: told on the main window (the band and mode labels in their loss
// colour, one notice with one beep on the status line, never over a report
// that must stay readable), every way out of the loss, and the program's
// close, which ends it all without a word.
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <functional>

#include "log/form1.h"
#include "platform/forms.h"
#include "platform/serial.h"
#include "rig/frmfrequencytest.h"
#include "rig/frmrigtune.h"
#include "rig/rigcontrolfrm.h"
#include "rig/rigservice.h"
#include "spots/spectrummap.h"
#include "spots/spotservice.h"
#include "testenv.h"

namespace fd {
namespace {

// Kenwood on port 1, polled every 100 ms.
const QByteArray kKenwood =
    "\"4800 \"\r\n\"N\"\r\n\"8\"\r\n\"2\"\r\n\"MD;\"\r\n\"FA;\"\r\n\"4800,N,8,2\"\r\n1\r\n\"N\"\r\n\"F\"\r\n"
    "\"Kenwood\"\r\n0\r\n1\r\n1\r\n";
const QString kHeld = QStringLiteral("Select a band and mode from the menu bar!");
const QString kNotice = QStringLiteral("The radio's port went away: band and mode no longer follow it.");

class RigLoss : public test::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    setSerialFactory([this] {
      auto p = std::make_unique<FakeSerialPort>();
      ports.push_back(p.get());
      return p;
    });
    state.CurBand = QStringLiteral("20");
    state.CurMode = QStringLiteral("PH");
    state.RigType = QStringLiteral("Kenwood");
    writeFile("RigCntrl.txt", kKenwood);
    writeFile("fdlog.dat", test::recordLine("K2ABC", "1A", "STX", "2024/06/22", "17:00:00", "20", "PH"));
    auto rigService = std::make_unique<RigService>(state);
    rig = rigService.get();
    sv.rig = std::move(rigService);
    form = std::make_unique<Form1>(state, sv);
    sv.attach(*form);
    form->book.mnuopen2();
    form->ShowBandAndMode();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    form->txtCall->setFocus(Qt::OtherFocusReason);
    form->setStatus(kHeld);
    rig->startRadioLink();
    w = rig->rigWindow();
    ASSERT_TRUE(w->polling());
    ASSERT_FALSE(w->isVisible());
  }
  void TearDown() override {
    form.reset();
    sv = Services{};
    setSerialFactory({});
  }
  // The adapter pulled; the loss's own beep is cleared.
  void lose() {
    port()->vanish();
    ASSERT_TRUE(w->portLost());
    fake->dialogs->clear();
  }
  // How the main window shows the loss: both labels and the status line.
  void expectTold(bool lost, const QString& status) {
    EXPECT_EQ(form->Label30->backColor(), lost ? kRadioLost : -1);
    EXPECT_EQ(form->Label12->backColor(), lost ? kRadioLost : -1);
    EXPECT_EQ(form->lblDialog->text().toStdString(), status.toStdString());
  }

 public:
  // The rows' actions reach these through the fixture.
  using ProgramFolderTest::fake;
  using ProgramFolderTest::state;
  void type(const char* keys) { QTest::keyClicks(QApplication::focusWidget(), QString::fromLatin1(keys)); }
  void click(const QString& family) {
    w->List1->setCurrentItem(w->List1->findItems(family, Qt::MatchExactly).value(0));
    w->List1_Click();
  }
  FakeSerialPort* port() { return ports.back(); }
  // As Ctrl+R shows it. The offscreen platform activates a window at its
  // first showing only.
  void showRigWindow() {
    rig->showRigInterface();
    if (QApplication::activeWindow() != w) QApplication::setActiveWindow(w);
    ASSERT_EQ(QApplication::activeWindow(), w);
  }

  std::vector<FakeSerialPort*> ports;
  Services sv;
  RigService* rig = nullptr;
  RigControlfrm* w = nullptr;
  std::unique_ptr<Form1> form;
};

TEST_F(RigLoss, TheLossIsToldOnTheMainWindowAndTheTypingGoesOn) {
  fake->dialogs->clear();
  port()->vanish();
  // No window over the log: the main window keeps the focus in Call.
  EXPECT_FALSE(w->isVisible());
  EXPECT_EQ(QApplication::activeWindow(), form.get());
  EXPECT_EQ(QApplication::focusWidget(), form->txtCall);
  expectTold(true, kNotice);
  EXPECT_EQ(fake->dialogs->beeps, 1);
  EXPECT_TRUE(fake->dialogs->shown.isEmpty());
  // The link: port closed, no polling, End Test to stop the tries, a try a second.
  EXPECT_FALSE(port()->isOpen());
  EXPECT_FALSE(w->polling());
  EXPECT_TRUE(w->Command2->isEnabled());
  EXPECT_TRUE(w->portLost());
  EXPECT_EQ(w->tmrReopen.interval(), 1000);
  EXPECT_TRUE(w->lblUnProcess->text().contains(QStringLiteral("tried again every second")));
  // A try that fails changes nothing and says nothing again.
  port()->failOpen = true;
  w->tmrReopen_Timer();
  EXPECT_EQ(port()->reopenTries, 1);
  expectTold(true, kNotice);
  EXPECT_EQ(fake->dialogs->beeps, 1);
  // A band chosen meanwhile keeps the loss colour: the value still does not follow.
  form->selectBand(QStringLiteral("40"));
  expectTold(true, kNotice);
  // A call typed during the loss goes into Call.
  type("k1ab");
  EXPECT_EQ(form->txtCall->text(), QStringLiteral("K1AB"));
  EXPECT_FALSE(w->isVisible());
}

// Each row starts lost, with the rig window shown as Ctrl+R shows it; a due
// try then finds the radio back.
TEST_F(RigLoss, EachRowOfTheLinksStates) {
  struct Row {
    const char* what;
    std::function<void(RigLoss&)> act;
    bool lost, polling, shown, saved;
    int opens;  // by the port map, as Test opens
  };
  const Row rows[] = {
      {"Done", [](RigLoss& t) { t.w->cmdDone->click(); }, true, false, false, true, 0},
      {"Esc", [](RigLoss& t) { QTest::keyClick(t.w, Qt::Key_Escape); }, true, false, false, true, 0},
      {"the close box", [](RigLoss& t) { t.w->close(); }, true, false, false, true, 0},
      {"Test", [](RigLoss& t) { t.w->Command1->click(); }, false, true, true, false, 1},
      {"Test, the port refused",
       [](RigLoss& t) {
         t.port()->failOpen = true;
         t.fake->dialogs->answers.push_back(Answer::Ok);
         t.w->Command1->click();
         ASSERT_EQ(t.fake->dialogs->shown.size(), 1);
         EXPECT_EQ(t.fake->dialogs->shown[0].title, QStringLiteral("Invalid Comm Settings."));
         t.port()->failOpen = false;
       },
       false, false, true, false, 0},
      {"End Test", [](RigLoss& t) { t.w->Command2->click(); }, false, false, true, false, 0},
      {"a family", [](RigLoss& t) { t.click(QStringLiteral("Elecraft")); }, false, false, true, false, 0},
      {"None", [](RigLoss& t) { t.click(QStringLiteral("None")); }, false, false, true, false, 0},
      {"a serial option", [](RigLoss& t) { t.w->optBaud[3]->click(); }, false, false, true, false, 0},
      {"a port number", [](RigLoss& t) { t.w->optComm[2]->click(); }, false, false, true, false, 0},
      {"the focus into the frequency request",
       [](RigLoss& t) { t.w->txtFreq->setFocus(Qt::MouseFocusReason); }, false, false, true, false, 0},
      {"the focus into the mode request", [](RigLoss& t) { t.w->txtMode->setFocus(Qt::TabFocusReason); }, false,
       false, true, false, 0},
      {"the port back", [](RigLoss& t) { t.w->tmrReopen_Timer(); }, false, true, true, false, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    state.RigType = QStringLiteral("Kenwood");
    click(QStringLiteral("Kenwood"));
    w->optComm[0]->click();
    w->Command1_Click();
    ASSERT_TRUE(w->polling());
    w->hide();
    form->setStatus(kHeld);
    lose();
    showRigWindow();
    ASSERT_TRUE(w->portLost());  // showing the window is no way out
    QFile::remove(path("RigCntrl.txt"));
    QFile::remove(path("fdpref.dat"));
    const int opens = port()->opens, tries = port()->reopenTries;
    port()->written.clear();

    r.act(*this);
    EXPECT_EQ(w->portLost(), r.lost);
    EXPECT_EQ(w->polling(), r.polling);
    EXPECT_EQ(w->isVisible(), r.shown);
    expectTold(r.lost, r.lost ? kNotice : kHeld);
    EXPECT_EQ(fake->dialogs->beeps, 0);
    EXPECT_EQ(QFile::exists(path("RigCntrl.txt")), r.saved);
    EXPECT_EQ(QFile::exists(path("fdpref.dat")), r.saved);
    const bool back = std::string(r.what) == "the port back";
    EXPECT_EQ(port()->opens - opens, r.opens + (back ? 1 : 0));
    EXPECT_EQ(port()->reopenTries - tries, back ? 1 : 0);
    // Polling starts with a request, never with a read of what went with the port.
    if (r.polling) EXPECT_EQ(port()->written, QByteArray("FA;MD;"));

    // A try falls due: the radio is found again only while the tries run.
    const int before = port()->opens;
    w->tmrReopen_Timer();
    EXPECT_EQ(w->polling(), r.lost || r.polling);
    EXPECT_EQ(port()->opens - before, r.lost ? 1 : 0);
    if (r.lost) expectTold(false, kHeld);
    w->Command2_Click();
    w->hide();
  }
}

// A report the operator must read stays: then the labels alone tell, with
// no beep, and the return leaves the line as it stands.
TEST_F(RigLoss, TheNoticeNeverCoversAReport) {
  struct Row {
    const char* what;
    std::function<void(RigLoss&)> before, during;
    QString lost, back;  // the status line while lost, and once back
    int beeps;
  };
  const QString dupe = QStringLiteral("Dupe:");
  const QString keyboardCW = QStringLiteral("Keyboard CW mode is ON!  Press F12 to exit keyboard CW mode.");
  const QString keyboardRTTY = QStringLiteral("Keyboard RTTY mode.  Press F12 to exit keyboard RTTY.");
  const Row rows[] = {
      {"a plain line", {}, {}, kNotice, kHeld, 1},
      {"a duplicate report", [](RigLoss& t) { t.type("k2abc "); }, {}, dupe, dupe, 0},
      {"the keyboard CW caption",
       [](RigLoss& t) {
         t.state.CurMode = QStringLiteral("CW");
         t.state.KeyingType = 1;
         QTest::keyClick(t.form->txtCall, Qt::Key_F12);
       },
       {}, keyboardCW, keyboardCW, 0},
      {"the keyboard RTTY caption",
       [](RigLoss& t) {
         t.state.CurMode = QStringLiteral("DIG");
         t.state.DigLinkUp = 1;
         QTest::keyClick(t.form->txtCall, Qt::Key_F12);
       },
       {}, keyboardRTTY, keyboardRTTY, 0},
      // Typing rewrites the line: the return leaves what typing wrote.
      {"a call typed during the loss", {}, [](RigLoss& t) { t.type("w"); }, QStringLiteral(" "), QStringLiteral(" "), 1},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    form->cmdClear_Click();
    form->setStatus(kHeld, kStatusNormal);
    state.CurMode = QStringLiteral("PH");
    state.DupeFlag = 0;
    if (r.before) r.before(*this);
    const ColorValue back = form->lblDialog->backColor();
    const int beeps = fake->dialogs->beeps;
    port()->vanish();
    ASSERT_TRUE(w->portLost());
    if (r.during) r.during(*this);
    EXPECT_TRUE(form->lblDialog->text().startsWith(r.lost)) << form->lblDialog->text().toStdString();
    EXPECT_EQ(form->Label30->backColor(), kRadioLost);
    EXPECT_EQ(fake->dialogs->beeps - beeps, r.beeps);
    w->tmrReopen_Timer();
    ASSERT_TRUE(w->polling());
    EXPECT_TRUE(form->lblDialog->text().startsWith(r.back)) << form->lblDialog->text().toStdString();
    if (r.back != QStringLiteral(" ")) EXPECT_EQ(form->lblDialog->backColor(), back);
    EXPECT_EQ(form->Label30->backColor(), -1);
    // Out of keyboard CW and RTTY for the next row.
    if (state.KeyboardCW || form->KeyboardRTTY) QTest::keyClick(form->txtCall, Qt::Key_F12);
    state.KeyingType = 0;
    state.DigLinkUp = 0;
  }
}

// A tune asked for during the loss, by each kind of caller, says once that
// the port is closed and sends nothing; the tries go on, the loss stays shown.
// Stopped on purpose (End Test, no radio), the same tune says nothing.
TEST_F(RigLoss, ATuneDuringTheLossSaysThePortIsClosedOncePerRequest) {
  SpotService spots(state);
  spots.attach(*form);
  spots.BandMapSpots(QStringLiteral("JA1ABC"), QStringLiteral("14025"), QString());
  int slot = -1;
  for (int i = 0; i < SpotStore::kSlots; ++i)
    if (spots.store.slot[static_cast<size_t>(i)].freq > 0) slot = i;
  ASSERT_GE(slot, 0);
  auto* row = new QTreeWidgetItem(form->txtDX, {QStringLiteral("K1AB"), QStringLiteral("7.026")});
  const struct {
    const char* what;
    std::function<void()> ask;
  } callers[] = {
      {"the tune window's frequency",
       [&] {
         frmRigTune tune(state, [&] { return w; });
         tune.txtFreq->setProgramText(QStringLiteral("14.025"));
         tune.Command1->click();
       }},
      {"a band button of the tune window",
       [&] {
         frmRigTune tune(state, [&] { return w; });
         tune.cmdBand[5]->click();
       }},
      {"a spot's right click on the band map", [&] { spots.lblDXSpot_MouseDown(slot, 2); }},
      {"a row of the spot list",
       [&] {
         form->txtDX->setCurrentItem(row);
         spots.txtDX_Click();
       }},
      {"a spot's right click on the spectrum map",
       [&] {
         SpectrumMap map(spots.store, state, form.get());
         map.lblDXSpot_MouseDown(slot, 2);
       }},
      {"the frequency test window",
       [&] {
         frmFrequencyTest test(*w);
         test.Command2->click();
       }},
  };
  const struct {
    const char* how;
    std::function<void(RigLoss&)> stop;  // none: the port lost
  } states[] = {
      {"lost", {}},
      {"End Test", [](RigLoss& t) { t.w->Command2_Click(); }},
      {"no radio", [](RigLoss& t) { t.click(QStringLiteral("None")); }},
  };
  for (const auto& st : states) {
    for (const auto& c : callers) {
      SCOPED_TRACE(std::string(st.how) + ", " + c.what);
      state.RigType = QStringLiteral("Kenwood");
      click(QStringLiteral("Kenwood"));
      w->optComm[0]->click();
      w->Command1_Click();
      ASSERT_TRUE(w->polling());
      lose();
      if (st.stop) st.stop(*this);
      port()->written.clear();
      if (!st.stop) fake->dialogs->answers.push_back(Answer::Ok);
      c.ask();
      if (st.stop) {
        EXPECT_TRUE(fake->dialogs->shown.isEmpty());
      } else {
        EXPECT_EQ(fake->dialogs->titles().join(u'|').toStdString(), "Error Changing Frequency");
        EXPECT_EQ(fake->dialogs->shown.value(0).text.toStdString(), "The radio's port is closed.");
      }
      EXPECT_TRUE(port()->written.isEmpty());
      EXPECT_EQ(w->portLost(), !st.stop);
      EXPECT_FALSE(w->polling());
      EXPECT_EQ(form->Label30->backColor(), st.stop ? -1 : kRadioLost);
      EXPECT_EQ(fake->dialogs->beeps, 0);
      fake->dialogs->clear();
      w->Command2_Click();
    }
  }
}

// The program's close: no try, no window, nothing on the main window, no
// beep, whatever the link was doing; also when a frequency command still
// waits on the radio as the close comes.
TEST_F(RigLoss, TheCloseEndsTheLinkWithoutAWord) {
  const struct {
    const char* what;
    bool lost;
    bool inCommand;
  } rows[] = {{"polling", false, false}, {"inside a frequency command", false, true}, {"lost", true, false}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    if (!w) {  // the close of the row before took the window
      rig->startRadioLink();
      w = rig->rigWindow();
    }
    ASSERT_TRUE(w->polling());
    if (r.lost) lose();
    const QString status = form->lblDialog->text();
    const ColorValue label = form->Label30->backColor();
    fake->dialogs->clear();
    QPointer<RigControlfrm> window = w;
    bool shownAtClose = false;
    if (r.inCommand) {
      QTimer::singleShot(0, form.get(), [&] { form->Form_Unload(); });
      w->ChangeFrequency(14.2f);
      shownAtClose = window && window->isVisible();
    } else {
      form->Form_Unload();
    }
    EXPECT_FALSE(shownAtClose);
    test::pump([&] { return window.isNull(); }, 1000);
    EXPECT_TRUE(window.isNull());
    EXPECT_EQ(form->lblDialog->text().toStdString(), status.toStdString());
    EXPECT_EQ(form->Label30->backColor(), label);
    EXPECT_EQ(fake->dialogs->beeps, 0);
    EXPECT_TRUE(fake->dialogs->shown.isEmpty());
    w = nullptr;
  }
}

}  // namespace
}  // namespace fd
