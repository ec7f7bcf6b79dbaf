// The main window's load step with whole, short and missing preferences, and
// the closing steps.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "keying/codepracticefrm.h"
#include "keying/cwfrm.h"
#include "keying/cwkeyer.h"
#include "keying/keyingservice.h"
#include "keying/winkeyer.h"
#include "keying/winkeyfrm.h"
#include "log/form1.h"
#include "log/frmstationid.h"
#include "platform/forms.h"
#include "platform/serial.h"
#include "rig/rigcontrolfrm.h"
#include "rig/rigservice.h"
#include "testenv.h"

namespace fd {
namespace {

// Services that write what they are asked to do into one shared list.
struct Recorder {
  QStringList events;
};
QString windowName(SideWindow w) {
  static const char* names[] = {"PhoneFrm",   "CWFrm",      "BlindFrm", "RigControlfrm", "PacketSpotfrm", "SpectrumMap",
                                "SectionMap", "frmBackup",  "frmCWStrings", "frmDigitalSource", "frmWinKey"};
  return names[static_cast<int>(w)];
}
struct RecKeying : KeyingServices {
  explicit RecKeying(Recorder& r) : r(r) {}
  bool loadWaveSettings() override { r.events << "wave2.txt"; return false; }  // missing: the load goes on
  void loadCWSettings() override { r.events << "cw.txt"; }
  void unload(SideWindow w) override { r.events << "unload " + windowName(w); }
  Recorder& r;
};
struct RecRig : RigServices {
  explicit RecRig(Recorder& r) : r(r) {}
  void startRadioLink() override { r.events << "radio"; }
  void unload(SideWindow w) override { r.events << "unload " + windowName(w); }
  Recorder& r;
};
struct RecOutput : OutputServices {
  explicit RecOutput(Recorder& r) : r(r) {}
  void loadBackupWindow() override { r.events << "backup"; }
  void unload(SideWindow w) override { r.events << "unload " + windowName(w); }
  Recorder& r;
};
struct RecSpots : SpotServices {
  explicit RecSpots(Recorder& r) : r(r) {}
  void unload(SideWindow w) override { r.events << "unload " + windowName(w); }
  Recorder& r;
};

const QByteArray kPrefLines[] = {"\"W1AW\"", "\"2A\"", "\"CT\"", "4", "\"CW\"", "\"20\"", "255", "0", "100", "0",
                                 "\"None\"", "0", "0", "\"AB\"", "0", "0", "\"\""};

QByteArray prefFile(int lines, int offsetLine4 = 4) {
  QByteArray out;
  for (int i = 0; i < lines; ++i) out += (i == 3 ? QByteArray::number(offsetLine4) : kPrefLines[i]) + "\r\n";
  return out;
}

class StartLoadTest : public test::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    startDir = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    services.keying = std::make_unique<RecKeying>(rec);
    services.rig = std::make_unique<RecRig>(rec);
    services.output = std::make_unique<RecOutput>(rec);
    services.spots = std::make_unique<RecSpots>(rec);
    writeFile("fdlog.dat", test::recordLine("K1ABC", "2A", "CT", "2024/06/22", "18:05:00", "20", "CW") +
                               test::recordLine("N0AX", "1E", "MN", "2024/06/22", "18:06:00", "40", "PH"));
    // The station window answers Done and notes what it showed and how much
    // of the log was loaded at that moment.
    setModalHook([this](QWidget* w) {
      auto* st = qobject_cast<frmStationID*>(w);
      ASSERT_NE(st, nullptr);
      rec.events << QString("station %1 %2 %3 log=%4")
                        .arg(st->Text1->text(), st->Text6->text(), state.CurBand)
                        .arg(state.QsoCount());
      st->Command1_Click();
    });
  }
  void TearDown() override {
    setModalHook({});
    QDir::setCurrent(startDir);
  }
  std::unique_ptr<Form1> load() {
    auto form = std::make_unique<Form1>(state, services);
    form->Form_Load();
    return form;
  }

  QString startDir;
  Recorder rec;
  Services services;
};

