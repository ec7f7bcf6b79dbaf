// Every window of the program opened by its own command, as an operator
// opens it, and Esc pressed in it from a text box where it has one (else from
// whatever has the focus); the close box of the windows whose Esc is Done.
// What happens must be what the window table says: Done hides the window
// with Done's files written, Cancel and the close box hide or close it with
// nothing written, the spotting setup keeps its own key, the CW strings
// window hands Esc to the main window.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <map>
#include <set>

#include "app/startup.h"
#include "core/windowrules.h"
#include "keying/cwfrm.h"
#include "keying/keyingservice.h"
#include "keying/phonefrm.h"
#include "keying/phonefrm_settings.h"
#include "keying/blindfrm.h"
#include "log/form1.h"
#include "log/frmstationid.h"
#include "output/backup_window.h"
#include "output/outputservice.h"
#include "platform/audio.h"
#include "platform/forms.h"
#include "platform/serial.h"
#include "rig/rigcontrolfrm.h"
#include "rig/rigservice.h"
#include "spots/packetspotfrm.h"
#include "spots/spotservice.h"
#include "testenv.h"

namespace fd {
namespace {

const QByteArray kPrefs =
    "\"W1AW\"\r\n\"2A\"\r\n\"CT\"\r\n0\r\n\"PH\"\r\n\"20\"\r\n255\r\n0\r\n100\r\n0\r\n\"None\"\r\n0\r\n0\r\n"
    "\"AB\"\r\n0\r\n0\r\n\"\"\r\n";

// The files a window's Done writes; Esc as Cancel or as the close box leaves
// every one of them as it was.
const char* const kSettingsFiles[] = {"fdpref.dat", "fdlog.dat", "cw.txt", "wave2.txt", "RigCntrl.txt", "PackSpot.txt",
                                      "WK.txt"};

const WindowRule& ruleOf(const QString& name) {
  for (const NamedWindowRule& r : windowRules())
    if (name == QLatin1String(r.window)) return r.rule;
  static const WindowRule none{};
  ADD_FAILURE() << "no rule for " << name.toStdString();
  return none;
}

class WindowEscWalk : public test::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    startDir = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    setAudioFactory([this] { return std::make_unique<FakeAudioPlayer>(&lengths, &audioLog); });
    setSerialFactory([this] {
      auto p = std::make_unique<FakeSerialPort>();
      ports.push_back(p.get());
      return p;
    });
    writeFile("fdpref.dat", kPrefs);
    writeFile("fdlog.dat", test::recordLine("K1ABC", "2A", "CT", "2024/06/22", "18:05:00", "20", "PH"));
    writeFile("wave2.txt", writeWave2(WaveSettings{}));
    QFile::copy(QStringLiteral(FD_SOURCE_DIR "/dist/BandPlan.txt"), path("BandPlan.txt"));
    state.FieldDayDir = dir.path();
    state.SharedDir = dir.path();

    auto keyingService = std::make_unique<KeyingService>(state);
    auto rigService = std::make_unique<RigService>(state);
    keying = keyingService.get();
    rig = rigService.get();
    sv.output = std::make_unique<OutputService>(state);
    sv.keying = std::move(keyingService);
    sv.rig = std::move(rigService);
    sv.spots = std::make_unique<SpotService>(state);
    setModalHook([](QWidget* w) {
      auto* station = qobject_cast<frmStationID*>(w);
      ASSERT_NE(station, nullptr);
      station->Command1_Click();
    });
    form = std::make_unique<Form1>(state, sv);
    sv.attach(*form);
    form->Form_Load();
    setModalHook({});
    ASSERT_TRUE(form->isVisible());
  }
  void TearDown() override {
    setModalHook({});
    form.reset();
    sv = Services{};
    setSerialFactory({});
    setAudioFactory({});
    QDir::setCurrent(startDir);
  }

  std::map<QString, QByteArray> snapshot() const {
    std::map<QString, QByteArray> files;
    for (const char* f : kSettingsFiles)
      files[f] = QFile::exists(path(f)) ? readFile(f) : QByteArray("(none)");
    return files;
  }

