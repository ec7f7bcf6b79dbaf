// Every window of the program, opened the way the operator opens it, on a
// 1280 x 1024, a 1024 x 768 and a 1920 x 1080 screen: each caption of a
// label, button, check box, option and frame must show whole in its control
// at its font, no two controls the design keeps apart may overlap, every
// control lies inside its window, and no design font may fall to the
// desktop's default font. The frames the window manager draws are no part
// of this (offscreen has none); the end-to-end window scenario checks them.
//
// The table of windows opened and the captions whose font was made smaller
// go to the test's output.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <cstdio>
#include <map>
#include <set>

#include "app/startup.h"
#include "core/windowrules.h"
#include "keying/blindfrm.h"
#include "keying/codepracticefrm.h"
#include "keying/cwfrm.h"
#include "keying/cwstrings.h"
#include "keying/keyingservice.h"
#include "keying/phonefrm.h"
#include "keying/winkeyfrm.h"
#include "log/form1.h"
#include "log/form5.h"
#include "log/form6.h"
#include "log/frmeditcon.h"
#include "log/frmfind.h"
#include "log/frmoperator.h"
#include "log/frmstationid.h"
#include "output/backup_window.h"
#include "output/bandstats_window.h"
#include "output/combine_window.h"
#include "output/form2.h"
#include "output/graphqso_window.h"
#include "output/outputservice.h"
#include "output/sectionmap_window.h"
#include "platform/audio.h"
#include "platform/forms.h"
#include "platform/serial.h"
#include "rig/frmbandplan.h"
#include "rig/frmfrequencytest.h"
#include "rig/frmrigtune.h"
#include "rig/rigcontrolfrm.h"
#include "rig/rigservice.h"
#include "spots/packetspotfrm.h"
#include "spots/spectrummap.h"
#include "spots/spotservice.h"
#include "spots/telnetsocket.h"
#include "testenv.h"