TEST_F(StartLoadTest, EveryStepRunsWhateverThePreferencesFileHolds) {
  struct Case {
    const char* name;
    std::optional<QByteArray> pref;
    bool asks;  // the stored offset disagrees with the clock's 4 hours
    QStringList events;
    QString call, band, rig;
  };
  const Case cases[] = {
      {"whole file, no radio", prefFile(17), false,
       {"station W1AW 4 20 log=0", "wave2.txt", "cw.txt", "backup"}, "W1AW", "20", "None"},
      {"no file: no radio", std::nullopt, true,
       {"station  0 40 log=0", "wave2.txt", "cw.txt", "backup"}, "", "40", "None"},
      {"four lines", prefFile(4), false,
       {"station W1AW 4 40 log=0", "wave2.txt", "cw.txt", "backup"}, "W1AW", "40", "None"},
      {"ten lines", prefFile(10), false,
       {"station W1AW 4 20 log=0", "wave2.txt", "cw.txt", "backup"}, "W1AW", "20", "None"},
      {"an empty radio read from the file still starts the link",
       prefFile(17).replace("\"None\"", "\"\""), false,
       {"station W1AW 4 20 log=0", "wave2.txt", "cw.txt", "radio", "backup"}, "W1AW", "20", ""},
      {"an offset beyond a day reads as 0", prefFile(17, 99), true,
       {"station W1AW 0 20 log=0", "wave2.txt", "cw.txt", "backup"}, "W1AW", "20", "None"},
  };
  fake->clock->setZoneOffsetHours(-4);  // the stored 4 agrees with the clock
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    state = ProgramState{};
    rec.events.clear();
    fake->dialogs->clear();
    QFile::remove(path("fdpref.dat"));
    if (c.pref) writeFile("fdpref.dat", *c.pref);
    if (c.asks) fake->dialogs->inputs.push_back("");  // Cancel keeps the stored value

    auto form = load();
    EXPECT_EQ(rec.events, c.events);
    EXPECT_EQ(fake->dialogs->shown.size(), c.asks ? 1 : 0);
    EXPECT_EQ(state.ProgDir, dir.path());
    EXPECT_EQ(state.MyCall, c.call);
    EXPECT_EQ(state.CurBand, c.band);
    EXPECT_EQ(state.RigType, c.rig);
    EXPECT_EQ(state.QsoCount(), 2);  // the log is always loaded
    if (!c.pref) {  // a first start: worked red, remaining blue, and the grid shows them
      EXPECT_EQ(state.WorkedColor, 255);
      EXPECT_EQ(state.RemainingColor, 16711680);
      EXPECT_EQ(form->Label10[static_cast<size_t>(sectionRow("CT"))]->foreColor(), 255);
      EXPECT_EQ(form->Label10[static_cast<size_t>(sectionRow("ENY"))]->foreColor(), 16711680);
    }
    EXPECT_EQ(readFile("fdpref.dat").count('\n'), 17);  // the station step saved a whole file
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->focusWidget(), form->txtCall);
  }
}

TEST_F(StartLoadTest, ProgramFilesAreFoundWithTheCurrentFolderElsewhere) {
  writeFile("fdpref.dat", prefFile(17));
  fake->clock->setZoneOffsetHours(-4);
  QTemporaryDir elsewhere;
  ASSERT_TRUE(QDir::setCurrent(elsewhere.path()));
  state.ProgDir = dir.path();
  auto form = load();
  EXPECT_EQ(QDir::currentPath(), QDir(elsewhere.path()).canonicalPath());  // nobody moved the current folder
  EXPECT_EQ(state.MyCall, "W1AW");   // fdpref.dat read from the program folder
  EXPECT_EQ(state.CurBand, "20");
  EXPECT_EQ(state.QsoCount(), 2);    // and the log
  EXPECT_FALSE(QFile::exists(elsewhere.path() + "/fdpref.dat"));
  EXPECT_FALSE(QFile::exists(elsewhere.path() + "/fdlog.dat"));
  EXPECT_EQ(readFile("fdpref.dat").count('\n'), 17);
}

TEST_F(StartLoadTest, OffsetQuestionComesBeforeTheStationWindow) {
  writeFile("fdpref.dat", prefFile(17));
  fake->clock->setZoneOffsetHours(-5);
  fake->dialogs->inputs.push_back("5");
  auto form = load();
  ASSERT_FALSE(rec.events.isEmpty());
  EXPECT_EQ(rec.events.first(), "station W1AW 5 20 log=0");  // the window shows the corrected offset
  EXPECT_FLOAT_EQ(state.UTCOffset, 5.0f);
}

