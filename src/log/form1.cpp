#include "log/form1.h"

#include <QCloseEvent>
#include <QMouseEvent>

#include "core/prefs.h"

namespace fd {

Form1::Form1(ProgramState& state, Services& services, QWidget* parent)
    : QMainWindow(parent), s(state), sv(services), book(state, this) {
  setWindowTitle(kProgramTitle);
  setObjectName(QStringLiteral("Form1"));  // as every other window: its class name
  buildControls();
  buildMenus();
  connectEntry();
  Timer1.setInterval(60000);
  Timer2.setInterval(1000);
  connect(&Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
  connect(&Timer2, &QTimer::timeout, this, [this] { Timer2_Timer(); });
  // Every key of every control passes the window first.
  for (QWidget* w : findChildren<QWidget*>())
    if (!qobject_cast<KeyBox*>(w)) w->installEventFilter(&previewFilter_);
  surface->installEventFilter(this);
  surface->setMouseTracking(true);
}

// Ended without a close (a signal, or the application quitting): the side
// windows are unloaded here, while the services that own them still stand,
// so none is deleted twice once this window's children go.
Form1::~Form1() { Form_Unload(); }

void Form1::paintSection(int row, ColorValue color) {
  if (row >= 1 && row <= kSecTotal && Label10[static_cast<size_t>(row)])
    Label10[static_cast<size_t>(row)]->setForeColor(color);
}

void Form1::showTotals(int cw, int dig, int ph, int score) {
  lblTotCon->setText(QString::number(cw));
  lblTotSec->setText(QString::number(dig));
  lblsectogo->setText(QString::number(ph));
  lblTotScore->setText(QString::number(score));
}

void Form1::closeEvent(QCloseEvent* e) {
  if (closing_) { e->accept(); return; }
  if (Form_QueryUnload()) {
    e->ignore();
    return;
  }
  closing_ = true;
  Form_Unload();
  Form_Terminate();
  e->accept();
}

void Form1::changeEvent(QEvent* e) {
  if (e->type() == QEvent::ActivationChange && isActiveWindow()) Form_Activate();
  QMainWindow::changeEvent(e);
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
  if (watched == surface && event->type() == QEvent::MouseMove) Form_MouseMove();
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace fd