namespace fd {
namespace {

struct ScreenSize {
  int w, h;
  QString name() const { return QStringLiteral("%1x%2").arg(w).arg(h); }
};
const ScreenSize kScreens[] = {{1280, 1024}, {1024, 768}, {1920, 1080}};

// ---- What is measured -------------------------------------------------------

QString nameOf(const QWidget* w) {
  if (!w->objectName().isEmpty()) return w->objectName();
  if (const auto* l = qobject_cast<const QLabel*>(w)) return QStringLiteral("label \"%1\"").arg(l->text().left(40));
  if (const auto* b = qobject_cast<const QAbstractButton*>(w))
    return QStringLiteral("%1 \"%2\"").arg(QString::fromLatin1(w->metaObject()->className()), b->text());
  if (const auto* g = qobject_cast<const QGroupBox*>(w)) return QStringLiteral("frame \"%1\"").arg(g->title());
  return QString::fromLatin1(w->metaObject()->className());
}

// A control of the window's own (not a part of a list, a combo or a spin box).
bool ownControl(const QWidget* w, const QWidget* window) {
  for (const QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget())
    if (qobject_cast<const QAbstractScrollArea*>(p) || qobject_cast<const QComboBox*>(p) ||
        qobject_cast<const QAbstractSpinBox*>(p))
      return false;
  return true;
}

bool isCaption(const QWidget* w) {
  return qobject_cast<const QLabel*>(w) || qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QGroupBox*>(w);
}
bool isEntry(const QWidget* w) {
  return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QAbstractScrollArea*>(w) ||
         qobject_cast<const QComboBox*>(w) || qobject_cast<const QAbstractSpinBox*>(w);
}

// Why the caption does not show whole; empty when it does.
QString captionFault(const QWidget* w) {
  const QFontMetrics fm(w->font());
  auto tooBig = [](QSize need, QSize room) {
    QStringList why;
    if (need.width() > room.width()) why << QStringLiteral("%1 px wide in %2").arg(need.width()).arg(room.width());
    if (need.height() > room.height()) why << QStringLiteral("%1 px tall in %2").arg(need.height()).arg(room.height());
    return why.join(QStringLiteral(", "));
  };
  if (const auto* l = qobject_cast<const QLabel*>(w)) {
    if (l->text().isEmpty() || Qt::mightBeRichText(l->text())) return {};
    const QRect box = l->contentsRect().marginsRemoved(QMargins(l->margin(), l->margin(), l->margin(), l->margin()));
    if (!l->wordWrap()) {
      QSize need(0, 0);
      for (const QString& line : l->text().split(u'\n'))
        need = QSize(std::max(need.width(), fm.horizontalAdvance(line)), need.height() + fm.height());
      return tooBig(need, box.size());
    }
    return tooBig(fm.boundingRect(QRect(0, 0, box.width(), 1 << 20), Qt::TextWordWrap, l->text()).size(), box.size());
  }
  if (const auto* b = qobject_cast<const QAbstractButton*>(w)) {
    if (b->text().isEmpty()) return {};
    // The text's room is what the style leaves beside the box or inside the frame.
    QStyleOptionButton opt;
    opt.initFrom(b);
    opt.text = b->text();
    const QStyle::SubElement room = qobject_cast<const QCheckBox*>(b)      ? QStyle::SE_CheckBoxContents
                                    : qobject_cast<const QRadioButton*>(b) ? QStyle::SE_RadioButtonContents
                                                                          : QStyle::SE_PushButtonContents;
    return tooBig(fm.size(Qt::TextShowMnemonic, b->text()), b->style()->subElementRect(room, &opt, b).size());
  }
  if (const auto* g = qobject_cast<const QGroupBox*>(w)) {
    if (g->title().isEmpty()) return {};
    QStyleOptionGroupBox opt;
    opt.initFrom(g);
    opt.text = g->title();
    opt.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    const QRect label = g->style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, g);
    const int need = fm.size(Qt::TextShowMnemonic, g->title()).width();
    if (label.right() >= g->width() || label.width() < need)
      return QStringLiteral("title %1 px wide, %2 px left").arg(need).arg(g->width() - label.left());
  }
  return {};
}

// Controls a window is allowed to leave as they are: the privileges chart's
// segments (their widths are the band plan's, the tooltip shows the text) and
// the band maps' data labels.
struct Exempt {
  std::set<const QWidget*> widgets;
  std::function<bool(const QWidget*)> test;
  bool operator()(const QWidget* w) const { return widgets.count(w) || (test && test(w)); }
};

// Where a control of the layout is drawn in twips, once scaled; empty for a
// control the layout does not hold.
QRectF twipRect(const TwipLayout* layout, const QWidget* w) {
  if (!layout) return {};
  for (const TwipControl& c : layout->controls)
    if (c.widget == w && c.kind != ControlKind::Line) return {c.left, c.top, c.width, c.height};
  return {};
}

QStringList faults(QWidget* window, const TwipLayout* layout, const Exempt& exempt) {
  QStringList out;
  // Three design pixels, grown with a layout drawn on the whole screen.
  const double edgeTwips =
      45 * (layout ? std::max({1.0, layout->width / 9600, layout->height / 7200}) : 1.0);
  std::vector<std::pair<QWidget*, QRect>> placed;
  const QRect inside = window->rect();
  for (QWidget* w : window->findChildren<QWidget*>()) {
    if (!w->isVisibleTo(window) || !ownControl(w, window) || exempt(w)) continue;
    if (!isCaption(w) && !isEntry(w)) continue;
    const QRect r(w->mapTo(window, QPoint(0, 0)), w->size());
    if (r.isEmpty()) continue;
    if (!inside.contains(r))
      out << QStringLiteral("%1 at %2,%3 %4x%5 leaves the window (%6x%7)")
                 .arg(nameOf(w)).arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).arg(inside.width()).arg(inside.height());
    if (isCaption(w)) {
      if (const QString why = captionFault(w); !why.isEmpty()) out << nameOf(w) + QStringLiteral(" cut: ") + why;
      const QString family = QFontInfo(w->font()).family();
      if (family.startsWith(QLatin1String("DejaVu"))) out << nameOf(w) + QStringLiteral(" shows ") + family;
    }
    for (const auto& [other, o] : placed) {
      if (other->isAncestorOf(w) || w->isAncestorOf(other)) continue;
      // A frame holds the controls drawn on it.
      if ((qobject_cast<QGroupBox*>(other) && o.contains(r)) || (qobject_cast<QGroupBox*>(w) && r.contains(o))) continue;
      // Controls the layout lays edge on edge may touch (the section grid's
      // cells overlap by up to three design pixels).
      const QRectF tw = twipRect(layout, w), to = twipRect(layout, other), edge = tw.intersected(to);
      if (!edge.isEmpty() && (edge.width() <= edgeTwips || edge.height() <= edgeTwips)) continue;
      const QRect both = r.intersected(o);
      if (both.width() > 0 && both.height() > 0)
        out << QStringLiteral("%1 overlaps %2 (%3x%4 px)").arg(nameOf(w), nameOf(other)).arg(both.width()).arg(both.height());
    }
    placed.emplace_back(w, r);
  }
  return out;
}

