// Windows laid out in twips for a 9600 x 7200 screen, scaled at load.
#include <QFontInfo>
#include <QLabel>
#include <QTreeWidget>

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
  const Screen screens[] = {
      {"design 640 x 480 at 15 twips", 9600, 7200}, {"1.6 times", 15360, 11520}, {"wide", 19200, 7200},
      {"tall", 9600, 14400},                        {"offscreen 800 x 600", 12000, 9000},
  };
  for (const Screen& sc : screens) {
    SCOPED_TRACE(sc.name);
    FakeScreen screen;
    screen.w = sc.w;
    screen.h = sc.h;
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

TEST(FoundScaling, FullHeightWindowEndsAboveTheScreen) {
  FakeScreen screen;
  screen.w = 9600;
  screen.h = 7200;
  TwipLayout f;
  f.width = 9600;
  f.height = 7200;
  ResizeForm(f, screen);
  EXPECT_DOUBLE_EQ(f.left, 0);
  EXPECT_DOUBLE_EQ(f.top, -170);
  EXPECT_DOUBLE_EQ(f.fontSize, 8.25);
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
  for (const char* name : {"MS Sans Serif", "MS Serif", "Arial", "Courier New"}) {
    SCOPED_TRACE(name);
    const QFont f = designFont(QString::fromLatin1(name), 9.75, true);
    const QFontInfo info(f);
    EXPECT_NE(info.family(), QString::fromLatin1(name));
    EXPECT_TRUE(info.family().startsWith(QStringLiteral("DejaVu")) ||
                info.family().startsWith(QStringLiteral("Liberation")))
        << info.family().toStdString();
    EXPECT_DOUBLE_EQ(f.pointSizeF(), 9.75);
    EXPECT_TRUE(f.bold());
  }
  EXPECT_TRUE(QFontInfo(QFont(QStringLiteral("Courier New"))).fixedPitch());
}

}  // namespace
}  // namespace fd
