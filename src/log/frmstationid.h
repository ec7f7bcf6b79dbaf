#pragma once
// The station window " Amateur Station I.D.": own call, class, section, the
// hours added to local time for UTC, and the operator's initials. Its Done
// only hides it; the caller reads the boxes and then destroys the window.
#include <QDialog>
#include <optional>

#include "core/scaling.h"
#include "core/state.h"
#include "platform/keys.h"

class QPushButton;

namespace fd {

class ClickLabel;

extern const QString kStationCaption;
extern const QString kOffsetRangeMessage;

// A UTC offset as typed or stored: a finite number within -24..24 hours, or
// nothing (letters, an empty text, out of range).
std::optional<float> readOffset(const QString& text);

class frmStationID : public QDialog, public KeyPreview {
  Q_OBJECT
 public:
  explicit frmStationID(const ProgramState& state, QWidget* parent = nullptr);

  KeyBox *Text1 = nullptr, *Text3 = nullptr, *Text5 = nullptr, *Text6 = nullptr, *Text4 = nullptr;
  QPushButton* Command1 = nullptr;
  ClickLabel *Label1 = nullptr, *Label4 = nullptr, *Label9 = nullptr, *Label5 = nullptr, *Label11 = nullptr;
  ClickLabel *Label7 = nullptr, *Label8 = nullptr, *Label10 = nullptr, *Image1 = nullptr;
  TwipLayout layout;
  bool doneClicked = false;

  void Command1_Click();     // Done
  void Text6_LostFocus();
  static void Cap3(int& keyAscii);
  static void numberr(int& keyAscii);

  // The window sees every key first: a double quote goes nowhere.
  void previewKeyDown(int&, int&) override {}
  void previewKeyPress(int& keyAscii) override;

  // Closed by the window system or Esc: the boxes show the current values
  // again, so the caller reads back what was there.
  void reject() override;

 private:
  void fillBoxes();
  const ProgramState& s_;
};

}  // namespace fd
