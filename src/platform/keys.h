#pragma once
// The key model the windows are written against: key-down (virtual key code
// and shift state, Shift 1, Ctrl 2, Alt 4) comes first, then key-press (the
// character code). Both are passed by reference; 0 discards the key. A window
// that previews keys sees both before the focused box.
#include <QLineEdit>
#include <functional>

class QKeyEvent;
class QMenu;

namespace fd {

namespace vk {
inline constexpr int Back = 8, Tab = 9, Return = 13, Shift = 16, Control = 17, Escape = 27, Space = 32;
inline constexpr int Up = 38, Down = 40, F1 = 112, F10 = 121, F12 = 123, F13 = 124;
}  // namespace vk

int virtualKey(const QKeyEvent* e);   // 0 when the key has no virtual code we use
int shiftState(const QKeyEvent* e);
int charCode(const QKeyEvent* e);     // 0 when the key produces no character

// A window that sees every key first.
class KeyPreview {
 public:
  virtual ~KeyPreview() = default;
  virtual void previewKeyDown(int& keyCode, int& shift) = 0;
  virtual void previewKeyPress(int& keyAscii) = 0;
};

// Routes key events of any widget (lists, buttons) through a preview.
class KeyPreviewFilter : public QObject {
 public:
  explicit KeyPreviewFilter(KeyPreview* preview, QObject* parent = nullptr) : QObject(parent), preview_(preview) {}
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  KeyPreview* preview_;
};

// A text box with the classic event set: KeyDown, KeyPress (character code by
// reference), GotFocus, LostFocus and Change. Typed characters are inserted
// only after every handler let them pass; an Esc that every handler let pass
// goes on to the box's window.
//
// Every other way text comes in obeys the box's key rules too. Pasted text
// (the context menu's Paste, Shift+Insert, Ctrl+V where the Ctrl keys edit,
// the middle button, a drop at the drop point) is text, not keys: each
// character passes the character filter, control characters (Enter, Tab, Esc)
// are dropped, a run of line ends between two lines becomes one blank where
// the box takes a blank (line ends at either end are dropped), and no key
// rule runs: no carry, no focus move, no save. An
// input method's commit is typed, key by key, through the key rules: each
// character's key-down as the US key that types it (none where no such key
// exists), then its key-press.
class KeyBox : public QLineEdit {
  Q_OBJECT
 public:
  explicit KeyBox(QWidget* parent = nullptr);

  KeyPreview* preview = nullptr;
  std::function<void(int& keyCode, int& shift)> onKeyDown;
  std::function<void(int& keyAscii)> onKeyPress;
  std::function<void()> onGotFocus;
  std::function<void()> onLostFocus;
  std::function<void()> onChange;
  // After pasted or dropped text changed the box (after its change step).
  std::function<void()> onPaste;
  // The box's character filter, the same one its typed keys pass: returns
  // the code to insert, 0 to drop.
  std::function<int(int keyAscii)> charFilter;
  // Blanks of pasted text are dropped (where a typed Space moves on).
  bool dropPastedBlanks = false;
  // Line ends of pasted text are dropped, never a blank (where a blank would
  // be sent on as it stands).
  bool dropPastedLineEnds = false;
  // Ctrl+A, C, V, X and Z keep their usual meaning (select all, copy, paste
  // through the filter, cut, undo); the main window's entry fields turn this
  // off, their Ctrl keys are the window's hot keys.
  bool editKeys = true;

  // The box's context menu (right button, Menu key), built as it is shown,
  // its Paste going through the filter; where the Ctrl keys are the window's
  // hot keys it names only Shift+Ins and Shift+Del. The caller owns it.
  QMenu* createContextMenu();

  // Selection start as the classic control reports it (the caret when nothing is selected).
  int selStart() const;
  void selectAllText();
  void pasteText(const QString& text);  // filtered insertion at the caret
  // A program write: the whole text replaced by text through the character
  // filter; the change step runs once, nothing else.
  void setProgramText(const QString& text);
  // Empties the box as a program write. Program writes (clear, setText,
  // setProgramText) leave no undo step: the menu's Undo takes back the
  // operator's own editing, never a saved or refused entry. It hides
  // QLineEdit's clear(), which is an undoable edit.
  void clear();

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void dropEvent(QDropEvent* e) override;
  void inputMethodEvent(QInputMethodEvent* e) override;
  bool event(QEvent* e) override;

 private:
  void keyDown(int& keyCode, int& shift);  // the window's and the box's handlers
  int keyPress(int keyAscii);  // the window's and the box's handlers; 0: dropped
  void insertChar(int keyAscii);
  void typeCommit(const QString& text);
  QString filterText(const QString& text, bool pasted) const;
  void afterPaste(const QString& before);
};

// What the middle button pastes: the primary selection of the window system.
// A platform without one (the tests' offscreen one) gives none; a test puts
// its own source here, an empty one restores the window system's.
QString primarySelection();
void setPrimarySelectionSource(std::function<QString()> source);

// The focus-move reasons that count as entering or leaving a field (a dialog
// closing or the window being activated does not).
bool isFieldFocusReason(Qt::FocusReason reason);

}  // namespace fd
