#include "log/form6.h"

#include <QFrame>

#include "platform/platform.h"
#include "core/windowrules.h"

namespace fd {

Form6::Form6(ProgramState& state, QWidget* parent) : QDialog(parent), s(state) {
  setWindowTitle(QStringLiteral(" Modify Multiplier Color Selections"));
  applyWindowRule(this, "Form6");  // the close box goes on as Done does
  layout.width = 5595;
  layout.height = 2115;
  layout.fontSize = 8.25;

  auto button = [this](const QString& caption, double l, double t, double w, double h) {
    auto* b = new QPushButton(caption, this);
    b->setAutoDefault(false);  // Enter must not press a button behind the operator's back
    b->setFont(designFont(QStringLiteral("MS Sans Serif"), 8.25));
    layout.add(b, ControlKind::Button, l, t, w, h, 8.25);
    return b;
  };
  auto sample = [this](const QString& caption, double l, double t) {
    auto* lb = new ClickLabel(this);
    lb->setText(caption);
    lb->setAlignment(Qt::AlignCenter);
    lb->setWordWrap(true);
    lb->setFont(designFont(QStringLiteral("Arial"), 9));
    layout.add(lb, ControlKind::Label, l, t, 1935, 495, 9);
    return lb;
  };
  auto line = [this](double x1, double y1, double x2, double y2) {
    auto* f = new QFrame(this);
    f->setFrameShape(x1 == x2 ? QFrame::VLine : QFrame::HLine);
    f->setFrameShadow(QFrame::Sunken);
    TwipControl& c = layout.add(f, ControlKind::Line, x1, y1, x2 - x1, y2 - y1);
    c.x1 = x1, c.y1 = y1, c.x2 = x2, c.y2 = y2;
    return f;
  };

  Command1 = button(QStringLiteral("Change \"Remaining\" Color"), 120, 120, 2535, 495);
  Command3 = button(QStringLiteral("Change \"Worked\" Color"), 2880, 120, 2535, 495);
  Label2 = sample(QStringLiteral("Appearance of multiplier remaining"), 480, 840);
  Label1 = sample(QStringLiteral("Appearance of multiplier worked"), 3240, 840);
  Command6 = button(QStringLiteral("Done"), 2160, 1680, 1215, 375);
  Line1 = line(120, 1500, 5475, 1500);
  Line2 = line(2767, 120, 2767, 1380);

  connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
  connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
  connect(Command6, &QPushButton::clicked, this, [this] { Command6_Click(); });
  Form_Load();
}

void Form6::Form_Load() {
  ResizeFormByWidth(layout, display());
  layout.apply(this, display().twipsPerPixel());
  Label1->setForeColor(s.WorkedColor);
  Label2->setForeColor(s.RemainingColor);
}

// The dialog opens on the colour in force, and a cancelled dialog keeps it.
void Form6::Command1_Click() {
  const auto c = dialogs().chooseColor(s.RemainingColor);
  if (!c) return;
  s.RemainingColor = *c;
  Label2->setForeColor(s.RemainingColor);
}

void Form6::Command3_Click() {
  const auto c = dialogs().chooseColor(s.WorkedColor);
  if (!c) return;
  s.WorkedColor = *c;
  Label1->setForeColor(s.WorkedColor);
}

void Form6::Command6_Click() { hide(); }

}  // namespace fd
