// The key model's virtual-key codes: what a US keyboard's keys give, whatever
// character Qt reports for them; and the text box's ways in besides typing.
#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTest>
#include <gtest/gtest.h>

#include <utility>

#include "platform/keys.h"

namespace fd {
namespace {

TEST(VirtualKey, PunctuationShiftedDigitsAndKeypadAsOnAUsKeyboard) {
  struct Case { int qtKey; Qt::KeyboardModifiers mods; const char* text; int vk; };
  const Case cases[] = {
      {Qt::Key_Slash, Qt::NoModifier, "/", 191},
      {Qt::Key_Question, Qt::ShiftModifier, "?", 191},
      {Qt::Key_Semicolon, Qt::NoModifier, ";", 186},
      {Qt::Key_Colon, Qt::ShiftModifier, ":", 186},
      {Qt::Key_Equal, Qt::NoModifier, "=", 187},
      {Qt::Key_Plus, Qt::ShiftModifier, "+", 187},
      {Qt::Key_Comma, Qt::NoModifier, ",", 188},
      {Qt::Key_Minus, Qt::NoModifier, "-", 189},
      {Qt::Key_Underscore, Qt::ShiftModifier, "_", 189},
      {Qt::Key_Period, Qt::NoModifier, ".", 190},
      {Qt::Key_QuoteLeft, Qt::NoModifier, "`", 192},
      {Qt::Key_BracketLeft, Qt::NoModifier, "[", 219},
      {Qt::Key_Backslash, Qt::NoModifier, "\\", 220},
      {Qt::Key_BracketRight, Qt::NoModifier, "]", 221},
      {Qt::Key_Apostrophe, Qt::NoModifier, "'", 222},
      {Qt::Key_QuoteDbl, Qt::ShiftModifier, "\"", 222},
      {Qt::Key_Exclam, Qt::ShiftModifier, "!", '1'},
      {Qt::Key_At, Qt::ShiftModifier, "@", '2'},
      {Qt::Key_ParenRight, Qt::ShiftModifier, ")", '0'},
      {Qt::Key_Asterisk, Qt::ShiftModifier, "*", '8'},
      {Qt::Key_Slash, Qt::KeypadModifier, "/", 111},
      {Qt::Key_Asterisk, Qt::KeypadModifier, "*", 106},
      {Qt::Key_5, Qt::KeypadModifier, "5", 101},
      // Unchanged: letters, digits, the named keys.
      {Qt::Key_A, Qt::ShiftModifier, "A", 'A'},
      {Qt::Key_7, Qt::NoModifier, "7", '7'},
      {Qt::Key_Return, Qt::NoModifier, "\r", 13},
      {Qt::Key_F10, Qt::NoModifier, "", 121},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const QKeyEvent e(QEvent::KeyPress, c.qtKey, c.mods, QString::fromLatin1(c.text));
    EXPECT_EQ(virtualKey(&e), c.vk);
  }
}

// A box whose typed keys are upper-cased and recorded, its filter the same.
struct UpperBox {
  KeyBox box;
  QString keys;  // what onKeyPress saw
  int pastes = 0;
  UpperBox() {
    box.charFilter = [](int k) { return k >= 'a' && k <= 'z' ? k - 32 : k == '"' ? 0 : k; };
    box.onKeyPress = [this](int& k) {
      keys += QChar(static_cast<char16_t>(k));
      k = box.charFilter(k);
    };
    box.onPaste = [this] { ++pastes; };
  }
  void commit(const QString& text, const QString& preedit = {}, int replaceFrom = 0, int replaceLength = 0) {
    QInputMethodEvent e(preedit, {});
    e.setCommitString(text, replaceFrom, replaceLength);
    QApplication::sendEvent(&box, &e);
  }
};

TEST(KeyBoxWaysIn, InputMethodCommitIsTypedKeyByKey) {
  UpperBox b;
  b.commit("a\"b\tc");
  EXPECT_EQ(b.keys, "a\"bc");  // each key through the key rules; a tab is no key of a commit
  EXPECT_EQ(b.box.text(), "ABC");
  // What replaces text before the caret, and a composing text beside the commit.
  b.commit("d", "e", -1, 1);
  EXPECT_EQ(b.box.text(), "ABD");
  EXPECT_EQ(b.box.displayText(), "ABD");
  b.commit("", "");
  EXPECT_EQ(b.box.text(), "ABD");
  EXPECT_EQ(b.pastes, 0);
  // A commit longer than any composed text is pasted: filtered, no key rules.
  b.keys.clear();
  b.box.clear();
  b.commit(QString("x\"").repeated(40));
  EXPECT_EQ(b.keys, "");
  EXPECT_EQ(b.box.text(), QString("X").repeated(40));
  EXPECT_EQ(b.pastes, 1);
}

// A committed character runs the steps of the key that types it: the
// window's key-down, the box's, the window's key-press, the box's; a window
// that drops the key at its key-down drops the character. A character no US
// key types has no key-down.
TEST(KeyBoxWaysIn, CommitRunsTheStepsOfTypedKeys) {
  struct Steps : KeyPreview {
    KeyBox box;
    QStringList seen;
    bool suppress = false;
    Steps() {
      box.preview = this;
      box.onKeyDown = [this](int& k, int& shift) { seen << QString("box down %1 %2").arg(k).arg(shift); };
      box.onKeyPress = [this](int& k) { seen << QString("box press %1").arg(k); };
    }
    void previewKeyDown(int& k, int& shift) override {
      seen << QString("window down %1 %2").arg(k).arg(shift);
      suppress = k == 'X';
    }
    void previewKeyPress(int& k) override {
      seen << QString("window press %1").arg(k);
      if (std::exchange(suppress, false)) k = 0;
    }
  };
  Steps typed, committed;
  for (char c : {'w', ',', 'x', '7'}) QTest::keyClick(&typed.box, c);
  QInputMethodEvent e;
  e.setCommitString("w,x7");
  QApplication::sendEvent(&committed.box, &e);
  EXPECT_EQ(committed.seen.join(" | ").toStdString(), typed.seen.join(" | ").toStdString());
  EXPECT_EQ(committed.box.text().toStdString(), "w,7");
  committed.seen.clear();
  e.setCommitString(QStringLiteral("\u00e4"));
  QApplication::sendEvent(&committed.box, &e);
  EXPECT_EQ(committed.seen.join(" | ").toStdString(), "window press 228 | box press 228");
}

TEST(KeyBoxWaysIn, DropIsAPasteAtTheDropPoint) {
  UpperBox b;
  b.box.resize(300, 24);
  b.box.show();
  b.box.setText("KKKK");
  QMimeData data;
  data.setText("w1\"a\r\nw ");
  auto dropAt = [&](int x) {
    QDragEnterEvent enter(QPoint(x, 12), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(&b.box, &enter);
    QDropEvent drop(QPointF(x, 12), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(&b.box, &drop);
    return drop.isAccepted();
  };
  EXPECT_TRUE(dropAt(1));
  EXPECT_EQ(b.box.text(), "W1A W KKKK");
  EXPECT_EQ(b.keys, "");
  EXPECT_EQ(b.pastes, 1);
  b.box.dropPastedBlanks = true;
  EXPECT_TRUE(dropAt(299));
  EXPECT_EQ(b.box.text(), "W1A W KKKKW1AW");
}

// Lines pasted as one stay apart by one blank where the box takes a blank;
// a line end at either end of the pasted text is no break between lines.
TEST(KeyBoxWaysIn, PastedLineEndsBecomeOneBlankBetweenLines) {
  enum Box { Free, NoBlanks, LineEndsDropped, Digits, TwoLong };
  const struct { const char* name; Box box; const char* pasted; const char* want; } rows[] = {
      {"CR LF", Free, "a\r\nb", "a b"},
      {"a run of every kind", Free, "a\r\r\n\n\rb\nc", "a b c"},
      {"at both ends", Free, "\r\n\ra\n\n", "a"},
      {"around dropped characters", Free, "a\t\r\n\x1b\"\r\nb", "a b"},
      {"blanks of its own kept", Free, "a \r\n b", "a   b"},
      {"the blank counts to the limit", TwoLong, "a\r\nbc", "a "},
      {"blanks dropped", NoBlanks, "a\r\nb c", "abc"},
      {"line ends dropped", LineEndsDropped, "a b\r\nc", "a bc"},
      {"the filter refuses a blank", Digits, "1\r\n2x", "12"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    KeyBox box;
    box.charFilter = [](int k) { return k == '"' ? 0 : k; };
    if (r.box == NoBlanks) box.dropPastedBlanks = true;
    if (r.box == LineEndsDropped) box.dropPastedLineEnds = true;
    if (r.box == Digits) box.charFilter = [](int k) { return k >= '0' && k <= '9' ? k : 0; };
    if (r.box == TwoLong) box.setMaxLength(2);
    box.pasteText(QString::fromLatin1(r.pasted));
    EXPECT_EQ(box.text().toStdString(), r.want);
  }
}

// Where the Ctrl keys are the window's hot keys, Ctrl+V pastes nothing;
// Shift+Insert pastes through the filter in every box.
TEST(KeyBoxWaysIn, ShiftInsertPastesWhereCtrlVDoesNot) {
  for (const bool editKeys : {true, false}) {
    SCOPED_TRACE(editKeys);
    UpperBox b;
    b.box.editKeys = editKeys;
    QApplication::clipboard()->setText("k2\"ab");
    QKeyEvent ctrlV(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier, QStringLiteral("\x16"));  // as X11 sends it
    QApplication::sendEvent(&b.box, &ctrlV);
    EXPECT_EQ(b.box.text(), editKeys ? "K2AB" : "");
    b.box.clear();
    QTest::keyClick(&b.box, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(b.box.text(), "K2AB");
  }
}

}  // namespace
}  // namespace fd
