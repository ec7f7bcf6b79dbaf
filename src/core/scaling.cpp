#include "core/scaling.h"

#include <QAbstractItemView>
#include <QHeaderView>
#include <QTreeWidget>
#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/screen.h"

namespace fd {
namespace {

bool scalesPosition(ControlKind k) { return k != ControlKind::Line && k != ControlKind::Other; }
bool scalesFont(ControlKind k) {
  return k != ControlKind::Line && k != ControlKind::Other && k != ControlKind::Image && k != ControlKind::Media;
}
int px(double twips, double tpp) { return static_cast<int>(std::lround(twips / tpp)); }

void scaleControls(TwipLayout& form, double wx, double hy, double fontFactor, bool scaleComboHeight,
                   const QString& fontName = {}) {
  for (TwipControl& c : form.controls) {
    if (scalesPosition(c.kind)) {
      if (c.kind != ControlKind::ComboBox || scaleComboHeight) c.height *= hy;
      c.left *= wx;
      c.top *= hy;
      c.width *= wx;
      if (scalesFont(c.kind)) {
        if (!fontName.isEmpty() && c.widget) {
          QFont f = c.widget->font();
          f.setFamily(fontName);
          c.widget->setFont(f);
        }
        c.fontSize *= fontFactor;
      }
    }
    if (c.kind == ControlKind::Line) {
      c.x1 *= wx;
      c.x2 *= wx;
      c.y1 *= hy;
      c.y2 *= hy;
    }
    if (c.kind == ControlKind::ListView)
      for (double& w : c.columns) w *= wx;
  }
}

}  // namespace

TwipControl& TwipLayout::add(QWidget* w, ControlKind kind, double l, double t, double wd, double h, double font) {
  TwipControl c;
  c.widget = w;
  c.kind = kind;
  c.left = l;
  c.top = t;
  c.width = wd;
  c.height = h;
  c.fontSize = font;
  if (kind == ControlKind::Line) {
    c.x1 = l;
    c.y1 = t;
    c.x2 = l + wd;
    c.y2 = t + h;
  }
  controls.push_back(c);
  return controls.back();
}

TwipControl* TwipLayout::find(const QWidget* w) {
  for (TwipControl& c : controls)
    if (c.widget == w) return &c;
  return nullptr;
}

void TwipLayout::applyControl(const TwipControl& c, double tpp) const {
  if (!c.widget) return;
  if (c.kind == ControlKind::Line) {
    const double l = std::min(c.x1, c.x2), t = std::min(c.y1, c.y2);
    c.widget->setGeometry(px(l, tpp), px(t, tpp), std::max(1, px(std::fabs(c.x2 - c.x1), tpp)),
                          std::max(1, px(std::fabs(c.y2 - c.y1), tpp)));
    return;
  }
  c.widget->setGeometry(px(c.left, tpp), px(c.top, tpp), std::max(0, px(c.width, tpp)), std::max(0, px(c.height, tpp)));
  if (c.fontSize > 0) {
    QFont f = c.widget->font();
    f.setPointSizeF(std::max(1.0, c.fontSize));
    c.widget->setFont(f);
  }
  if (c.kind == ControlKind::ListView) {
    if (auto* tree = qobject_cast<QTreeWidget*>(c.widget)) {
      for (size_t i = 0; i < c.columns.size() && static_cast<int>(i) < tree->columnCount(); ++i) {
        tree->setColumnWidth(static_cast<int>(i), px(c.columns[i], tpp));
        tree->setColumnHidden(static_cast<int>(i), c.columns[i] <= 0);
      }
    }
  }
}

void TwipLayout::apply(QWidget* window, double tpp) const {
  if (window) {
    QFont f = window->font();
    if (!fontName.isEmpty()) f.setFamily(fontName);
    if (fontSize > 0) f.setPointSizeF(std::max(1.0, fontSize));
    window->setFont(f);
    window->move(px(left, tpp), px(top, tpp));
    window->resize(std::max(1, px(width, tpp)), std::max(1, px(height, tpp)));
  }
  for (const TwipControl& c : controls) applyControl(c, tpp);
}

void installFontSubstitutions() {
  // Liberation fonts keep the metrics of the fonts the layout was drawn with.
  QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
  QFont::insertSubstitutions(QStringLiteral("MS Serif"), {QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")});
  QFont::insertSubstitutions(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
  QFont::insertSubstitutions(QStringLiteral("Courier New"),
                             {QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")});
}

QFont designFont(const QString& family, double points, bool bold) {
  QFont f(family);
  f.setPointSizeF(points);
  f.setBold(bold);
  return f;
}

void ResizeForm(TwipLayout& form, const Screen& screen) {
  const double sw = screen.widthTwips(), sh = screen.heightTwips();
  const float wx = static_cast<float>(sw / 9600.0), hy = static_cast<float>(sh / 7200.0);
  const double fontFactor = wx > hy ? hy : wx;
  form.width = form.width / 9600.0 * sw;
  form.height = form.height / 7200.0 * sh;
  form.left = (sw - form.width) / 2;
  form.top = (sh - form.height) / 2 - 170;
  form.fontSize = form.fontSize * sh / 7200.0;
  scaleControls(form, wx, hy, fontFactor, false);
}

void ResizeFormByWidth(TwipLayout& form, const Screen& screen, Placement place) {
  ResizeFormCapped(form, screen.widthTwips(), screen.heightTwips(), std::numeric_limits<double>::infinity(), place);
}

void ResizeFormCapped(TwipLayout& form, double sw, double sh, double fontCap, Placement place) {
  const float wx = static_cast<float>(sw / 9600.0), hy = static_cast<float>(sh / 7200.0);
  const double fontFactor = std::min<double>(wx, fontCap);
  form.width = form.width / 9600.0 * sw;
  form.height = form.height / 7200.0 * sh;
  form.left = (sw - form.width) / 2;
  form.top = (sh - form.height) / 2;
  if (place == Placement::QuarterTop) form.top /= 2;
  form.fontSize = form.fontSize * fontFactor;
  scaleControls(form, wx, hy, fontFactor, false);
}

void ResizeToScale(TwipLayout& form, double targetWidth, double targetHeight, double baseWidth, double baseHeight,
                   int mode, double fontDamping, const QString& fontName) {
  const double w0 = form.width, h0 = form.height;
  if (mode == 1) {
    form.width = targetWidth;
    form.height = targetHeight;
  } else {
    form.width = form.width / baseWidth * targetWidth;
    form.height = form.height / baseHeight * targetHeight;
  }
  form.left = (targetWidth - form.width) / 2;
  form.top = (targetHeight - form.height) / 2;
  const float rw = static_cast<float>(form.width / w0), rh = static_cast<float>(form.height / h0);
  const double r = rw > rh ? rh : rw;
  const double fontFactor = form.height > h0 ? 1 + (r - 1) * fontDamping : r;
  if (!fontName.isEmpty()) form.fontName = fontName;
  form.fontSize *= fontFactor;
  scaleControls(form, rw, rh, fontFactor, true, fontName);
}

}  // namespace fd
