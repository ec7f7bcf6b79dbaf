#include "platform/keys.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <algorithm>
#include <optional>
#include <utility>

#include "platform/cp1252.h"

namespace fd {

namespace {
// Punctuation and shifted digits: Qt names the character, the key model the
// key that makes it, as a US keyboard lays them out (the RTTY link sends
// these codes).
struct KeyRow { int qt; int vk; };
constexpr KeyRow kUsKeys[] = {
    {';', 186}, {':', 186}, {'=', 187}, {'+', 187}, {',', 188}, {'<', 188},
    {'-', 189}, {'_', 189}, {'.', 190}, {'>', 190}, {'/', 191}, {'?', 191},
    {'`', 192}, {'~', 192}, {'[', 219}, {'{', 219}, {'\\', 220}, {'|', 220},
    {']', 221}, {'}', 221}, {'\'', 222}, {'"', 222},
    {')', '0'}, {'!', '1'}, {'@', '2'}, {'#', '3'}, {'$', '4'},
    {'%', '5'}, {'^', '6'}, {'&', '7'}, {'*', '8'}, {'(', '9'},
};
// The key a US keyboard types the character with (letters by their capital),
// 0 for a character no key of it types.
int usKey(char16_t c) {
  if (c >= 'a' && c <= 'z') return c - 'a' + 'A';
  if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ') return c;
  for (const KeyRow& r : kUsKeys)
    if (r.qt == c) return r.vk;
  return 0;
}
// The numeric keypad has codes of its own.
constexpr KeyRow kKeypad[] = {
    {'*', 106}, {'+', 107}, {'-', 109}, {'.', 110}, {'/', 111},
};
}  // namespace

int virtualKey(const QKeyEvent* e) {
  const int k = e->key();
  if (e->modifiers() & Qt::KeypadModifier) {
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return 96 + (k - Qt::Key_0);
    for (const KeyRow& r : kKeypad)
      if (r.qt == k) return r.vk;
  }
  for (const KeyRow& r : kUsKeys)
    if (r.qt == k) return r.vk;
  if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return vk::F1 + (k - Qt::Key_F1);
  if (k >= Qt::Key_A && k <= Qt::Key_Z) return k;       // 65..90
  if (k >= Qt::Key_0 && k <= Qt::Key_9) return k;       // 48..57
  switch (k) {
    case Qt::Key_Backspace: return vk::Back;
    case Qt::Key_Tab: case Qt::Key_Backtab: return vk::Tab;
    case Qt::Key_Return: case Qt::Key_Enter: return vk::Return;
    case Qt::Key_Shift: return vk::Shift;
    case Qt::Key_Control: return vk::Control;
    case Qt::Key_Escape: return vk::Escape;
    case Qt::Key_Space: return vk::Space;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return vk::Up;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return vk::Down;
    case Qt::Key_Home: return 36;
    case Qt::Key_End: return 35;
    case Qt::Key_Delete: return 46;
    case Qt::Key_Insert: return 45;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_Alt: return 18;
    default: return k < 256 ? k : 0;
  }
}

int shiftState(const QKeyEvent* e) {
  const auto m = e->modifiers();
  return ((m & Qt::ShiftModifier) ? 1 : 0) | ((m & Qt::ControlModifier) ? 2 : 0) | ((m & Qt::AltModifier) ? 4 : 0);
}

int charCode(const QKeyEvent* e) {
  switch (e->key()) {
    case Qt::Key_Return: case Qt::Key_Enter: return 13;
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Tab: case Qt::Key_Backtab: return 0;
    default: break;
  }
  const QString t = e->text();
  if (t.size() != 1) return 0;
  const char16_t c = t[0].unicode();
  if (c == 0x7F) return 0;
  return c;
}

bool isFieldFocusReason(Qt::FocusReason reason) {
  return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

bool KeyPreviewFilter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride) {
    // Ctrl+letter belongs to the window's own hot keys, never to a shortcut.
    auto* ke = static_cast<QKeyEvent*>(event);
    if (ke->modifiers() & Qt::ControlModifier) { event->accept(); return true; }
    return false;
  }
  if (event->type() != QEvent::KeyPress || qobject_cast<KeyBox*>(watched)) return false;
  // A key the focused control left unused travels up to its parents: it was
  // previewed where it started and must not run the window's hot keys twice.
  if (watched != QApplication::focusWidget()) return false;
  auto* ke = static_cast<QKeyEvent*>(event);
  int code = virtualKey(ke), shift = shiftState(ke);
  preview_->previewKeyDown(code, shift);
  int ascii = charCode(ke);
  if (ascii) preview_->previewKeyPress(ascii);
  // A consumed key goes no further; others reach the widget (lists scroll with arrows).
  return code == 0 || (charCode(ke) != 0 && ascii == 0);
}

