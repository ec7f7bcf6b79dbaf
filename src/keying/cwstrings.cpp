#include "keying/cwstrings.h"

#include <QCloseEvent>
#include <QPushButton>

#include "core/windowrules.h"
#include "core/state.h"
#include "keying/cwkeyer.h"
#include "platform/keys.h"
#include "platform/platform.h"
#include "platform/widgets.h"

namespace fd {

frmCWStrings::frmCWStrings(CWKeyer& keyer, ProgramState& state, MainWindow* main, QWidget* parent)
    : QWidget(parent), k_(keyer), s_(state), main_(main) {
  setWindowTitle(QStringLiteral("CW Strings"));
  applyWindowRule(this, "frmCWStrings");  // Esc goes to the main window with every other key
  setFont(designFont(QStringLiteral("MS Sans Serif"), 8.25));
  for (int i = 0; i < 12; ++i) {
    const double top = 240 + i * 480;
    Label1[i] = new ClickLabel(this);
    Label1[i]->setText(QStringLiteral("F%1").arg(i + 1));
    layout.add(Label1[i], ControlKind::Label, 240, top, 600, 375, 9.75);
    lblCWString[i] = new ClickLabel(this);
    layout.add(lblCWString[i], ControlKind::Label, 960, top, 8400, 375, 9.75);
    Label1[i]->onClick = [this, i] { rowClicked(i); };
    lblCWString[i]->onClick = [this, i] { rowClicked(i); };
  }
  lblCWString[11]->setText(QStringLiteral("Keyboard"));
  auto* hint = new ClickLabel(this);
  hint->setText(QStringLiteral("Press Ctrl W to Show this form."));
  layout.add(hint, ControlKind::Label, 240, 6120, 5000, 375, 8.25);
  Command1 = new QPushButton(QStringLiteral("Done"), this);
  Command1->setAutoDefault(false);
  layout.add(Command1, ControlKind::Button, 7800, 6060, 1440, 495, 8.25);
  connect(Command1, &QPushButton::clicked, this, [this] { showMinimized(); });

  ResizeFormCapped(layout, display().workWidthTwips(), display().workHeightTwips(), 1.5);
  layout.apply(this, display().twipsPerPixel());

  // Every key goes to the main window's handlers first; a key they cancel is cancelled here.
  if (main_ && main_->keyPreview()) {
    auto* filter = new KeyPreviewFilter(main_->keyPreview(), this);
    installEventFilter(filter);
    for (QWidget* w : findChildren<QWidget*>()) w->installEventFilter(filter);
  }
  refresh();
}

void frmCWStrings::refresh() {
  const int boxes[11] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 12, 13};
  for (int i = 0; i < 11; ++i) lblCWString[i]->setText(k_.set.Text[boxes[i]]);
}

void frmCWStrings::rowClicked(int index) {
  if (s_.KeyingType == 0) return;
  int code = index + 112;
  if (code == 121) code = 124;  // F10's message is sent under 124
  if (code == 123) return;      // the keyboard row sends nothing
  k_.FKeyCW(code);
}

bool frmCWStrings::event(QEvent* e) {
  if (e->type() == QEvent::WindowActivate) refresh();
  return QWidget::event(e);
}

void frmCWStrings::closeEvent(QCloseEvent* e) {
  e->accept();
  if (onClosed) onClosed();
}

}  // namespace fd
