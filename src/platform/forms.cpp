#include "platform/forms.h"

#include <QEvent>
#include <QEventLoop>
#include <QList>
#include <QShortcut>
#include <QWidget>

namespace fd {

void setDialogFrame(QWidget* dialog) {
  dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint);
}

void makeDialog(QDialog* dialog, std::function<void()> onEscape) {
  setDialogFrame(dialog);
  // A shortcut, so a focused box that takes every key cannot swallow it.
  auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), dialog);
  esc->setContext(Qt::WindowShortcut);
  QObject::connect(esc, &QShortcut::activated, dialog, std::move(onEscape));
}
namespace {
ModalHook& hookRef() {
  static ModalHook hook;
  return hook;
}
bool g_testMode = false;
std::function<void(const QString&)>& unhandledRef() {
  static std::function<void(const QString&)> f;
  return f;
}

// Ends a local loop when the window is hidden or closed.
class HideWatcher : public QObject {
 public:
  HideWatcher(QWidget* w, QEventLoop* loop) : loop_(loop) { w->installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Hide || e->type() == QEvent::Close) loop_->quit();
    return false;
  }

 private:
  QEventLoop* loop_;
};
}  // namespace

void setModalHook(ModalHook hook) { hookRef() = std::move(hook); }

void setTestMode(bool on, std::function<void(const QString&)> onUnhandled) {
  g_testMode = on;
  unhandledRef() = std::move(onUnhandled);
}

bool testMode() { return g_testMode; }

void reportUnhandled(const QString& what) {
  if (unhandledRef()) unhandledRef()(what);
}

void showModal(QWidget* window) {
  if (!window) return;
  // A window already waiting in a modal loop is only brought forward: a second
  // loop on it would return into a window the first loop still owns.
  static QList<QPointer<QWidget>> running;
  for (const QPointer<QWidget>& w : running)
    if (w == window) {
      window->raise();
      window->activateWindow();
      return;
    }
  QPointer<QWidget> guard(window);
  running.append(guard);
  struct Pop {
    ~Pop() { running.removeLast(); }
  } pop;

  if (hookRef()) {
    window->setWindowModality(Qt::ApplicationModal);
    window->show();
    ModalHook hook = hookRef();  // the hook may replace itself
    hook(window);
    if (guard && guard->isVisible()) guard->hide();
    if (guard) guard->setWindowModality(Qt::NonModal);
    return;
  }
  if (g_testMode) {
    reportUnhandled(QStringLiteral("modal window \"%1\" shown with no test hook").arg(window->windowTitle()));
    window->hide();
    return;
  }
  if (auto* dialog = qobject_cast<QDialog*>(window)) {
    dialog->exec();
    return;
  }
  window->setWindowModality(Qt::ApplicationModal);
  window->show();
  QEventLoop loop;
  HideWatcher watcher(window, &loop);
  QObject::connect(window, &QObject::destroyed, &loop, &QEventLoop::quit);
  if (window->isVisible()) loop.exec();
  if (guard) guard->setWindowModality(Qt::NonModal);
}

void showModeless(QWidget* window) {
  if (!window) return;
  window->show();
  window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
  window->raise();
  window->activateWindow();
}

HandlerDepth::Scope::~Scope() {
  // deleteLater from here: the window goes when the event loop that ran this
  // handler runs again, after the handler's own frames are gone.
  if (--d_.depth_ == 0 && d_.going_) d_.window_->deleteLater();
}

void HandlerDepth::unload() {
  going_ = true;
  window_->hide();
  if (depth_ == 0) delete window_;  // this object goes with it
}

}  // namespace fd
