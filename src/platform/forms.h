#pragma once
// Window lifecycle: touching a window loads it without showing it; showing
// makes it visible, modally or not; its own Done only hides it; unloading
// destroys it, so the next use builds a fresh window from the program state.
//
// Every modal show goes through showModal(). A test installs a modal hook
// that runs when the window is shown, acts on it (fills boxes, presses Done)
// and returns; the caller then goes on. In test mode a modal window that no
// hook handles is reported and closed at once, so nothing ever blocks.
#include <QDialog>
#include <QPointer>
#include <functional>
#include <memory>

namespace fd {

using ModalHook = std::function<void(QWidget* window)>;

void setModalHook(ModalHook hook);        // empty function removes it
void setTestMode(bool on, std::function<void(const QString&)> onUnhandled = {});
bool testMode();
// Reports a window or box shown in test mode that nothing scripted.
void reportUnhandled(const QString& what);

// A dialog's frame: title and close box only. A dialog that could be
// minimised out of sight would take the keys typed for the main window.
void setDialogFrame(QWidget* dialog);

// What Esc does in a window, whichever of its controls has the focus.
enum class EscKey {
  Done,        // the window's Done; its close box runs Done too
  Cancel,      // the window's Cancel
  Close,       // what the close box does
  Own,         // the window's own key handling takes it
  MainWindow,  // handed on to the main window with every other key
};

// One window's frame and Esc.
struct WindowRule {
  EscKey esc;
  bool closeBox;   // the title bar asks for a close box
  bool minMax;     // and for minimise and maximise (never a window shown modally)
  // Shown without blocking, a window of its own: a click on the main window
  // may cover it and its command brings it back. Otherwise it stays above the
  // main window (always so while it is modal).
  bool ownWindow;
};

// Gives the window the frame of its rule and its Esc: action is the Done or
// the Cancel of the rule (Close closes the window). With Done, the close box
// runs action too.
void applyWindowRule(QWidget* window, const WindowRule& rule, std::function<void()> action = {});

// Shows the window modally and returns when it is hidden or closed. While it
// is modal it keeps its normal state: a window manager that draws minimise or
// maximise anyway finds them without effect, so the blocked main window is
// never left without its dialog in sight.
void showModal(QWidget* window);
// Shows the window without waiting, in front and with the focus, also when it
// is already shown behind another window.
void showModeless(QWidget* window);

// Unloading a window while one of its handlers waits in an event pump (a
// keyer's wait, a modal window) would free it under that handler. Such a
// window keeps a HandlerDepth and each of its handlers that may wait holds a
// Scope. unload() deletes the window at once when no handler is on the stack;
// otherwise it hides it, marks it going and deletes it once the last handler
// has returned. A handler checks going() after each wait and then leaves its
// window alone.
class HandlerDepth {
 public:
  explicit HandlerDepth(QWidget* window) : window_(window) {}
  HandlerDepth(const HandlerDepth&) = delete;
  HandlerDepth& operator=(const HandlerDepth&) = delete;

  class Scope {
   public:
    explicit Scope(HandlerDepth& d) : d_(d) { ++d_.depth_; }
    ~Scope();
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    HandlerDepth& d_;
  };
  // Wraps a handler in a Scope (for connections).
  std::function<void()> guard(std::function<void()> handler) {
    return [this, handler = std::move(handler)] {
      Scope scope(*this);
      handler();
    };
  }
  bool going() const { return going_; }
  void unload();

 private:
  QWidget* window_;
  int depth_ = 0;
  bool going_ = false;
};

// A window slot: loaded on first touch, unloaded on demand.
template <class T>
class FormSlot {
 public:
  explicit FormSlot(std::function<std::unique_ptr<T>()> factory) : factory_(std::move(factory)) {}
  T* get() {
    if (!window_) window_ = factory_();
    return window_.get();
  }
  T* operator->() { return get(); }
  bool loaded() const { return static_cast<bool>(window_); }
  void unload() {
    if (window_) window_->hide();
    window_.reset();
  }

 private:
  std::function<std::unique_ptr<T>()> factory_;
  std::unique_ptr<T> window_;
};

}  // namespace fd
