#pragma once
// The main window as the other subsystems see it. The main window implements
// it and hands it to each subsystem's service before its load step runs; no
// subsystem reaches the main window's controls any other way. Tests use a
// recording fake (tests/support/fakemainwindow.h).
#include <QString>

#include "platform/colors.h"

class QWidget;

namespace fd {

class KeyPreview;
class SpotView;

class MainWindow {
 public:
  enum class Field { Call, Class, Section };
  virtual ~MainWindow() = default;

  // An entry field's text as typed.
  virtual QString fieldText(Field f) const = 0;
  // A program write: the text passes the field's character filter (as pasted
  // text does), then the field's change step runs; no carries, no focus
  // moves, no save.
  virtual void setFieldText(Field f, const QString& text) = 0;
  // The save step, as Enter in an entry field runs it.
  virtual void Mains() = 0;

  // The band and mode commands as the menus run them (CurBand/CurMode, the
  // labels, the menu marks, SavePref, the band map). A band or mode outside
  // the lists does nothing.
  virtual void selectBand(const QString& band) = 0;
  virtual void selectMode(const QString& mode) = 0;
  // The radio's frequency in MHz, text; the next contact takes it.
  virtual void setCurFreq(const QString& mhz) = 0;

  // The status line lblDialog: its text, and its back colour where given.
  virtual void setStatus(const QString& text) = 0;
  virtual void setStatus(const QString& text, ColorValue back) = 0;
  virtual QString statusText() const = 0;
  // The radio link's port went away while it was polled (true), or the link
  // is back or stopped trying (false). While lost, the band and mode labels
  // show that they no longer follow the radio; the loss is told once on the
  // status line, with a beep, unless the line holds a report that must stay
  // readable, and the return gives the line back what it held.
  virtual void setRadioLost(bool lost) = 0;

  // mnuopen2 with the window's refresh: totals, section grid, list, rates.
  virtual void mnuopen2() = 0;
  // Writes fdpref.dat (its failure report is the main window's).
  virtual void SavePref() = 0;
  // The focus back to the call field.
  virtual void focusCall() = 0;
  // Parent for the subsystems' windows and boxes.
  virtual QWidget* window() = 0;
  // The main window's title text.
  virtual QString caption() const = 0;
  // The main window's key handlers (KeyDown, KeyPress by reference), for a
  // window that hands every key on to them.
  virtual KeyPreview* keyPreview() = 0;
  // The spot list, band-map area and duplicate line (core/spotview.h).
  virtual SpotView* spotView() { return nullptr; }
};

}  // namespace fd
