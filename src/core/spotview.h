#pragma once
// The main window's spot area as the spotting subsystem sees it: the spot
// list txtDX, the band-map area lblDX and the duplicate line lblDupe. The
// spotting subsystem fills the rows and takes the controls' mouse events.
#include <QString>

#include "platform/colors.h"

class QTreeWidget;
class QWidget;

namespace fd {

class ClickLabel;
struct TwipLayout;

class SpotView {
 public:
  virtual ~SpotView() = default;
  virtual QTreeWidget* spotList() = 0;    // txtDX, eight columns
  virtual ClickLabel* bandMapArea() = 0;  // lblDX
  virtual void setDupeLine(const QString& text, ColorValue back) = 0;
  virtual QString dupeLine() const = 0;
  virtual ColorValue dupeBack() const = 0;

  // The band map: its axis line LineDX, the fifty spot labels lblDXSpot and
  // the five scale labels lblFreqSpot.
  virtual QWidget* bandMapLine() = 0;
  virtual ClickLabel* spotLabel(int index) = 0;
  virtual ClickLabel* scaleLabel(int index) = 0;
  // The window's layout table (twips; the spot area is laid out in it) and
  // its application to the controls.
  virtual TwipLayout& layoutTable() = 0;
  virtual void applyLayout() = 0;
  virtual double clientHeightTwips() const = 0;
  // One Tab keystroke to the call field (its leave step runs).
  virtual void tabFromCall() = 0;
};

}  // namespace fd