TEST_F(StartLoadTest, CloseIsRefusedWhileCWIsSent) {
  writeFile("fdpref.dat", prefFile(17));
  fake->clock->setZoneOffsetHours(-4);
  auto form = load();
  QFile::remove(path("fdpref.dat"));
  rec.events.clear();

  state.CWSending = 1;
  state.CWBuffer = "CQ FD W1AW";
  EXPECT_FALSE(form->close());
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(state.CWBuffer, "");   // the waiting text is dropped
  EXPECT_TRUE(rec.events.isEmpty());
  EXPECT_FALSE(QFile::exists(path("fdpref.dat")));

  state.CWSending = 0;
  state.MyCall = "K9ZZ";
  EXPECT_TRUE(form->close());
  EXPECT_EQ(rec.events,
            QStringList({"unload PhoneFrm", "unload CWFrm", "unload BlindFrm", "unload RigControlfrm",
                         "unload PacketSpotfrm", "unload SpectrumMap", "unload SectionMap", "unload frmBackup",
                         "unload frmCWStrings", "unload frmDigitalSource", "unload frmWinKey"}));
  const QList<QByteArray> lines = readFile("fdpref.dat").split('\n');
  ASSERT_EQ(lines.size(), 18);  // seventeen lines and nothing after the last line end
  EXPECT_EQ(lines[0], "\"K9ZZ\"\r");
  EXPECT_EQ(lines[5], "\"20\"\r");
}

TEST_F(StartLoadTest, APreferencesFailureAtCloseIsShown) {
  auto form = std::make_unique<Form1>(state, services);
  form->show();
  QDir().mkdir(path("fdpref.dat"));  // a folder where the file belongs
  EXPECT_TRUE(form->close());
  ASSERT_EQ(fake->dialogs->shown.size(), 1);
  EXPECT_TRUE(fake->dialogs->shown[0].text.contains("fdpref.dat"));
}

// A first start in an empty program folder on a machine whose port 1 cannot
// be opened: no radio is chosen yet, so no port is tried and nothing but the
// log's "File Error" boxes and the station window shows.
TEST_F(StartLoadTest, AFirstStartTriesNoPortAndShowsNoRigWindow) {
  QFile::remove(path("fdlog.dat"));
  struct CountingPort : FakeSerialPort {
    explicit CountingPort(int& n) : tries(n) { failOpen = true; }
    bool open() override {
      ++tries;
      return FakeSerialPort::open();
    }
    int& tries;
  };
  int tries = 0;
  setSerialFactory([&] { return std::make_unique<CountingPort>(tries); });
  auto* rig = new RigService(state);
  services.rig.reset(rig);
  fake->clock->setZoneOffsetHours(0);
  fake->dialogs->answers = {Answer::Ok, Answer::Ok};
  auto form = load();
  EXPECT_EQ(state.RigType, "None");
  EXPECT_EQ(tries, 0);
  EXPECT_FALSE(rig->rigWindowLoaded() && rig->rigWindow()->isVisible());
  EXPECT_EQ(fake->dialogs->titles(), (QStringList{"File Error", "File Error"}));
  EXPECT_EQ(rec.events.first(), "station  0 40 log=0");  // the only modal window
  form->close();
  EXPECT_TRUE(readFile("fdpref.dat").contains("\"None\""));  // and so at the next start
  setSerialFactory({});
}

// The real main window over the real keying service on fake ports: its close
// is the close box's (the close event, the refusal rule, the unload order).
class MainWindowClose : public test::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    setSerialFactory([] { return std::make_unique<FakeSerialPort>(); });
    state.FieldDayDir = dir.path();
    auto k = std::make_unique<KeyingService>(state);
    keying = k.get();
    services.keying = std::move(k);
    keying->cw().set.Text[10] = QStringLiteral("1");
    keying->cw().set.Text[11] = QStringLiteral("20");
  }
  void TearDown() override {
    form.reset();
    services = Services{};
    setSerialFactory({});
  }
  FakeSerialPort& wkPort() { return static_cast<FakeSerialPort&>(*keying->WinKeyComm); }
  // A main window of its own for each close, shown, the services attached.
  void openMainWindow() {
    form.reset();
    form = std::make_unique<Form1>(state, services);
    services.attach(*form);
    form->show();
  }

  Services services;
  KeyingService* keying = nullptr;
  std::unique_ptr<Form1> form;
};

