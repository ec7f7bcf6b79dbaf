#include "platform/forms.h"

#include <QEvent>
#include <QKeyEvent>
#include <QTimer>
#include <QEventLoop>
#include <QList>
#include <QShortcut>
#include <QWidget>
#include <QWindow>

namespace fd {

void setDialogFrame(QWidget* dialog) {
  dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint);
}

namespace {

const char* const kOwnWindowProperty = "fdOwnWindow";

// A dialog is transient for the main window, so the window manager keeps it
// above; a window of its own goes behind the main window when that is
// clicked. The type changes only while the window is hidden.
//
// The window keeps its place through the change. Put away, the window stands
// where its frame stood: the window manager leaves it there, so that shown
// again it gets its frame back at the same place. Qt's type change moves a
// window whose native window lives on back to that place as if it were the
// place of its client area; the frame would then come up and to the left by
// its own margins, the title bar off the top of a window as tall as the work
// area. So the place is given back as the frame's.
void setWindowType(QWidget* w, Qt::WindowType type) {
  const Qt::WindowFlags f = w->windowFlags();
  if ((f & Qt::WindowType_Mask) == type || w->isVisible()) return;
  const QPoint framePlace = w->pos();
  w->setWindowFlags((f & ~Qt::WindowType_Mask) | type);
  if (QWindow* h = w->windowHandle()) h->setFramePosition(framePlace);
}

// Esc that a control left unused reaches the window itself; with Done the
// close box runs Done as well.
class RuleFilter : public QObject {
 public:
  RuleFilter(QWidget* window, bool closeRunsAction, std::function<void()> onEscape)
      : QObject(window), window_(window), closeRunsAction_(closeRunsAction), onEscape_(std::move(onEscape)) {
    window->installEventFilter(this);
  }
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (watched != window_) return false;
    if (e->type() == QEvent::Close && closeRunsAction_) {
      e->ignore();
      if (window_->isVisible()) onEscape_();
      return true;
    }
    if (e->type() == QEvent::KeyPress && onEscape_) {
      auto* ke = static_cast<QKeyEvent*>(e);
      if (ke->key() == Qt::Key_Escape && (ke->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        onEscape_();
        return true;
      }
    }
    return false;
  }

 private:
  QWidget* window_;
  bool closeRunsAction_;
  std::function<void()> onEscape_;
};

}  // namespace

void applyWindowRule(QWidget* window, const WindowRule& rule, std::function<void()> action) {
  Qt::WindowFlags f = (rule.ownWindow ? Qt::Window : Qt::Dialog) | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  if (rule.closeBox) f |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  if (rule.minMax) f |= Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint;
  f |= window->windowFlags() & Qt::FramelessWindowHint;  // a window drawn without a frame keeps it so
  window->setWindowFlags(f);
  window->setProperty(kOwnWindowProperty, rule.ownWindow);

  std::function<void()> onEscape;
  switch (rule.esc) {
    case EscKey::Done:
    case EscKey::Cancel: onEscape = std::move(action); break;
    case EscKey::Close: onEscape = [window] { window->close(); }; break;
    case EscKey::Own:
    case EscKey::MainWindow: break;
  }
  new RuleFilter(window, rule.esc == EscKey::Done, onEscape);
  if (!onEscape) return;
  // A shortcut, so a focused box that takes every key cannot swallow it.
  auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), window);
  esc->setContext(Qt::WindowShortcut);
  QObject::connect(esc, &QShortcut::activated, window, onEscape);
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

// A modal window that the window manager minimises or maximises comes back
// to its normal state at once.
class KeepNormalState : public QObject {
 public:
  explicit KeepNormalState(QWidget* w) : w_(w) { w->installEventFilter(this); }
  ~KeepNormalState() override {
    if (w_) w_->removeEventFilter(this);
  }
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (watched == w_ && e->type() == QEvent::WindowStateChange &&
        (w_->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)))
      QTimer::singleShot(0, w_, [w = w_] {
        if (!w || !w->isVisible()) return;
        w->setWindowState(w->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
        w->raise();
        w->activateWindow();
      });
    return false;
  }

 private:
  QPointer<QWidget> w_;
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
  // Shown without blocking as a window of its own, it is shown again as a
  // dialog, kept above the main window that it now blocks.
  if (window->isVisible() && window->windowType() != Qt::Dialog) window->hide();
  setWindowType(window, Qt::Dialog);
  KeepNormalState keep(window);
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
  if (window->property(kOwnWindowProperty).toBool()) setWindowType(window, Qt::Window);
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
