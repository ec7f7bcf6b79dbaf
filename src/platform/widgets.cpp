#include "platform/widgets.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

#include "platform/colors.h"
#include "platform/textwrap.h"

namespace fd {

int mouseButtonCode(Qt::MouseButton b) {
  switch (b) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
  }
}

ClickLabel::ClickLabel(QWidget* parent) : QLabel(parent) {
  setMouseTracking(true);
  setAttribute(Qt::WA_Hover);
  clickWait_.setSingleShot(true);
  clickWait_.setTimerType(Qt::PreciseTimer);  // never shorter than the double-click time
  connect(&clickWait_, &QTimer::timeout, this, [this] { clickNow(); });
}

void ClickLabel::restyle() {
  QString css;
  if (back_ >= 0) css += QStringLiteral("background-color: %1;").arg(toQColor(back_).name());
  if (fore_ >= 0) css += QStringLiteral("color: %1;").arg(toQColor(fore_).name());
  setAutoFillBackground(back_ >= 0);
  setStyleSheet(css.isEmpty() ? QString() : QStringLiteral("QLabel{%1}").arg(css));
}

void ClickLabel::setBackColor(int v) {
  if (back_ == v) return;
  back_ = v;
  restyle();
}

void ClickLabel::setForeColor(int v) {
  if (fore_ == v) return;
  fore_ = v;
  restyle();
}

void ClickLabel::mousePressEvent(QMouseEvent* e) {
  const bool left = e->button() == Qt::LeftButton;
  const bool doubleClick = left && clickWait_.isActive();
  // Another button's press comes after the waiting click.
  if (clickWait_.isActive() && !left) clickNow();
  clickWait_.stop();
  pressed_ = !doubleClick;
  secondPress_ = doubleClick;
  if (onMouseDown) onMouseDown(mouseButtonCode(e->button()));
  e->accept();
  if (!doubleClick) return;
  if (onClick) onClick();
  if (onDoubleClick) onDoubleClick();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* e) {
  const bool wasPressed = pressed_;
  pressed_ = false;
  secondPress_ = false;
  e->accept();
  if (!wasPressed || e->button() != Qt::LeftButton || !rect().contains(e->position().toPoint())) return;
  if (!onDoubleClick) {
    if (onClick) onClick();
    return;
  }
  clickWait_.start(QApplication::doubleClickInterval());
}

// The window system's double click follows a second press; a label that
// waits has made that press its double click already.
void ClickLabel::mouseDoubleClickEvent(QMouseEvent* e) {
  if (secondPress_) {
    e->accept();
    return;
  }
  mousePressEvent(e);
}

void ClickLabel::clickNow() {
  clickWait_.stop();
  if (onClick) onClick();
}

void ClickLabel::mouseMoveEvent(QMouseEvent* e) {
  if (onMouseMove) onMouseMove();
  e->accept();
}

void PathLabel::setPath(const QString& before, const QString& path, const QString& after) {
  before_ = before;
  path_ = path;
  after_ = after;
  setText(before + path + after);
  updateTip();
}

QStringList PathLabel::linesOf(const QString& text) const {
  const QFontMetrics fm(font());
  return wrapAtBlanksAndSlashes(text, contentsRect().width(), [&fm](const QString& s) { return fm.horizontalAdvance(s); });
}

// How many lines the label's height shows whole.
int PathLabel::lineRoom() const {
  const QFontMetrics fm(font());
  const int h = contentsRect().height();
  return h < fm.height() ? 0 : 1 + (h - fm.height()) / std::max(1, fm.lineSpacing());
}

bool PathLabel::fits(const QString& text) const {
  const QFontMetrics fm(font());
  const int room = lineRoom();
  // A text wider than all the lines together (a blank dropped at each break)
  // cannot fit: a path of thousands of characters is never wrapped.
  if (fm.horizontalAdvance(text) > room * (contentsRect().width() + fm.horizontalAdvance(u' '))) return false;
  return linesOf(text).size() <= room;
}

bool PathLabel::textFits() const { return fits(text()); }

QStringList PathLabel::drawnLines() const {
  if (!holdsPath() || textFits()) return linesOf(text());
  // The most of the path that fits, its two ends kept in equal shares.
  auto elided = [this](qsizetype keep) {
    const qsizetype head = (keep + 1) / 2;
    return before_ + path_.left(head) + u'\u2026' + path_.right(keep - head) + after_;
  };
  qsizetype lo = 0, hi = path_.size() - 1;
  while (lo < hi) {
    const qsizetype mid = (lo + hi + 1) / 2;
    if (fits(elided(mid))) lo = mid;
    else hi = mid - 1;
  }
  return linesOf(elided(lo));
}

void PathLabel::updateTip() { setToolTip(holdsPath() && !textFits() ? path_ : QString()); }

void PathLabel::resizeEvent(QResizeEvent* e) {
  ClickLabel::resizeEvent(e);
  updateTip();
}

void PathLabel::changeEvent(QEvent* e) {
  ClickLabel::changeEvent(e);
  if (e->type() == QEvent::FontChange) updateTip();
}

void PathLabel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  drawFrame(&p);
  const QRect r = contentsRect();
  const QFontMetrics fm(font());
  int y = r.top();
  for (const QString& line : drawnLines()) {
    style()->drawItemText(&p, QRect(r.left(), y, r.width(), fm.height()), alignment(), palette(), isEnabled(), line,
                          foregroundRole());
    y += fm.lineSpacing();
  }
}

}  // namespace fd