KeyBox::KeyBox(QWidget* parent) : QLineEdit(parent) {
  connect(this, &QLineEdit::textChanged, this, [this] { if (onChange) onChange(); });
}

int KeyBox::selStart() const { return hasSelectedText() ? selectionStart() : cursorPosition(); }

void KeyBox::selectAllText() { setSelection(0, text().size()); }

bool KeyBox::event(QEvent* e) {
  if (e->type() == QEvent::ShortcutOverride) {
    auto* ke = static_cast<QKeyEvent*>(e);
    if (ke->modifiers() & Qt::ControlModifier) { e->accept(); return true; }
  }
  return QLineEdit::event(e);
}

namespace {
// X11 attaches the control character (1, 3, 22, 24, 26) to these keys; it is
// no typed character.
bool isEditKey(const QKeyEvent* e) {
  if ((e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != Qt::ControlModifier)
    return false;
  switch (e->key()) {
    case Qt::Key_A: case Qt::Key_C: case Qt::Key_V: case Qt::Key_X: case Qt::Key_Z: return true;
    default: return false;
  }
}
}  // namespace

void KeyBox::keyPressEvent(QKeyEvent* e) {
  int code = virtualKey(e), shift = shiftState(e);
  const int produced = charCode(e);
  keyDown(code, shift);
  if (code && editKeys && isEditKey(e)) {
    if (e->key() == Qt::Key_V) pasteText(QApplication::clipboard()->text());
    else QLineEdit::keyPressEvent(e);
    return;
  }
  if (produced) {
    const int ascii = keyPress(produced);
    if (ascii == vk::Escape && code != 0) {
      // An Esc nothing here used belongs to the window (a dialog's Cancel).
      e->ignore();
      return;
    }
    if (ascii) insertChar(ascii);
    return;
  }
  if (code == 0) return;
  if (e->matches(QKeySequence::Paste)) {
    // Shift+Insert pastes in every box; Ctrl+V only where the Ctrl keys edit (above).
    if (!(e->modifiers() & Qt::ControlModifier)) pasteText(QApplication::clipboard()->text());
    return;
  }
  if (e->modifiers() & Qt::ControlModifier) {
    // Editing keys (copy, cut, select all, undo) keep their usual meaning.
    if (e->matches(QKeySequence::Copy) || e->matches(QKeySequence::SelectAll) || e->matches(QKeySequence::Cut))
      QLineEdit::keyPressEvent(e);
    return;
  }
  QLineEdit::keyPressEvent(e);  // caret movement, Delete
}

void KeyBox::keyDown(int& keyCode, int& shift) {
  if (preview) preview->previewKeyDown(keyCode, shift);
  if (keyCode && onKeyDown) onKeyDown(keyCode, shift);
}

int KeyBox::keyPress(int ascii) {
  if (preview) preview->previewKeyPress(ascii);
  if (ascii && onKeyPress) onKeyPress(ascii);
  return ascii;
}

void KeyBox::insertChar(int keyAscii) {
  if (keyAscii == 8) { backspace(); return; }
  if (keyAscii < 32) return;  // Enter, Esc and control characters insert nothing
  const QChar c(static_cast<char16_t>(keyAscii));
  if (!cp1252::canEncode(c)) return;
  insert(QString(c));  // honours maxLength and replaces a selection
}

namespace {
bool isControl(char16_t c) { return c < 32 || (c >= 0x7F && c <= 0x9F); }
}  // namespace

// Each character through the box's character filter, up to what the box
// holds. Control characters (line ends, Tab) insert nothing; pasted text also
// loses the C1 controls and, where a typed Space moves on, its blanks. Lines
// pasted as one stay apart: a run of line ends between two kept characters is
// one blank, which passes the filter as a typed Space would.
QString KeyBox::filterText(const QString& text, bool pasted) const {
  const auto dropped = [pasted](char32_t c) { return c < 32 || c > 0xFFFF || (pasted && isControl(char16_t(c))); };
  // The character to insert for code, or none.
  const auto filtered = [&](char16_t ch) -> std::optional<QChar> {
    const int code = charFilter ? charFilter(ch) : ch;
    if (code < 0 || dropped(char32_t(code))) return std::nullopt;
    if (pasted && code == ' ' && dropPastedBlanks) return std::nullopt;
    const QChar c(static_cast<char16_t>(code));
    if (!cp1252::canEncode(c)) return std::nullopt;
    return c;
  };
  QString clean;
  const qsizetype room = maxLength();
  clean.reserve(std::min(text.size(), room));
  bool lineBreak = false;  // line ends since the last character kept
  for (QChar ch : text) {
    if (clean.size() >= room) break;
    if (pasted && !dropPastedLineEnds && (ch == u'\r' || ch == u'\n')) {
      lineBreak = !clean.isEmpty();
      continue;
    }
    if (dropped(ch.unicode())) continue;
    const std::optional<QChar> c = filtered(ch.unicode());
    if (!c) continue;
    if (std::exchange(lineBreak, false)) {
      if (const std::optional<QChar> blank = filtered(u' ')) clean += *blank;
      if (clean.size() >= room) break;
    }
    clean += *c;
  }
  return clean;
}

void KeyBox::pasteText(const QString& text) {
  if (isReadOnly()) return;
  const QString clean = filterText(text, true);
  if (clean.isEmpty()) return;
  const QString before = this->text();
  insert(clean);  // one change step; honours maxLength and replaces a selection
  afterPaste(before);
}

void KeyBox::afterPaste(const QString& before) {
  if (onPaste && text() != before) onPaste();
}

void KeyBox::clear() { setText(QString()); }

void KeyBox::setProgramText(const QString& text) {
  setText(filterText(text, false));  // an equal text is no change, as for typing
}

void KeyBox::focusInEvent(QFocusEvent* e) {
  QLineEdit::focusInEvent(e);
  if (onGotFocus && isFieldFocusReason(e->reason())) onGotFocus();
}

void KeyBox::focusOutEvent(QFocusEvent* e) {
  QLineEdit::focusOutEvent(e);
  if (onLostFocus && isFieldFocusReason(e->reason())) onLostFocus();
}

void KeyBox::contextMenuEvent(QContextMenuEvent* e) {
  QMenu* menu = createContextMenu();
  menu->exec(e->globalPos());
  delete menu;
}

namespace {
// The standard menu's items, by Qt's name where it gives one (6.4 does not)
// or else by its text.
bool isMenuItem(const QAction* a, QLatin1String name, const char* text) {
  return a->objectName() == name || a->text().section(u'\t', 0, 0) == QCoreApplication::translate("QLineEdit", text);
}
}  // namespace

QMenu* KeyBox::createContextMenu() {
  QMenu* menu = createStandardContextMenu();
  for (QAction* a : menu->actions()) {
    const bool paste = isMenuItem(a, QLatin1String("edit-paste"), "&Paste");
    if (paste) {
      disconnect(a, &QAction::triggered, nullptr, nullptr);
      connect(a, &QAction::triggered, this, [this] { pasteText(QApplication::clipboard()->text()); });
    }
    if (editKeys || a->isSeparator()) continue;
    // Where the Ctrl keys are the window's hot keys, the menu names only the
    // keys that edit here.
    QString text = a->text().section(u'\t', 0, 0);
    if (paste) text += QLatin1String("\tShift+Ins");
    else if (isMenuItem(a, QLatin1String("edit-cut"), "Cu&t")) text += QLatin1String("\tShift+Del");
    a->setText(text);
  }
  return menu;
}

void KeyBox::dropEvent(QDropEvent* e) {
  const QString before = text();
  if (e->source() == this || !e->mimeData()->hasText()) {
    QLineEdit::dropEvent(e);  // moving the box's own text within it
  } else {
    // A paste at the drop point: Qt places the caret and inserts the filtered text.
    QMimeData clean;
    clean.setText(filterText(e->mimeData()->text(), true));
    QDropEvent drop(e->position(), e->possibleActions(), &clean, e->buttons(), e->modifiers());
    drop.setDropAction(e->dropAction());
    QLineEdit::dropEvent(&drop);
    e->setDropAction(drop.dropAction());
    e->setAccepted(drop.isAccepted());
  }
  afterPaste(before);
}

namespace {
// An input method commits what the operator composed, a few characters. A
// longer commit is text from elsewhere (an input method's clipboard or
// history): it is pasted, since typing it key by key would hold the window
// for minutes.
constexpr qsizetype kTypedCommitMax = 64;
}  // namespace

void KeyBox::inputMethodEvent(QInputMethodEvent* e) {
  const QString commit = e->commitString();
  if (commit.isEmpty()) {
    QLineEdit::inputMethodEvent(e);  // composing, or removing text around the caret
    return;
  }
  // Qt ends the composing and removes what the commit replaces; the committed
  // text itself comes in as typed keys.
  QInputMethodEvent replace;
  replace.setCommitString(QString(), e->replacementStart(), e->replacementLength());
  QLineEdit::inputMethodEvent(&replace);
  if (commit.size() > kTypedCommitMax) pasteText(commit);
  else typeCommit(commit);
  if (!e->preeditString().isEmpty()) {
    QInputMethodEvent compose(e->preeditString(), e->attributes());
    QLineEdit::inputMethodEvent(&compose);
  }
  e->accept();
}

namespace {
// The commit being typed. A key handler that lets events run (the digital
// link's) can let another commit in: it waits for this one and goes on where
// this one's keys leave the focus.
struct CommitTyping {
  QPointer<KeyBox> target;
  QStringList waiting;
};
CommitTyping* typingCommit = nullptr;
}  // namespace

// Each character as the key that types it, without Shift, Ctrl or Alt:
// key-down (none for a character no US key types), then key-press.
void KeyBox::typeCommit(const QString& text) {
  if (typingCommit && typingCommit->target && typingCommit->target->window() == window()) {
    typingCommit->waiting << text;
    return;
  }
  const QPointer<QWidget> home = window();
  CommitTyping typing{this, {text}};
  CommitTyping* const outer = std::exchange(typingCommit, &typing);
  while (typing.target && !typing.waiting.isEmpty()) {
    const QString keys = typing.waiting.takeFirst();
    for (QChar ch : keys) {
      if (!typing.target) break;
      if (ch.isSurrogate() || isControl(ch.unicode())) continue;  // no key makes these
      // A key rule may move the focus on (Space, a carry into the next
      // field): the next key goes where typing would send it.
      QWidget* const focusBefore = QApplication::focusWidget();
      int code = usKey(ch.unicode()), shift = 0;
      if (code) typing.target->keyDown(code, shift);
      if (!typing.target) break;
      const int ascii = typing.target->keyPress(ch.unicode());
      if (ascii && typing.target) typing.target->insertChar(ascii);
      QWidget* const focusNow = QApplication::focusWidget();
      if (focusNow == focusBefore) continue;
      auto* next = qobject_cast<KeyBox*>(focusNow);
      typing.target = next && home && next->window() == home ? next : nullptr;
    }
  }
  typingCommit = outer;
}

namespace {
std::function<QString()>& selectionSource() {
  static std::function<QString()> source;
  return source;
}
}  // namespace

QString primarySelection() {
  if (selectionSource()) return selectionSource()();
  return QApplication::clipboard()->text(QClipboard::Selection);
}

void setPrimarySelectionSource(std::function<QString()> source) { selectionSource() = std::move(source); }

void KeyBox::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() == Qt::MiddleButton) {
    pasteText(primarySelection());
    return;
  }
  QLineEdit::mouseReleaseEvent(e);
}

}  // namespace fd