template <class... W>
const TwipLayout* layoutOf(QWidget* w) {
  const TwipLayout* found = nullptr;
  ((found = found ? found : (qobject_cast<W*>(w) ? &qobject_cast<W*>(w)->layout : nullptr)), ...);
  return found;
}
const TwipLayout* anyLayout(QWidget* w) {
  return layoutOf<Form1, frmStationID, frmEditCon, frmFind, frmOperator, Form5, Form6, frmBackup, Form2, Form3,
                  frmbndstats, GraphQSO, CWFrm, frmCWStrings, frmWinKey, PhoneFrm, BlindFrm, frmCodePractice,
                  RigControlfrm, frmBandPlan, frmRigTune, frmFrequencyTest, PacketSpotfrm, SpectrumMap>(w);
}

// ---- The walk ---------------------------------------------------------------

struct Result {
  std::map<QString, QStringList> bySize;  // screen -> faults ("" once opened without any)
};

class WindowWalk : public ::testing::Test {
 protected:
  static std::map<QString, Result>& table() {
    static std::map<QString, Result> t;
    return t;
  }
  static std::set<QString>& reduced() {
    static std::set<QString> r;
    return r;
  }
  static void TearDownTestSuite() {
    std::printf("\nwindow | %s | %s | %s\n", qPrintable(kScreens[0].name()), qPrintable(kScreens[1].name()),
                qPrintable(kScreens[2].name()));
    for (const auto& [title, res] : table()) {
      QStringList cells;
      for (const ScreenSize& s : kScreens) {
        const auto it = res.bySize.find(s.name());
        cells << (it == res.bySize.end() ? QStringLiteral("not opened")
                  : it->second.isEmpty() ? QStringLiteral("whole")
                                         : QStringLiteral("%1 faults").arg(it->second.size()));
      }
      std::printf("%s | %s\n", qPrintable(title), qPrintable(cells.join(QStringLiteral(" | "))));
    }
    std::printf("\ncaptions shown smaller than the layout's size:\n");
    for (const QString& r : reduced()) std::printf("  %s\n", qPrintable(r));
    std::fflush(stdout);
  }

  void check(QWidget* window, const ScreenSize& size, const Exempt& exempt = {}) {
    ASSERT_NE(window, nullptr);
    QApplication::processEvents();
    const QString title = window->windowTitle().trimmed().isEmpty() ? QString::fromLatin1(window->metaObject()->className())
                                                                    : window->windowTitle().trimmed();
    checked_.insert(window->objectName());
    const TwipLayout* layout = anyLayout(window);
    const QStringList found = faults(window, layout, exempt);
    table()[title].bySize[size.name()] = found;
    EXPECT_TRUE(found.isEmpty()) << size.name().toStdString() << " \"" << title.toStdString() << "\":\n  "
                                 << found.join(QStringLiteral("\n  ")).toStdString();
    if (layout)
      for (const TwipControl& c : layout->controls)
        if (c.widget && c.fitText && c.fontSize > 0 && isCaption(c.widget) &&
            c.widget->font().pointSizeF() < c.fontSize - 0.01)
          reduced().insert(QStringLiteral("%1: %2 (%3 pt to %4 pt at %5)")
                               .arg(title, nameOf(c.widget))
                               .arg(c.fontSize, 0, 'f', 2)
                               .arg(c.widget->font().pointSizeF(), 0, 'f', 2)
                               .arg(size.name()));
  }

  void walk(const ScreenSize& size);
  // Fails unless the windows checked are those of the window rules and the
  // main window, by object name.
  void expectEveryWindowChecked(const ScreenSize& size) const;

