#pragma once
// Windows are laid out in twips for a 9600 x 7200 twip screen, at absolute
// positions, and scaled to the screen's work area when they load. A TwipLayout
// keeps each control's design values (in the window's control order); the
// scaling rules change those values and apply() turns them into pixels.
#include <QFont>
#include <QMargins>
#include <QRect>
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
  // A caption (label, button, check box, option, frame) that does not fit its
  // box at its font gets a smaller font, never under 6 points. Data labels
  // whose text changes while the window is used keep their size: false.
  bool fitText = true;
};

struct TwipLayout {
  double left = 0, top = 0, width = 9600, height = 7200;  // the window, in twips
  double fontSize = 8.25;
  QString fontName;  // empty = the window's own font family left alone
  std::vector<TwipControl> controls;

  TwipControl& add(QWidget* w, ControlKind kind, double l, double t, double wd, double h, double font = 0);
  TwipControl* find(const QWidget* w);
  // Pixel geometry from the twip values. The layout's size is the window's
  // client area as designed and left, top place its outer frame on the work
  // area; the window manager's frame comes around the client area and the
  // whole frame, title bar included, is kept inside the work area. Where
  // client area and frame do not fit, the frame fills the work area and the
  // controls are drawn into the client area it leaves (fitX, fitY).
  void apply(QWidget* window, double twipsPerPixel) const;
  void applyControl(const TwipControl& c, double twipsPerPixel) const;
  mutable double fitX = 1, fitY = 1;
};

// The window's frame and client rectangle for a client area wanted at a place
// on the work area (the place is the frame's top left, relative to the work
// area): the frame no larger than the work area and moved inside it, the
// client area what the frame leaves. Pixels.
struct FramePlace {
  QRect outer;
  QRect client;
};
FramePlace placeFrame(QRect client, QMargins frame, QRect workArea);

// The design's fonts and the installed fonts that stand in for them: the
// first three keep the metrics of the design's; the two "MS" fonts have no
// packaged clone and take the nearest.
struct DesignFontName {
  const char* design;
  const char* installed;
};
inline constexpr DesignFontName kDesignFonts[] = {
    {"Arial", "Liberation Sans"},        {"Arial Narrow", "Liberation Sans Narrow"},
    {"Courier New", "Liberation Mono"},  {"MS Sans Serif", "Liberation Sans"},
    {"MS Serif", "Liberation Serif"},
};
// The font a control shows when its window names none.
inline constexpr const char* kDefaultDesignFont = "MS Sans Serif";
inline constexpr double kDefaultDesignPoints = 8.25;
// A caption's font is made smaller only this far.
inline constexpr double kSmallestCaptionPoints = 6.0;

// Maps every design font name to its installed stand-in (never to whatever
// the font configuration would pick for an unknown name) and makes the
// design's default font the application's. Call once at start.
void installFontSubstitutions();
QFont designFont(const QString& family, double points, bool bold = false);

// Whether the control's caption shows whole in it at its font; true for a
// control that is no caption. Shrinks the font in quarter points until it
// does, never under kSmallestCaptionPoints.
bool captionFits(const QWidget* w);
void fitCaption(QWidget* w);

// The design-to-screen rule every dialog uses: size in proportion to the
// screen's work area, centred 170 twips above the middle but no higher than
// the work area's top, the window's font by the height factor, every
// control's position and size by the width and height factors and its font
// by the smaller of the two.
void ResizeForm(TwipLayout& form, const Screen& screen);

// The same rule with the three differences several small windows carry: top
// centred without the lift, the window's font and every control's font by the
// width factor. QuarterTop puts the top at a quarter of the free height, so
// the window sits above the centre.
enum class Placement { Centred, QuarterTop };
void ResizeFormByWidth(TwipLayout& form, const Screen& screen, Placement place = Placement::Centred);

// The keyer windows' rule: a 9600 x 7200 design to the given area (the
// work area), centred, positions and sizes by the width and
// height factors, fonts by the width factor but never by more than fontCap.
void ResizeFormCapped(TwipLayout& form, double areaWidth, double areaHeight, double fontCap,
                      Placement place = Placement::Centred);

// Scales a window to a given size, then its controls by how much its inner
// area grew; fonts damped and renamed when a font name is given.
void ResizeToScale(TwipLayout& form, double targetWidth, double targetHeight, double baseWidth, double baseHeight,
                   int mode, double fontDamping, const QString& fontName);

}  // namespace fd
