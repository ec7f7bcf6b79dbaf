#include "core/scaling.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTreeWidget>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/platform.h"
#include "platform/screen.h"
#include "platform/widgets.h"

namespace fd {
namespace {

bool scalesPosition(ControlKind k) { return k != ControlKind::Line && k != ControlKind::Other; }
bool scalesFont(ControlKind k) {
  return k != ControlKind::Line && k != ControlKind::Other && k != ControlKind::Image && k != ControlKind::Media;
}
int px(double twips, double tpp) { return static_cast<int>(std::lround(twips / tpp)); }

QRect workAreaPixels() {
  const Screen& sc = display();
  const double tpp = sc.twipsPerPixel();
  return {px(sc.workLeftTwips(), tpp), px(sc.workTopTwips(), tpp), px(sc.workWidthTwips(), tpp),
          px(sc.workHeightTwips(), tpp)};
}

// The frame the window manager draws around the window: its own once it is
// framed, else the frame of another shown window as the best guess.
QMargins frameOf(const QWidget* w) {
  if (w->windowFlags() & Qt::FramelessWindowHint) return {};
  if (const QWindow* h = w->windowHandle(); h && w->isVisible() && !h->frameMargins().isNull()) return h->frameMargins();
  for (const QWindow* other : QGuiApplication::topLevelWindows())
    if (other->isVisible() && !other->frameMargins().isNull()) return other->frameMargins();
  return {};
}

// Keeps a window's frame inside the work area around its layout. The layout's
// size is the client area as designed; the window manager's frame comes
// around it. Where client and frame do not fit the work area, the frame is
// made to fit and the controls are drawn into the client area it leaves. The
// frame's margins are known only once the window manager has framed the shown
// window, so the window is placed again when they first show or change.
//
// The layout is the window's own member and outlives every event the keeper
// handles (a window being destroyed sends no Show or Move).
class FrameKeeper final : public QObject {
 public:
  static FrameKeeper* of(QWidget* w) {
    for (QObject* o : w->children())
      if (auto* k = dynamic_cast<FrameKeeper*>(o)) return k;
    return new FrameKeeper(w);
  }
  // Where the window goes and how its controls fit its client area.
  void prepare(const TwipLayout* layout, double tpp) {
    layout_ = layout;
    tpp_ = tpp;
    used_ = frameOf(w_);
    const QRect wanted(px(layout->left, tpp), px(layout->top, tpp), std::max(1, px(layout->width, tpp)),
                       std::max(1, px(layout->height, tpp)));
    place_ = w_->isWindow() ? placeFrame(wanted, used_, workAreaPixels()) : FramePlace{wanted, wanted};
    layout->fitX = static_cast<double>(place_.client.width()) / wanted.width();
    layout->fitY = static_cast<double>(place_.client.height()) / wanted.height();
  }
  void placeWindow() {
    if (!w_->isWindow()) {
      w_->setGeometry(place_.client);
      return;
    }
    if (w_->minimumSize() == w_->maximumSize()) w_->setFixedSize(place_.client.size());
    else w_->resize(place_.client.size());
    w_->move(place_.outer.topLeft());  // a window's position is its frame's
  }
  bool eventFilter(QObject*, QEvent* e) override {
    if (!layout_ || (e->type() != QEvent::Show && e->type() != QEvent::Move)) return false;
    if (frameOf(w_) != used_) {
      const double fx = layout_->fitX, fy = layout_->fitY;
      prepare(layout_, tpp_);
      if (fx != layout_->fitX || fy != layout_->fitY)
        for (const TwipControl& c : layout_->controls) layout_->applyControl(c, tpp_);
      placeWindow();
    }
    return false;
  }

 private:
  explicit FrameKeeper(QWidget* w) : QObject(w), w_(w) { w->installEventFilter(this); }