// The main window closed while the CW window (shown modeless, as Ctrl+C does)
// waits in a handler: sending over WinKey from its Test, from code practice's
// Send and from the WinKey setup window's Test, or showing the "Invalid port."
// box of its serial port check on Done or on leaving the port box. The close
// is not refused on these paths. The windows must outlive the handlers on the
// stack, which stop and leave them alone (nothing sent, written or shown
// afresh), and go once those have returned.
TEST_F(MainWindowClose, WhileTheCWWindowWaitsInAHandler) {
  const auto badPort = [](CWFrm& cw) {
    cw.Text[10]->setText(QStringLiteral("99999"));
    cw.Text[10]->setFocus(Qt::OtherFocusReason);
  };
  const struct {
    const char* name;
    std::function<void(CWFrm&, QPointer<QWidget>&)> send;
  } cases[] = {
      {"Test", [](CWFrm& cw, QPointer<QWidget>&) { cw.Command4->click(); }},
      {"code practice, Send",
       [](CWFrm& cw, QPointer<QWidget>& inner) {
         test::ScopedModalHook hook([&](QWidget* window) {
           auto* f = qobject_cast<frmCodePractice*>(window);
           ASSERT_TRUE(f);
           inner = f;
           f->Text1->setText(QStringLiteral("EEEEEE"));
           f->Command3->click();
         });
         cw.Command7->click();
       }},
      {"WinKey setup, Test",
       [](CWFrm& cw, QPointer<QWidget>& inner) {
         test::ScopedModalHook hook([&](QWidget* window) {
           auto* f = qobject_cast<frmWinKey*>(window);
           ASSERT_TRUE(f);
           inner = f;
           f->Command3->click();
         });
         cw.cmdConfWinkey->click();
       }},
      {"Done, the \"Invalid port.\" box of the port box's check",
       [badPort](CWFrm& cw, QPointer<QWidget>&) {
         badPort(cw);
         cw.Command1->click();
       }},
      {"leaving the port box, its \"Invalid port.\" box",
       [badPort](CWFrm& cw, QPointer<QWidget>&) {
         badPort(cw);
         cw.Text[11]->setFocus(Qt::TabFocusReason);
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    openMainWindow();
    QFile::remove(path("cw.txt"));
    state.KeyingType = 5;
    state.MyCall = QStringLiteral("W1AW");
    keying->winKeyer().WinKeyPort = 5;
    wkPort().pending = QByteArray("\x55\x17", 2);
    keying->winKeyer().cmdOpenWinkey_Click();
    ASSERT_EQ(state.WinKeyOpen, 23);
    const int opens = wkPort().opens;
    keying->cw().set.Text[9] = QStringLiteral("EEEEEE");
    keying->showCWSetup(false);
    QPointer<CWFrm> cw = keying->cwFrm();
    ASSERT_TRUE(cw);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == cw; }, 1000));
    cw->cmdConfWinkey->setVisible(true);
    QPointer<QLabel> sending = cw->Label23;
    QPointer<QWidget> inner;
    bool tried = false, closed = false, aliveAtClose = false;
    QByteArray wireAtClose;
    auto close = [&] {
      if (tried) return;
      tried = true;
      wireAtClose = wkPort().written;
      closed = form->close();
      aliveAtClose = !cw.isNull() && !cw->isVisible();
    };
    // The close comes inside the keyer's pump, once the first character is
    // out, or while the box is up.
    wkPort().written.clear();
    QTimer watch;
    watch.setInterval(0);
    QObject::connect(&watch, &QTimer::timeout, [&] {
      if (!wkPort().written.isEmpty()) close();
    });
    watch.start();
    fake->dialogs->whileShown = [&](const ScriptedDialogs::Shown& box) {
      if (box.title == QLatin1String("Invalid port.")) close();
    };
    c.send(*cw, inner);
    watch.stop();
    fake->dialogs->whileShown = {};
    EXPECT_TRUE(closed);
    EXPECT_TRUE(aliveAtClose);  // not freed under the handler
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(cw.isNull());  // gone once the handler returned
    EXPECT_TRUE(sending.isNull());
    EXPECT_TRUE(inner.isNull());
    EXPECT_EQ(keying->cwFrm(), nullptr);
    // Nothing sent after the close, and the keyer was not opened again.
    EXPECT_EQ(wkPort().written, wireAtClose + QByteArray("\x00\x03", 2));
    EXPECT_EQ(wkPort().opens, opens);
    EXPECT_EQ(state.WinKeyOpen, 0);
    EXPECT_TRUE(state.CWBuffer.isEmpty());
    // No keying window built again, no settings written after the close.
    for (QWidget* w : QApplication::topLevelWidgets())
      EXPECT_FALSE(QStringList({"CWFrm", "frmCWStrings", "frmWinKey", "frmCodePractice"}).contains(w->objectName()))
          << w->objectName().toStdString();
    EXPECT_FALSE(QFile::exists(path("cw.txt")));
  }
}

}  // namespace
}  // namespace fd
