#include "platform/widgets.h"

#include <QMouseEvent>

#include "platform/colors.h"

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
  pressed_ = true;
  if (onMouseDown) onMouseDown(mouseButtonCode(e->button()));
  e->accept();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* e) {
  const bool wasPressed = pressed_;
  pressed_ = false;
  if (wasPressed && e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()) && onClick) onClick();
  e->accept();
}

void ClickLabel::mouseMoveEvent(QMouseEvent* e) {
  if (onMouseMove) onMouseMove();
  e->accept();
}

}  // namespace fd
