#pragma once
// Controls the keyer windows place on their twip layouts.
#include <QLabel>
#include <QPushButton>

#include "core/scaling.h"
#include "platform/keys.h"

namespace fd::formparts {

// A button that Enter in a box never presses.
inline QPushButton* button(QWidget* parent, TwipLayout& layout, const QString& text, double l, double t, double w) {
  auto* b = new QPushButton(text, parent);
  b->setAutoDefault(false);
  layout.add(b, ControlKind::Button, l, t, w, 375, 8.25);
  return b;
}

inline QLabel* label(QWidget* parent, TwipLayout& layout, const QString& text, double l, double t, double w,
                     double h = 255, double pt = 8.25) {
  auto* lb = new QLabel(text, parent);
  lb->setWordWrap(true);
  lb->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  layout.add(lb, ControlKind::Label, l, t, w, h, pt);
  return lb;
}

}  // namespace fd::formparts
