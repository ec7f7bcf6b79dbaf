#include "log/frmstationid.h"

#include <QPushButton>

#include "core/prefs.h"
#include "core/pictures.h"
#include "platform/items.h"
#include "platform/platform.h"
#include "platform/widgets.h"
#include "log/keyrules.h"
#include "core/windowrules.h"

namespace fd {

const QString kStationCaption = QStringLiteral(" Amateur Station I.D.");
const QString kOffsetRangeMessage = QStringLiteral("The UTC offset must be between -24 and 24 hours.");

std::optional<float> readOffset(const QString& text) {
  const auto v = items::toDouble(text);
  if (!v || !prefs::validOffset(*v)) return std::nullopt;
  return static_cast<float>(*v);
}

frmStationID::frmStationID(const ProgramState& state, QWidget* parent) : QDialog(parent), s_(state) {
  setWindowTitle(kStationCaption);
  applyWindowRule(this, "frmStationID");  // Esc as the close box: the boxes go back
  layout.width = 5370;
  layout.height = 3210;
  layout.fontSize = 8.25;
  const QString sans = QStringLiteral("MS Sans Serif");
  setFont(designFont(sans, 8.25));

  auto label = [&](const QString& text, double l, double t, double w, double h) {
    auto* lb = new ClickLabel(this);
    lb->setText(text);
    lb->setFont(designFont(sans, 8.25));
    layout.add(lb, ControlKind::Label, l, t, w, h, 8.25);
    return lb;
  };
  auto box = [&](double l, double t, double w, double h) {
    auto* b = new KeyBox(this);
    b->preview = this;
    b->setFont(designFont(sans, 8.25));
    layout.add(b, ControlKind::TextBox, l, t, w, h, 8.25);
    return b;
  };

  Label1 = label(QStringLiteral("Please Enter your Call Sign:"), 840, 240, 2895, 255);
  Text1 = box(3840, 240, 1095, 285);
  Label4 = label(QStringLiteral("Class:"), 840, 720, 975, 255);
  Label9 = label(QStringLiteral("(2A, 1E, etc.)"), 1920, 750, 1455, 255);
  Text3 = box(4320, 720, 615, 285);
  Label5 = label(QStringLiteral("Section:"), 840, 1200, 855, 255);
  Label11 = label(QStringLiteral("(ARRL Section: ENY, MDC, etc.)"), 1800, 1230, 2535, 375);
  Text5 = box(4320, 1200, 615, 285);
  Label7 = label(QStringLiteral("Hours added for UTC:"), 840, 1680, 2055, 255);
  Text6 = box(4320, 1680, 615, 285);
  Label8 = label(QStringLiteral("Operator's Initials:"), 840, 2160, 1935, 255);
  Label10 = label(QStringLiteral("(Optional)"), 2880, 2190, 1455, 255);
  Text4 = box(4320, 2160, 615, 285);
  Command1 = new QPushButton(QStringLiteral("Done"), this);
  Command1->setFont(designFont(sans, 8.25));
  // Enter belongs to the boxes, and a click must not move the focus out of a
  // UTC box that holds no number: Done itself turns that into "0".
  Command1->setAutoDefault(false);
  Command1->setDefault(false);
  Command1->setFocusPolicy(Qt::TabFocus);
  layout.add(Command1, ControlKind::Button, 2040, 2760, 1215, 375, 8.25);
  Image1 = new ClickLabel(this);
  Image1->setScaledContents(true);
  layout.add(Image1, ControlKind::Image, 120, 240, 600, 600);

  ResizeForm(layout, display());
  layout.apply(this, display().twipsPerPixel());
  Image1->setPixmap(builtInTower(Image1->size().expandedTo(QSize(8, 8))));

  setTabOrder(Text1, Text3);
  setTabOrder(Text3, Text5);
  setTabOrder(Text5, Text6);
  setTabOrder(Text6, Text4);
  setTabOrder(Text4, Command1);

  auto enterIsDone = [this](int& k) {
    if (k == 13) {
      k = 0;
      Command1_Click();
      return true;
    }
    return false;
  };
  for (KeyBox* b : {Text1, Text3, Text5})
    b->onKeyPress = [enterIsDone](int& k) { if (!enterIsDone(k)) Cap3(k); };
  Text4->onKeyPress = [enterIsDone](int& k) {
    if (k == '"' || k == '\'') { k = 0; return; }
    if (!enterIsDone(k)) Cap3(k);
  };
  Text6->onKeyPress = [enterIsDone](int& k) { if (!enterIsDone(k)) numberr(k); };
  Text6->onLostFocus = [this] { Text6_LostFocus(); };

  // Pasted text passes the same filters as typed keys.
  auto pasteFilter = [this](void (*filter)(int&), bool noApostrophe) {
    return [this, filter, noApostrophe](int k) {
      previewKeyPress(k);
      if (noApostrophe && k == '\'') k = 0;
      if (k) filter(k);
      return k;
    };
  };
  for (KeyBox* b : {Text1, Text3, Text5}) b->charFilter = pasteFilter(&Cap3, false);
  Text4->charFilter = pasteFilter(&Cap3, true);
  Text6->charFilter = pasteFilter(&numberr, false);

  connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
  fillBoxes();
}

void frmStationID::fillBoxes() {
  Text1->setText(s_.MyCall);
  Text3->setText(s_.MyClass);
  Text5->setText(s_.MySection);
  Text6->setText(items::number(static_cast<double>(s_.UTCOffset)));
  Text4->setText(s_.OpInitials);
}

void frmStationID::previewKeyPress(int& keyAscii) {
  if (keyAscii == '"') keyAscii = 0;
}

void frmStationID::Cap3(int& keyAscii) { keyAscii = keyrules::capital(keyAscii); }

void frmStationID::numberr(int& keyAscii) {
  if (keyAscii == 8) return;
  if (keyAscii < '-' || keyAscii > '9') keyAscii = 0;
}

void frmStationID::Text6_LostFocus() {
  if (readOffset(Text6->text())) return;
  dialogs().message(kStationCaption, kOffsetRangeMessage, Buttons::Ok);
  Text6->setFocus(Qt::OtherFocusReason);
}

void frmStationID::Command1_Click() {
  if (!readOffset(Text6->text())) Text6->setText(QStringLiteral("0"));
  doneClicked = true;
  hide();
}

void frmStationID::reject() {
  fillBoxes();
  QDialog::reject();
}

}  // namespace fd