  QWidget* shownWindow(const QString& name) const {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->objectName() == name && w->isVisible()) return w;
    return nullptr;
  }

  // A window that just went away hands activation on late: wait it out.
  static void activate(QWidget* w) {
    for (int i = 0; i < 50 && QApplication::activeWindow() != w; ++i) {
      w->activateWindow();
      QTest::qWait(5);
    }
    EXPECT_EQ(QApplication::activeWindow(), w);
  }
  void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
    activate(form.get());
    form->txtCall->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(form->txtCall, k, m);
  }
  void menu(const char* item) { form->menu.value(QString::fromLatin1(item))->trigger(); }

  QString startDir;
  std::map<QString, int> lengths;
  QStringList audioLog;
  std::vector<FakeSerialPort*> ports;
  Services sv;
  KeyingService* keying = nullptr;
  RigService* rig = nullptr;
  std::unique_ptr<Form1> form;
};

// How the window is left: Esc, or the close box.
enum class Leave { Esc, CloseBox };

struct Seen {
  bool opened = false;
  bool modal = false;
  bool shownAfter = true;
  Qt::WindowFlags flags;
  Qt::WindowType type = Qt::Widget;
};

TEST_F(WindowEscWalk, EscAndTheCloseBoxInEveryWindowFollowTheTable) {
  struct Row {
    const char* window;
    std::function<void()> open;
    // What the operator changed before leaving (a Done row checks it was kept).
    std::function<void(QWidget*, const QString& mark)> change;
    std::function<void(const QString& mark)> check;
  };
  const Row rows[] = {
      {"frmVarikLogo", [&] { frmVarikLogo w; showModal(&w); }, {}, {}},
      {"frmStationID", [&] { menu("mnuSetup"); }, {}, {}},
      {"frmEditCon",
       [&] {
         form->ListView1->setCurrentItem(form->ListView1->topLevelItem(0));
         form->cmdEdit_Click();
       },
       {}, {}},
      {"frmFind", [&] { form->cmdFind_Click(); }, {}, {}},
      {"frmOperator", [&] { menu("mnuOperator"); },
       [](QWidget* w, const QString&) { w->findChild<QLineEdit*>()->setText("ZZ"); },
       [&](const QString&) { EXPECT_EQ(state.OpInitials, "AB"); }},
      {"Form5", [&] { menu("mnuHelp"); }, {}, {}},
      {"Form6", [&] { menu("mnuColors"); }, {}, {}},
      {"frmBackup", [&] { menu("mnuBackupOptions"); },
       [](QWidget* w, const QString& mark) { static_cast<frmBackup*>(w)->Text1->setText("/tmp/" + mark); },
       [&](const QString& mark) { EXPECT_TRUE(readFile("fdpref.dat").contains(mark.toLatin1())); }},
      {"Form2", [&] { menu("mnuWriteSumm"); }, {}, {}},
      {"Form3", [&] { menu("mnuCombine"); }, {}, {}},
      {"frmbndstats", [&] { menu("mnuStats"); }, {}, {}},
      {"GraphQSO", [&] { menu("mnuGraph"); }, {}, {}},
      {"SectionMap", [&] { menu("mnuMap"); }, {}, {}},
      {"CWFrm", [&] { menu("mnuCWtransmit"); },
       [](QWidget* w, const QString& mark) { static_cast<CWFrm*>(w)->Text[1]->setText(mark.toUpper()); },
       [&](const QString& mark) { EXPECT_TRUE(readFile("cw.txt").contains(mark.toUpper().toLatin1())); }},
      {"frmCodePractice", [&] { keying->loadCWFrm().Command7->click(); }, {}, {}},
      {"frmWinKey", [&] { keying->loadCWFrm().cmdConfWinkey->click(); }, {}, {}},
      {"frmCWStrings", [&] { key(Qt::Key_W, Qt::ControlModifier); },
       [&](QWidget*, const QString& mark) { form->txtCall->setText(mark.toUpper()); },
       [&](const QString&) { EXPECT_EQ(form->txtCall->text(), ""); }},  // the main window's Esc clears the entry
      {"PhoneFrm", [&] { menu("mnuPhone"); },
       [](QWidget* w, const QString& mark) {
         auto* phone = static_cast<PhoneFrm*>(w);
         phone->Text[0]->setText("/tmp/" + mark + ".wav");  // as Browse leaves it
         phone->Text10->setFocus(Qt::OtherFocusReason);
       },
       [&](const QString& mark) { EXPECT_TRUE(readFile("wave2.txt").contains(mark.toLatin1() + ".wav")); }},
      {"BlindFrm", [&] { menu("mnuBlind"); },
       [](QWidget* w, const QString&) { static_cast<BlindFrm*>(w)->Option2->click(); },
       [&](const QString&) { EXPECT_EQ(state.VoiceNavMode, 0); }},
      {"RigControlfrm", [&] { menu("murigInterface"); },
       [&](QWidget* w, const QString&) {
         auto* r = static_cast<RigControlfrm*>(w);
         r->List1->setCurrentItem(r->List1->findItems("Kenwood", Qt::MatchExactly).value(0));
         r->List1_Click();
       },
       [&](const QString&) {
         EXPECT_TRUE(readFile("RigCntrl.txt").contains("Kenwood"));
         EXPECT_TRUE(rig->rigWindow()->polling());  // Done ran Test
       }},
      {"frmFrequencyTest", [&] { rig->rigWindow()->Command3_Click(); }, {}, {}},
      {"frmRigTune", [&] { key(Qt::Key_G, Qt::ControlModifier); }, {}, {}},
      {"frmBandPlan", [&] { menu("mnuPrivileges"); }, {}, {}},
      {"PacketSpotfrm", [&] { menu("mnuDXSpotting"); },
       [](QWidget* w, const QString&) {  // a TNC on its port, the cursor in the send box
         auto* spot = static_cast<PacketSpotfrm*>(w);
         spot->List1->setCurrentItem(spot->List1->findItems("TNC", Qt::MatchExactly).value(0));
         spot->List1_Click();
         for (auto* o : {spot->optComm[0], spot->optBaud[2], spot->optParity[1], spot->optData[1], spot->optStop[0]})
           o->setChecked(true);
         spot->Command1_Click();
         spot->txtHex->setText("03");
         spot->txtSent->setFocus(Qt::OtherFocusReason);
       },
       [&](const QString&) {  // Esc was the TNC's command-mode key
         auto* spot = static_cast<PacketSpotfrm*>(shownWindow("PacketSpotfrm"));
         ASSERT_NE(spot, nullptr);
         EXPECT_EQ(static_cast<FakeSerialPort*>(spot->comComm1.get())->written, QByteArray("\x03"));
       }},
      {"SpectrumMap", [&] { menu("mnuViewSpectrumMap"); }, {}, {}},
  };

  // Opens the row's window, changes what the row changes, leaves it.
  auto walk = [&](const Row& row, Leave leave, const QString& mark) {
    const QString name = QString::fromLatin1(row.window);
    Seen seen;
    auto act = [&](QWidget* w) {
      EXPECT_EQ(w->objectName(), name) << "a window the table does not name, or the wrong one";
      seen.opened = true;
      seen.flags = w->windowFlags();
      seen.type = w->windowType();
      activate(w);
      if (row.change) row.change(w, mark);
      QWidget* target = QApplication::focusWidget();
      if (!qobject_cast<QLineEdit*>(target) || target->window() != w) {
        for (QLineEdit* box : w->findChildren<QLineEdit*>())
          if (box->isVisibleTo(w) && box->isEnabled() && !box->isReadOnly()) {
            box->setFocus(Qt::OtherFocusReason);
            break;
          }
        target = QApplication::focusWidget();
      }
      if (!target || target->window() != w) target = w;
      QPointer<QWidget> alive(w);
      if (leave == Leave::Esc) QTest::keyClick(target, Qt::Key_Escape);
      else w->close();
      QCoreApplication::processEvents();
      seen.shownAfter = alive && alive->isVisible();
    };
    activate(form.get());  // each command is given in the main window
    setModalHook([&](QWidget* w) {
      seen.modal = true;
      act(w);
    });
    row.open();
    setModalHook({});
    if (!seen.opened) {
      QWidget* w = shownWindow(name);
      if (w) act(w);
    }
    return seen;
  };

  std::set<QString> walked;
  for (const Row& row : rows) {
    const QString name = QString::fromLatin1(row.window);
    const WindowRule& rule = ruleOf(name);
    const Leave leaves[] = {Leave::Esc, Leave::CloseBox};
    for (Leave leave : leaves) {
      if (leave == Leave::CloseBox && rule.esc != EscKey::Done) continue;
      SCOPED_TRACE(name.toStdString() + (leave == Leave::Esc ? " Esc" : " close box"));
      const QString mark = leave == Leave::Esc ? QStringLiteral("walkesc") : QStringLiteral("walkbox");
      const auto before = snapshot();
      const Seen seen = walk(row, leave, mark);
      ASSERT_TRUE(seen.opened) << "the window did not show";
      walked.insert(name);
      EXPECT_EQ(bool(seen.flags & Qt::WindowCloseButtonHint), rule.closeBox);
      if (seen.modal) {  // kept above the main window, nothing to minimise it out of sight
        EXPECT_EQ(seen.type, Qt::Dialog);
        EXPECT_FALSE(seen.flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
      } else {
        EXPECT_EQ(seen.type, rule.ownWindow ? Qt::Window : Qt::Dialog);
      }
      switch (rule.esc) {
        case EscKey::Done:
          EXPECT_FALSE(seen.shownAfter);
          break;
        case EscKey::Cancel:
        case EscKey::Close:
          EXPECT_FALSE(seen.shownAfter);
          EXPECT_EQ(snapshot(), before);  // nothing of Done's written
          break;
        case EscKey::Own:
        case EscKey::MainWindow:
          EXPECT_TRUE(seen.shownAfter);
          EXPECT_EQ(snapshot(), before);
          break;
      }
      if (row.check) row.check(mark);
    }
    if (QWidget* still = shownWindow(name)) still->hide();
  }
  std::set<QString> table;
  for (const NamedWindowRule& r : windowRules()) table.insert(QString::fromLatin1(r.window));
  EXPECT_EQ(walked, table);
}

// A window that one command shows without blocking and the menu shows
// modally: shown by its hot key, something typed in it, the main window
// clicked over it, then the menu item. The window comes back modal, as a
// dialog kept above the main window, active, with what was typed.
TEST_F(WindowEscWalk, TheMenuShowsAWindowShownWithoutBlockingModallyInFront) {
  const struct {
    const char* window;
    Qt::Key hotKey;
    const char* item;
    std::function<QLineEdit*(QWidget*)> box;
    const char *typed, *kept;
  } rows[] = {
      {"CWFrm", Qt::Key_C, "mnuCWtransmit", [](QWidget* w) { return static_cast<CWFrm*>(w)->Text[1]; }, "cq fd",
       "CQ FD"},
      {"PhoneFrm", Qt::Key_P, "mnuPhone", [](QWidget* w) { return static_cast<PhoneFrm*>(w)->Text[0]; }, "cq.wav",
       "cq.wav"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.window);
    key(row.hotKey, Qt::ControlModifier);
    QWidget* w = shownWindow(QString::fromLatin1(row.window));
    ASSERT_NE(w, nullptr);
    ASSERT_FALSE(w->isModal());
    activate(w);
    QTest::keyClicks(row.box(w), QString::fromLatin1(row.typed));
    activate(form.get());
    struct {
      bool shown = false, visible = false, modal = false, active = false;
      Qt::WindowType type = Qt::Widget;
      QString text;
    } seen;
    setModalHook([&](QWidget* m) {
      seen.shown = m->objectName() == QLatin1String(row.window);
      seen.visible = m->isVisible();
      seen.modal = m->isModal();
      seen.type = m->windowType();
      seen.active = QTest::qWaitFor([m] { return QApplication::activeWindow() == m; }, 500);
      seen.text = row.box(m)->text();
    });
    menu(row.item);
    setModalHook({});
    EXPECT_TRUE(seen.shown) << "the menu item showed no modal window";
    EXPECT_TRUE(seen.visible);
    EXPECT_TRUE(seen.modal);
    EXPECT_EQ(seen.type, Qt::Dialog);
    EXPECT_TRUE(seen.active);
    EXPECT_EQ(seen.text, QString::fromLatin1(row.kept));
    if (QWidget* still = shownWindow(QString::fromLatin1(row.window))) still->hide();
  }
}

}  // namespace
}  // namespace fd
