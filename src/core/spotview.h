#pragma once
// The main window's spot area as the spotting subsystem sees it: the spot
// list txtDX, the band-map area lblDX and the duplicate line lblDupe. The
// spotting subsystem fills the rows and takes the controls' mouse events.
#include <QString>

#include "platform/colors.h"

class QTreeWidget;

namespace fd {

class ClickLabel;

class SpotView {
 public:
  virtual ~SpotView() = default;
  virtual QTreeWidget* spotList() = 0;    // txtDX, eight columns
  virtual ClickLabel* bandMapArea() = 0;  // lblDX
  virtual void setDupeLine(const QString& text, ColorValue back) = 0;
  virtual QString dupeLine() const = 0;
  virtual ColorValue dupeBack() const = 0;
};

}  // namespace fd
