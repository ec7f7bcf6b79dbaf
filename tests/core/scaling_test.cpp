// Windows laid out in twips for a 9600 x 7200 screen, scaled at load.
#include <QCheckBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>
#include <QWindow>

#include "core/scaling.h"
#include "testenv.h"

namespace fd {
namespace {

enum Ctl { kLabel, kCombo, kImage, kMedia, kLine, kList, kTimer };

// A half-screen window with one control of each kind that scales differently.
TwipLayout sampleForm() {
  TwipLayout f;
  f.width = 4800;
  f.height = 3600;
  f.fontSize = 8.25;
  f.add(nullptr, ControlKind::Label, 100, 200, 300, 400, 10);
  f.add(nullptr, ControlKind::ComboBox, 1000, 1100, 1200, 315, 8);
  f.add(nullptr, ControlKind::Image, 10, 20, 30, 40, 9);
  f.add(nullptr, ControlKind::Media, 50, 60, 70, 80, 9);
  f.add(nullptr, ControlKind::Line, 100, 200, 800, 0);  // (100,200) to (900,200)
  f.add(nullptr, ControlKind::ListView, 500, 600, 4000, 2000, 8.25).columns = {1000, 500, 0};
  f.add(nullptr, ControlKind::Other, 1, 2, 3, 4, 7);
  return f;
}

TEST(FoundScaling, ResizeFormOnScreenTable) {
  struct Screen {
    const char* name;
    double w, h;
  };
  // The window is sized on the work area: w and h are the work area's, the
  // screen behind it is a panel's height taller.
  const Screen screens[] = {
      {"design 640 x 480 at 15 twips", 9600, 7200}, {"1.6 times", 15360, 11520}, {"wide", 19200, 7200},
      {"tall", 9600, 14400},                        {"offscreen 800 x 600", 12000, 9000},
  };
  for (const Screen& sc : screens) {
    SCOPED_TRACE(sc.name);
    FakeScreen screen;
    screen.workW = screen.w = sc.w;
    screen.workH = sc.h;
    screen.h = sc.h + 600;
    const double wx = static_cast<float>(sc.w / 9600), hy = static_cast<float>(sc.h / 7200);
    const double ff = std::min(wx, hy);
    TwipLayout f = sampleForm();
    ResizeForm(f, screen);

    EXPECT_DOUBLE_EQ(f.width, sc.w / 2);
    EXPECT_DOUBLE_EQ(f.height, sc.h / 2);
    EXPECT_DOUBLE_EQ(f.left, (sc.w - f.width) / 2);
    EXPECT_DOUBLE_EQ(f.top, (sc.h - f.height) / 2 - 170);
    EXPECT_DOUBLE_EQ(f.fontSize, 8.25 * sc.h / 7200);  // the window's own font: height factor always

    const TwipControl& lb = f.controls[kLabel];
    EXPECT_DOUBLE_EQ(lb.left, 100 * wx);
    EXPECT_DOUBLE_EQ(lb.top, 200 * hy);
    EXPECT_DOUBLE_EQ(lb.width, 300 * wx);
    EXPECT_DOUBLE_EQ(lb.height, 400 * hy);
    EXPECT_DOUBLE_EQ(lb.fontSize, 10 * ff);

    const TwipControl& cb = f.controls[kCombo];
    EXPECT_DOUBLE_EQ(cb.height, 315);  // a combo box keeps its height
    EXPECT_DOUBLE_EQ(cb.left, 1000 * wx);
    EXPECT_DOUBLE_EQ(cb.top, 1100 * hy);
    EXPECT_DOUBLE_EQ(cb.width, 1200 * wx);
    EXPECT_DOUBLE_EQ(cb.fontSize, 8 * ff);

    const TwipLayout design = sampleForm();
    for (Ctl k : {kImage, kMedia}) {  // moved and sized, font untouched
      const TwipControl& c = f.controls[k];
      const TwipControl& d = design.controls[k];
      EXPECT_DOUBLE_EQ(c.left, d.left * wx);
      EXPECT_DOUBLE_EQ(c.height, d.height * hy);
      EXPECT_DOUBLE_EQ(c.fontSize, 9);
    }

    const TwipControl& ln = f.controls[kLine];
    EXPECT_DOUBLE_EQ(ln.x1, 100 * wx);
    EXPECT_DOUBLE_EQ(ln.x2, 900 * wx);
    EXPECT_DOUBLE_EQ(ln.y1, 200 * hy);
    EXPECT_DOUBLE_EQ(ln.y2, 200 * hy);

    const TwipControl& lv = f.controls[kList];
    EXPECT_DOUBLE_EQ(lv.width, 4000 * wx);
    EXPECT_DOUBLE_EQ(lv.fontSize, 8.25 * ff);
    ASSERT_EQ(lv.columns.size(), 3u);
    EXPECT_DOUBLE_EQ(lv.columns[0], 1000 * wx);
    EXPECT_DOUBLE_EQ(lv.columns[1], 500 * wx);
    EXPECT_DOUBLE_EQ(lv.columns[2], 0);

    const TwipControl& tm = f.controls[kTimer];  // not touched at all
    EXPECT_EQ(std::tie(tm.left, tm.top, tm.width, tm.height, tm.fontSize), std::make_tuple(1.0, 2.0, 3.0, 4.0, 7.0));
  }
}

// The 170-twip lift moves a window up only as far as the work area's top.
TEST(FoundScaling, TheLiftStopsAtTheWorkAreasTop) {
  const struct {
    double height, top;
  } rows[] = {{7200, 0}, {7000, 0}, {6800, 30}, {3600, 1630}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.height);
    FakeScreen screen;
    screen.w = screen.workW = 9600;
    screen.h = screen.workH = 7200;
    TwipLayout f;
    f.width = 9600;
    f.height = r.height;
    ResizeForm(f, screen);
    EXPECT_DOUBLE_EQ(f.left, 0);
    EXPECT_DOUBLE_EQ(f.top, r.top);
    EXPECT_DOUBLE_EQ(f.fontSize, 8.25);
  }
}

// The frame, title bar included, comes around the client area and stays
// inside the work area; where both do not fit, the client area is what the
// frame leaves of the work area.
TEST(FoundScaling, TheOuterFrameStaysInsideTheWorkArea) {
  const QRect work(0, 0, 1280, 1024);
  const QMargins openbox(1, 20, 1, 5);
  const struct {
    const char* name;
    QRect client, work;
    QMargins frame;
    QRect outer;
  } rows[] = {
      {"screen-sized", {0, 0, 1280, 1024}, work, openbox, {0, 0, 1280, 1024}},
      {"lifted above the top", {0, -11, 1280, 1024}, work, openbox, {0, 0, 1280, 1024}},
      {"larger than the work area", {-40, -40, 1400, 1100}, work, openbox, {0, 0, 1280, 1024}},
      {"a dialog", {200, 100, 400, 300}, work, openbox, {200, 100, 402, 325}},
      {"a dialog off the right and bottom", {1000, 900, 400, 300}, work, openbox, {878, 699, 402, 325}},
      {"a dialog as tall as the work area", {400, 0, 400, 1024}, work, openbox, {400, 0, 402, 1024}},
      {"a panel on top", {0, 0, 1280, 1000}, {0, 24, 1280, 1000}, openbox, {0, 24, 1280, 1000}},
      {"no frame", {0, -11, 800, 600}, {0, 0, 800, 600}, {}, {0, 0, 800, 600}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    const FramePlace p = placeFrame(r.client, r.frame, r.work);
    EXPECT_EQ(p.outer, r.outer);
    EXPECT_TRUE(r.work.contains(p.outer));
    EXPECT_EQ(p.client, r.outer.marginsRemoved(r.frame));
  }
}

// A window laid out as large as the work area and lifted above it ends inside
// the work area; once shown with a frame, its controls are drawn into the
// client area the frame leaves.
TEST(FoundScaling, ApplyPlacesTheWindowInsideTheWorkArea) {
  test::FakePlatform fake;
  fake.screen->w = fake.screen->workW = 9600;  // 640 x 400 pixels of work area
  fake.screen->h = 7200;
  fake.screen->workH = 6000;
  QWidget window;
  auto* bottom = new QPushButton(QStringLiteral("Done"), &window);
  TwipLayout f;
  f.width = 9600;
  f.height = 7200;
  f.add(bottom, ControlKind::Button, 120, 6600, 1200, 480, 8.25);
  ResizeForm(f, *fake.screen);
  f.apply(&window, 15);
  EXPECT_TRUE(QRect(0, 0, 640, 400).contains(window.frameGeometry()));
  EXPECT_TRUE(window.rect().contains(bottom->geometry()));
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  const QMargins frame = window.windowHandle()->frameMargins();
  EXPECT_FALSE(frame.isNull());  // offscreen windows have a thin frame of their own
  EXPECT_EQ(window.frameGeometry(), QRect(0, 0, 640, 400));
  EXPECT_EQ(window.size(), QSize(640, 400).shrunkBy(frame));
  EXPECT_TRUE(window.rect().contains(bottom->geometry()));
  window.hide();

  f.top = -2000;
  f.left = 3000;
  f.width = 4800;
  f.height = 3000;
  f.apply(&window, 15);
  EXPECT_EQ(window.frameGeometry(), QRect(QPoint(200, 0), QSize(320, 200).grownBy(frame)));
}

TEST(FoundScaling, ResizeToScaleTakesTheTargetSizeInModeOne) {
  TwipLayout f = sampleForm();
  QLabel label;
  label.setFont(QFont(QStringLiteral("Courier New"), 10));
  f.controls[kLabel].widget = &label;
  ResizeToScale(f, 12000, 9000, 9600, 7200, 1, 1.0, QStringLiteral("Arial"));
  EXPECT_DOUBLE_EQ(f.width, 12000);
  EXPECT_DOUBLE_EQ(f.height, 9000);
  EXPECT_DOUBLE_EQ(f.left, 0);
  EXPECT_DOUBLE_EQ(f.top, 0);
  EXPECT_DOUBLE_EQ(f.fontSize, 8.25 * 2.5);
  EXPECT_EQ(f.fontName, QStringLiteral("Arial"));
  EXPECT_DOUBLE_EQ(f.controls[kCombo].height, 315 * 2.5);  // here the combo height scales too
  EXPECT_DOUBLE_EQ(f.controls[kLabel].fontSize, 10 * 2.5);
  EXPECT_EQ(label.font().family(), QStringLiteral("Arial"));
}

TEST(FoundScaling, ResizeToScaleModeZeroCentresWithoutLiftAndDampsFonts) {
  TwipLayout f = sampleForm();
  QLabel label;
  label.setFont(QFont(QStringLiteral("Courier New"), 10));
  f.controls[kLabel].widget = &label;
  ResizeToScale(f, 12000, 9000, 9600, 7200, 0, 0.5, QString());
  EXPECT_DOUBLE_EQ(f.width, 6000);
  EXPECT_DOUBLE_EQ(f.height, 4500);
  EXPECT_DOUBLE_EQ(f.left, 3000);
  EXPECT_DOUBLE_EQ(f.top, 2250);
  EXPECT_DOUBLE_EQ(f.fontSize, 8.25 * 1.125);  // grew 1.25, damped by half
  EXPECT_DOUBLE_EQ(f.controls[kLabel].fontSize, 10 * 1.125);
  EXPECT_DOUBLE_EQ(f.controls[kLabel].left, 100 * 1.25);
  EXPECT_TRUE(f.fontName.isEmpty());
  EXPECT_EQ(label.font().family(), QStringLiteral("Courier New"));  // no name given: names unchanged
}

TEST(FoundScaling, ResizeToScaleShrinkingIgnoresTheDamping) {
  TwipLayout f = sampleForm();
  ResizeToScale(f, 4800, 3600, 9600, 7200, 0, 0.5, QString());
  EXPECT_DOUBLE_EQ(f.height, 1800);
  EXPECT_DOUBLE_EQ(f.controls[kLabel].fontSize, 10 * 0.5);
}

TEST(FoundScaling, ApplyTurnsTwipsIntoPixels) {
  QWidget window;
  auto* label = new QLabel(&window);
  auto* list = new QTreeWidget(&window);
  list->setColumnCount(3);
  TwipLayout f;
  f.width = 6000;
  f.height = 4500;
  f.fontName = QStringLiteral("Arial");
  f.add(label, ControlKind::Label, 150, 300, 1500, 285, 12);
  f.add(list, ControlKind::ListView, 0, 600, 3000, 1500, 8.25).columns = {1500, 750, 0};
  f.apply(&window, 15);
  EXPECT_EQ(window.size(), QSize(400, 300));
  EXPECT_EQ(window.font().family(), QStringLiteral("Arial"));
  EXPECT_EQ(label->geometry(), QRect(10, 20, 100, 19));
  EXPECT_DOUBLE_EQ(label->font().pointSizeF(), 12);
  EXPECT_EQ(list->columnWidth(0), 100);
  EXPECT_EQ(list->columnWidth(1), 50);
  EXPECT_TRUE(list->isColumnHidden(2));
}

TEST(FoundScaling, DesignFontsMapToInstalledFontsKeepingTheirSize) {
  const struct {
    const char* design;
    const char* shown;
  } rows[] = {{"MS Sans Serif", "Liberation Sans"}, {"MS Serif", "Liberation Serif"}, {"Arial", "Liberation Sans"},
              {"ARIAL", "Liberation Sans"},         {"Arial Narrow", "Liberation Sans Narrow"},
              {"ARIAL NARROW", "Liberation Sans Narrow"}, {"Courier New", "Liberation Mono"}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.design);
    const QFont f = designFont(QString::fromLatin1(r.design), 9.75, true);
    EXPECT_EQ(QFontInfo(f).family(), QString::fromLatin1(r.shown));
    EXPECT_DOUBLE_EQ(f.pointSizeF(), 9.75);
    EXPECT_TRUE(f.bold());
  }
  EXPECT_TRUE(QFontInfo(QFont(QStringLiteral("Courier New"))).fixedPitch());
  // A control whose window names no font shows the design's default font.
  QLabel plain(QStringLiteral("Convert to Hex"));
  EXPECT_EQ(QFontInfo(plain.font()).family(), QStringLiteral("Liberation Sans"));
  EXPECT_DOUBLE_EQ(plain.font().pointSizeF(), 8.25);
}

// Only a caption that does not fit its box gets a smaller font, and never
// under 6 points; a data label keeps its size.
TEST(FoundScaling, ACaptionThatDoesNotFitGetsASmallerFont) {
  QWidget window;
  const QString longText = QStringLiteral("List DX Only (also controls main form)");
  auto* fits = new QLabel(QStringLiteral("Done"), &window);
  auto* wide = new QLabel(longText, &window);
  auto* hopeless = new QLabel(longText, &window);
  auto* data = new QLabel(longText, &window);
  auto* wrapped = new QLabel(QStringLiteral("Frequency must be a number of MHz, such as 14.025."), &window);
  wrapped->setWordWrap(true);
  auto* check = new QCheckBox(longText, &window);
  auto* option = new QRadioButton(QStringLiteral("Convert to Hex"), &window);
  auto* button = new QPushButton(QStringLiteral("Copy unprocessed data to clipboard"), &window);
  auto* frame = new QGroupBox(QStringLiteral("Baud Rate of Com Port to TNC"), &window);
  TwipLayout f;
  f.add(fits, ControlKind::Label, 0, 0, 1500, 300, 8.25);
  f.add(wide, ControlKind::Label, 0, 0, 2700, 300, 8.25);
  f.add(hopeless, ControlKind::Label, 0, 0, 600, 300, 8.25);
  f.add(data, ControlKind::Label, 0, 0, 600, 300, 8.25).fitText = false;
  f.add(wrapped, ControlKind::Label, 0, 0, 2400, 300, 8.25);
  f.add(check, ControlKind::CheckBox, 0, 0, 3000, 300, 8.25);
  f.add(option, ControlKind::Option, 0, 0, 1200, 300, 8.25);
  f.add(button, ControlKind::Button, 0, 0, 2550, 400, 8.25);
  f.add(frame, ControlKind::Frame, 0, 0, 2100, 1000, 8.25);
  f.apply(&window, 15);
  for (QWidget* w : std::initializer_list<QWidget*>{fits, wide, wrapped, check, option, button, frame}) {
    SCOPED_TRACE(w->metaObject()->className());
    EXPECT_TRUE(captionFits(w));
    EXPECT_GE(w->font().pointSizeF(), kSmallestCaptionPoints);
  }
  EXPECT_DOUBLE_EQ(fits->font().pointSizeF(), 8.25);
  for (QWidget* w : std::initializer_list<QWidget*>{wide, wrapped, check, option, button, frame})
    EXPECT_LT(w->font().pointSizeF(), 8.25) << w->metaObject()->className();
  EXPECT_DOUBLE_EQ(hopeless->font().pointSizeF(), kSmallestCaptionPoints);
  EXPECT_FALSE(captionFits(hopeless));
  EXPECT_DOUBLE_EQ(data->font().pointSizeF(), 8.25);
  // One quarter point larger would not fit: the font is cut no further than needed.
  QFont bigger = wide->font();
  bigger.setPointSizeF(bigger.pointSizeF() + 0.25);
  wide->setFont(bigger);
  EXPECT_FALSE(captionFits(wide));
}

}  // namespace
}  // namespace fd
