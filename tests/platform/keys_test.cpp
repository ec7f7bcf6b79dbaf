// The key model's virtual-key codes: what a US keyboard's keys give, whatever
// character Qt reports for them.
#include <QKeyEvent>
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace fd
