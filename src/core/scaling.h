#pragma once
// Windows are laid out in twips for a 9600 x 7200 twip screen, at absolute
// positions, and scaled to the real screen when they load. A TwipLayout keeps
// each control's design values (in the window's control order); the scaling
// rules change those values and apply() turns them into pixels.
#include <QFont>
#include <QString>
#include <QWidget>
#include <vector>

namespace fd {

class Screen;

enum class ControlKind { ListBox, Button, TextBox, Label, ComboBox, Image, Media, CheckBox, Option, Frame, ListView, Line, Other };

struct TwipControl {
  QWidget* widget = nullptr;
  ControlKind kind = ControlKind::Other;
  double left = 0, top = 0, width = 0, height = 0;
  double fontSize = 0;                // points; 0 = the widget's own font left alone
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // lines
  std::vector<double> columns;        // list-view column widths
};

struct TwipLayout {
  double left = 0, top = 0, width = 9600, height = 7200;  // the window, in twips
  double fontSize = 8.25;
  QString fontName;  // empty = the window's own font family left alone
  std::vector<TwipControl> controls;

  TwipControl& add(QWidget* w, ControlKind kind, double l, double t, double wd, double h, double font = 0);
  TwipControl* find(const QWidget* w);
  // Pixel geometry from the twip values; the window's client area gets its size.
  void apply(QWidget* window, double twipsPerPixel) const;
  void applyControl(const TwipControl& c, double twipsPerPixel) const;
};

// Maps the design's fonts ("MS Sans Serif", "MS Serif", "Arial", "Courier New")
// to installed ones, sizes kept. Call once at start.
void installFontSubstitutions();
QFont designFont(const QString& family, double points, bool bold = false);

// The design-to-screen rule every dialog uses: size in proportion to the
// screen, centred 170 twips above the middle, the window's font by the height
// factor, every control's position and size by the width and height factors
// and its font by the smaller of the two.
void ResizeForm(TwipLayout& form, const Screen& screen);

// The same rule with the three differences several small windows carry: top
// centred without the lift, the window's font and every control's font by the
// width factor. QuarterTop puts the top at a quarter of the free height, so
// the window sits above the centre.
enum class Placement { Centred, QuarterTop };
void ResizeFormByWidth(TwipLayout& form, const Screen& screen, Placement place = Placement::Centred);

// The keyer windows' rule: a 9600 x 7200 design to the given area (the
// screen or its work area), centred, positions and sizes by the width and
// height factors, fonts by the width factor but never by more than fontCap.
void ResizeFormCapped(TwipLayout& form, double areaWidth, double areaHeight, double fontCap,
                      Placement place = Placement::Centred);

// Scales a window to a given size, then its controls by how much its inner
// area grew; fonts damped and renamed when a font name is given.
void ResizeToScale(TwipLayout& form, double targetWidth, double targetHeight, double baseWidth, double baseHeight,
                   int mode, double fontDamping, const QString& fontName);

}  // namespace fd