  QWidget* w_;
  const TwipLayout* layout_ = nullptr;
  double tpp_ = 15;
  QMargins used_;
  FramePlace place_;
};

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
    const double l = std::min(c.x1, c.x2) * fitX, t = std::min(c.y1, c.y2) * fitY;
    c.widget->setGeometry(px(l, tpp), px(t, tpp), std::max(1, px(std::fabs(c.x2 - c.x1) * fitX, tpp)),
                          std::max(1, px(std::fabs(c.y2 - c.y1) * fitY, tpp)));
    return;
  }
  // Each edge is rounded on its own, so controls that meet in twips never
  // overlap by a pixel.
  const int l = px(c.left * fitX, tpp), t = px(c.top * fitY, tpp);
  c.widget->setGeometry(l, t, std::max(0, px((c.left + c.width) * fitX, tpp) - l),
                        std::max(0, px((c.top + c.height) * fitY, tpp) - t));
  if (c.fontSize > 0) {
    QFont f = c.widget->font();
    f.setPointSizeF(std::max(1.0, c.fontSize));
    c.widget->setFont(f);
    if (c.fitText) fitCaption(c.widget);
  }
  if (c.kind == ControlKind::ListView) {
    if (auto* tree = qobject_cast<QTreeWidget*>(c.widget)) {
      for (size_t i = 0; i < c.columns.size() && static_cast<int>(i) < tree->columnCount(); ++i) {
        tree->setColumnWidth(static_cast<int>(i), px(c.columns[i] * fitX, tpp));
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
  }
  FrameKeeper* keeper = window ? FrameKeeper::of(window) : nullptr;
  if (keeper) keeper->prepare(this, tpp);
  for (const TwipControl& c : controls) applyControl(c, tpp);
  if (keeper) keeper->placeWindow();
}

FramePlace placeFrame(QRect wanted, QMargins frame, QRect work) {
  QRect outer(wanted.topLeft() + work.topLeft(), wanted.marginsAdded(frame).size());
  outer.setWidth(std::min(outer.width(), work.width()));
  outer.setHeight(std::min(outer.height(), work.height()));
  outer.moveLeft(std::clamp(outer.left(), work.left(), work.left() + work.width() - outer.width()));
  outer.moveTop(std::clamp(outer.top(), work.top(), work.top() + work.height() - outer.height()));
  QRect client = outer.marginsRemoved(frame);
  client.setWidth(std::max(1, client.width()));
  client.setHeight(std::max(1, client.height()));
  return {outer, client};
}

void installFontSubstitutions() {
  for (const DesignFontName& f : kDesignFonts) {
    const QString design = QString::fromLatin1(f.design);
    QFont::removeSubstitutions(design);
    QFont::insertSubstitution(design, QString::fromLatin1(f.installed));
  }
  // A control whose window names no font shows the design's default, not the
  // desktop's.
  QApplication::setFont(designFont(QString::fromLatin1(kDefaultDesignFont), kDefaultDesignPoints));
}

bool captionFits(const QWidget* w) {
  const QFontMetrics fm(w->font());
  auto within = [](QSize need, QRect box) { return need.width() <= box.width() && need.height() <= box.height(); };
  auto buttonBox = [](const QAbstractButton* b, QStyle::SubElement part) {
    QStyleOptionButton opt;
    opt.initFrom(b);
    opt.text = b->text();
    return b->style()->subElementRect(part, &opt, b);
  };
  if (const auto* p = qobject_cast<const PathLabel*>(w)) return p->textFits();  // its own line breaks
  if (const auto* l = qobject_cast<const QLabel*>(w)) {
    if (l->text().isEmpty() || l->textFormat() == Qt::RichText ||
        (l->textFormat() == Qt::AutoText && Qt::mightBeRichText(l->text())))
      return true;
    QRect box = l->contentsRect();
    box.adjust(l->margin(), l->margin(), -l->margin(), -l->margin());
    const int indent = l->indent() >= 0 ? l->indent() : l->frameWidth() > 0 ? fm.horizontalAdvance(u'x') / 2 : 0;
    if (l->alignment() & (Qt::AlignLeft | Qt::AlignRight)) box.setWidth(box.width() - indent);
    if (l->alignment() & (Qt::AlignTop | Qt::AlignBottom)) box.setHeight(box.height() - indent);
    const int flags = static_cast<int>(l->alignment()) | (l->wordWrap() ? Qt::TextWordWrap : 0);
    return within(fm.boundingRect(box, flags, l->text()).size(), box);
  }
  if (const auto* b = qobject_cast<const QAbstractButton*>(w)) {
    if (b->text().isEmpty()) return true;
    const QStyle::SubElement part = qobject_cast<const QCheckBox*>(b)      ? QStyle::SE_CheckBoxContents
                                    : qobject_cast<const QRadioButton*>(b) ? QStyle::SE_RadioButtonContents
                                                                          : QStyle::SE_PushButtonContents;
    return within(fm.size(Qt::TextShowMnemonic, b->text()), buttonBox(b, part));
  }
  if (const auto* g = qobject_cast<const QGroupBox*>(w)) {
    if (g->title().isEmpty()) return true;
    QStyleOptionGroupBox opt;
    opt.initFrom(g);
    opt.text = g->title();
    opt.lineWidth = 1;
    opt.textAlignment = g->alignment();
    opt.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    const QRect label = g->style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, g);
    return g->rect().contains(label) && label.width() >= fm.size(Qt::TextShowMnemonic, g->title()).width();
  }
  return true;
}

void fitCaption(QWidget* w) {
  if (!w) return;
  QFont f = w->font();
  for (double points = f.pointSizeF(); points > kSmallestCaptionPoints && !captionFits(w);) {
    points = std::max(kSmallestCaptionPoints, points - 0.25);
    f.setPointSizeF(points);
    w->setFont(f);
  }
}

QFont designFont(const QString& family, double points, bool bold) {
  QFont f(family);
  f.setPointSizeF(points);
  f.setBold(bold);
  return f;
}

void ResizeForm(TwipLayout& form, const Screen& screen) {
  const double sw = screen.workWidthTwips(), sh = screen.workHeightTwips();
  const float wx = static_cast<float>(sw / 9600.0), hy = static_cast<float>(sh / 7200.0);
  const double fontFactor = wx > hy ? hy : wx;
  form.width = form.width / 9600.0 * sw;
  form.height = form.height / 7200.0 * sh;
  form.left = (sw - form.width) / 2;
  // The lift stops at the work area's top: a window as tall as the work area
  // keeps its title bar on the screen.
  form.top = std::max(0.0, (sh - form.height) / 2 - 170);
  form.fontSize = form.fontSize * sh / 7200.0;
  scaleControls(form, wx, hy, fontFactor, false);
}

void ResizeFormByWidth(TwipLayout& form, const Screen& screen, Placement place) {
  ResizeFormCapped(form, screen.workWidthTwips(), screen.workHeightTwips(), std::numeric_limits<double>::infinity(),
                   place);
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