  std::set<QString> checked_;  // object names of the windows checked
};

void WindowWalk::expectEveryWindowChecked(const ScreenSize& size) const {
  std::set<QString> expected{QStringLiteral("Form1")};
  for (const NamedWindowRule& r : windowRules()) expected.insert(QString::fromLatin1(r.window));
  QStringList missing, extra;
  for (const QString& n : expected)
    if (!checked_.count(n)) missing << n;
  for (const QString& n : checked_)
    if (!expected.count(n)) extra << (n.isEmpty() ? QStringLiteral("(no name)") : n);
  EXPECT_TRUE(missing.isEmpty()) << size.name().toStdString() << ": not checked: " << missing.join(", ").toStdString();
  EXPECT_TRUE(extra.isEmpty()) << size.name().toStdString() << ": checked, not in the window rules: "
                               << extra.join(", ").toStdString();
}

void WindowWalk::walk(const ScreenSize& size) {
  test::FakePlatform fake;
  fake.screen->w = fake.screen->workW = size.w * 15.0;
  fake.screen->h = fake.screen->workH = size.h * 15.0;
  fake.dialogs->onUnscripted = [](const QString&) {};  // message boxes take their default answer
  QTemporaryDir prog, profile;
  ASSERT_TRUE(prog.isValid() && profile.isValid());
  const test::ScopedEnv home("USERPROFILE", profile.path().toLocal8Bit());
  const test::ScopedEnv appData("APPDATA", profile.path().toLocal8Bit());
  for (const char* shipped : {"BandPlan.txt", "readfd.txt"})
    ASSERT_TRUE(QFile::copy(QStringLiteral(FD_SOURCE_DIR "/dist/") + QString::fromLatin1(shipped),
                            prog.filePath(QString::fromLatin1(shipped))));
  {
    QFile pref(prog.filePath(QStringLiteral("fdpref.dat")));
    ASSERT_TRUE(pref.open(QIODevice::WriteOnly));
    pref.write("\"W1AW\"\r\n\"2A\"\r\n\"CT\"\r\n0\r\n\"CW\"\r\n\"20\"\r\n255\r\n0\r\n100\r\n0\r\n\"None\"\r\n0\r\n0\r\n"
               "\"AB\"\r\n0\r\n0\r\n\"\"\r\n");
    QFile log(prog.filePath(QStringLiteral("fdlog.dat")));
    ASSERT_TRUE(log.open(QIODevice::WriteOnly));
    const char* sections[] = {"CT", "ENY", "NTX", "ONE", "PAC", "AK", "MDC", "WI", "STX", "BC", "QC", "VI"};
    for (int i = 0; i < 12; ++i)
      log.write(test::recordLine(QStringLiteral("K%1XY").arg(i), QStringLiteral("1A"), QString::fromLatin1(sections[i]),
                                 QStringLiteral("2024/06/22"), QStringLiteral("18:%1:00").arg(i * 5, 2, 10, QChar(u'0')),
                                 i % 2 ? QStringLiteral("40") : QStringLiteral("20"), QStringLiteral("CW"),
                                 QStringLiteral("AB")));
  }
  const QString startDir = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(prog.path()));
  setSerialFactory([] { return std::make_unique<FakeSerialPort>(); });
  setTelnetSocketFactory([] { return std::make_unique<FakeTelnetSocket>(); });
  setAudioFactory([] { return std::make_unique<FakeAudioPlayer>(); });

  {
    ProgramState state;
    Services services;
    auto* output = new OutputService(state);
    auto* keying = new KeyingService(state);
    auto* rig = new RigService(state);
    auto* spots = new SpotService(state);
    services.output.reset(output);
    services.keying.reset(keying);
    services.rig.reset(rig);
    services.spots.reset(spots);

    // Each modal window is measured while it is shown; a few open the windows
    // they lead to, as their buttons would.
    std::function<void(QWidget*)> onModal = [&](QWidget* w) {
      Exempt exempt;
      if (qobject_cast<frmBandPlan*>(w))
        exempt.test = [](const QWidget* c) {
          const QString n = c->objectName();
          return n.startsWith(QLatin1String("priv")) || n.startsWith(QLatin1String("blbl")) ||
                 n.startsWith(QLatin1String("bnlb"));
        };
      if (auto* map = qobject_cast<SpectrumMap*>(w)) {
        for (QWidget* l : map->lblDXSpot) exempt.widgets.insert(l);
        for (QWidget* l : map->lblFreqSpot) exempt.widgets.insert(l);
      }
      check(w, size, exempt);
      if (auto* cw = qobject_cast<CWFrm*>(w)) {
        cw->showCodePractice();
        keying->showWinKeySetup();
      }
    };
    setModalHook([&](QWidget* w) { onModal(w); });

    std::unique_ptr<Form1> form = frmSplash_Load(state, services);
    ASSERT_TRUE(form);
    {
      Exempt spotArea;
      for (QWidget* l : form->lblDXSpot) spotArea.widgets.insert(l);
      for (QWidget* l : form->lblFreqSpot) spotArea.widgets.insert(l);
      check(form.get(), size, spotArea);
    }

    for (const char* item : {"mnuBackupOptions", "mnuWriteSumm", "mnuCombine", "mnuCWtransmit", "mnuPhone",
                             "mnuColors", "mnuViewSpectrumMap", "mnuSetup", "mnuStats", "mnuPrivileges", "mnuGraph",
                             "mnuOperator", "mnuHelp"}) {
      SCOPED_TRACE(item);
      QAction* a = form->menuItem(QString::fromLatin1(item));
      ASSERT_NE(a, nullptr);
      ASSERT_TRUE(a->isEnabled());
      a->trigger();
    }
    rig->showRigTune();  // Ctrl+G
    form->cmdFind_Click();
    form->ListView1->setCurrentItem(form->ListView1->topLevelItem(0));
    form->ListView1->topLevelItem(0)->setSelected(true);
    form->cmdEdit_Click();

    // The modeless windows, each measured while shown, then hidden.
    const struct {
      const char* item;
      std::function<QWidget*()> window;
    } modeless[] = {
        {"mnuMap", [&] { return static_cast<QWidget*>(output->sectionMap.data()); }},
        {"mnuBlind", [&] { return static_cast<QWidget*>(&keying->blindFrm()); }},
        {"murigInterface", [&] { return static_cast<QWidget*>(rig->rigWindow()); }},
        {"mnuDXSpotting", [&] { return static_cast<QWidget*>(spots->spotWindow()); }},
    };
    for (const auto& m : modeless) {
      SCOPED_TRACE(m.item);
      QAction* a = form->menuItem(QString::fromLatin1(m.item));
      ASSERT_NE(a, nullptr);
      a->trigger();
      QWidget* w = m.window();
      ASSERT_NE(w, nullptr);
      EXPECT_TRUE(w->isVisible());
      check(w, size);
      w->hide();
    }
    {
      // An Icom that does not answer: the values read "No Response", the
      // Icom note shows beside them.
      RigControlfrm* rw = rig->rigWindow();
      rw->show();
      rw->List1->setCurrentRow(2);
      ASSERT_EQ(rw->List1->currentItem()->text(), QStringLiteral("Icom"));
      rw->List1_Click();
      rw->Command1->click();  // Test
      ASSERT_EQ(rw->lblMode->text(), QStringLiteral("No Response"));
      ASSERT_EQ(rw->lblFreq->text(), QStringLiteral("No Response"));
      check(rw, size);
      rw->Command2->click();  // End Test
      rw->List1->setCurrentRow(0);
      rw->List1_Click();
      rw->hide();
    }
    keying->showCWStrings();  // Ctrl+W
    check(&keying->loadCWStrings(), size);
    keying->loadCWStrings().hide();
    {
      // The rig window opens it only while it polls a radio; the window is the same.
      frmFrequencyTest test(*rig->rigWindow(), rig->rigWindow());
      test.show();
      check(&test, size);
    }

    setModalHook({});
    form->close();
    form.reset();
  }
  setSerialFactory({});
  setTelnetSocketFactory({});
  setAudioFactory({});
  QDir::setCurrent(startDir);
  expectEveryWindowChecked(size);
}

TEST_F(WindowWalk, At1280x1024) { walk(kScreens[0]); }
TEST_F(WindowWalk, At1024x768) { walk(kScreens[1]); }
TEST_F(WindowWalk, At1920x1080) { walk(kScreens[2]); }

}  // namespace
}  // namespace fd
