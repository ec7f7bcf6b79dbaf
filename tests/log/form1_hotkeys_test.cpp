// Hot keys and keyboard CW in the real main window, with recording keyers.
#include "form1_fixture.h"

namespace fd {
namespace {

class RoadHotKeys : public test::RoadForm {};

TEST_F(RoadHotKeys, CtrlKeysOpenTheirWindowsAndLeaveNothingBehind) {
  open();
  const std::pair<Qt::Key, QString> cases[] = {
      {Qt::Key_W, "keying showCWStrings"},      {Qt::Key_C, "keying showCWSetup 0"},
      {Qt::Key_S, "keying showCWSetup 0"},      {Qt::Key_P, "keying showPhoneSetup 0"},
      {Qt::Key_D, "spots showSpottingSetup"},   {Qt::Key_B, "spots showSpectrumMap"},
      {Qt::Key_F, "rig showPrivileges"},        {Qt::Key_R, "rig showRigInterface"},
      {Qt::Key_G, "rig showRigTune"},
  };
  for (const auto& [k, expected] : cases) {
    keying->calls.clear();
    rig->calls.clear();
    spots->calls.clear();
    key(k, Qt::ControlModifier);
    QStringList got;
    for (const QString& c : keying->calls) got << "keying " + c;
    for (const QString& c : rig->calls) got << "rig " + c;
    for (const QString& c : spots->calls) got << "spots " + c;
    EXPECT_EQ(got, QStringList{expected});
    EXPECT_EQ(form->txtCall->text(), "");
  }
  // Ctrl alone arms the suppression: the next character is dropped, the one after it typed.
  key(Qt::Key_Control, Qt::ControlModifier);
  type("ab");
  EXPECT_EQ(form->txtCall->text(), "B");
}

TEST_F(RoadHotKeys, FunctionKeysByMode) {
  open();
  struct Case { const char* mode; int keyingType; Qt::Key key; QStringList calls; };
  const Case cases[] = {
      {"PH", 0, Qt::Key_F1, {"phone 112"}},
      {"PH", 0, Qt::Key_F9, {"phone 120"}},
      {"PH", 0, Qt::Key_F10, {}},
      {"PH", 0, Qt::Key_F11, {}},
      {"CW", 1, Qt::Key_F2, {"cw 113"}},
      {"CW", 1, Qt::Key_F10, {"cw 124"}},
      {"CW", 1, Qt::Key_F11, {"cw 122"}},
      {"CW", 1, Qt::Key_Up, {"speedUp"}},
      {"CW", 5, Qt::Key_Down, {"speedDown"}},
      {"CW", 0, Qt::Key_F1, {}},
      {"CW", 0, Qt::Key_Up, {}},
      {"DIG", 0, Qt::Key_F1, {}},
  };
  for (const Case& c : cases) {
    state.CurMode = c.mode;
    state.KeyingType = static_cast<std::uint8_t>(c.keyingType);
    keying->calls.clear();
    key(c.key);
    EXPECT_EQ(keying->calls, c.calls) << c.mode << " " << c.key;
  }
  state.CurMode = "CW";
  state.KeyingType = 1;
  key(Qt::Key_Up);
  EXPECT_EQ(status(), "25 WPM");
}

TEST_F(RoadHotKeys, AnyKeyStopsARepeatingMessageAndThenDoesItsOwnWork) {
  open();
  state.CurMode = "CW";
  state.KeyingType = 5;
  state.WinKeyOpen = 1;
  state.CWRepeat = 1;
  state.PhoneRepeat = 1;
  state.CWBuffer = "CQ FD";
  key(Qt::Key_F2);
  EXPECT_EQ(keying->calls, (QStringList{"wkClearBuf", "disableCWRepeat", "disablePhoneRepeat", "cw 113"}));
  EXPECT_EQ(state.CWBuffer, "");
  EXPECT_EQ(state.CWRepeat, 0);
  EXPECT_EQ(state.PhoneRepeat, 0);
}

TEST_F(RoadHotKeys, KeyboardCw) {
  open();
  state.CurMode = "CW";
  state.KeyingType = 1;
  key(Qt::Key_F12);
  EXPECT_EQ(state.KeyboardCW, 1);
  EXPECT_EQ(status(), "Keyboard CW mode is ON!  Press F12 to exit keyboard CW mode.");
  EXPECT_EQ(form->lblDialog->backColor(), kLightYellow);

  type("cq\"\r");
  EXPECT_EQ(state.CWBuffer, "CQ\r");       // upper case; the dropped quote sends nothing
  EXPECT_EQ(keying->calls, (QStringList{"loop", "loop", "loop"}));
  EXPECT_EQ(entry(), (QStringList{"", "", ""}));
  EXPECT_EQ(state.QsoCount(), 0);          // Enter does not save

  state.CWSending = 1;
  keying->calls.clear();
  type("d\b\b");
  EXPECT_EQ(state.CWBuffer, "CQ");          // Backspace takes back what is still waiting
  EXPECT_EQ(keying->calls, QStringList{});
  form->txtCall->setText("W1AW");
  type("\x1b");
  EXPECT_EQ(state.CWBuffer, "");           // Esc while sending empties the buffer, fields untouched
  EXPECT_EQ(form->txtCall->text(), "W1AW");

  state.CWSending = 0;
  state.CurMode = "PH";
  type("k");                               // in phone mode typing reaches the fields again
  EXPECT_EQ(form->txtCall->text(), "W1AWK");

  // Keyboard CW can be left even when the key line is gone.
  state.CurMode = "CW";
  state.KeyingType = 0;
  key(Qt::Key_F12);
  EXPECT_EQ(state.KeyboardCW, 0);
  EXPECT_EQ(status(), "");
  EXPECT_EQ(form->lblDialog->backColor(), kStatusNormal);
  key(Qt::Key_F12);
  EXPECT_EQ(state.KeyboardCW, 0);          // but not entered without one
}

TEST_F(RoadHotKeys, WinKeyBackspaceAndEsc) {
  open();
  state.CurMode = "CW";
  state.KeyingType = 5;
  state.WinKeyOpen = 1;
  state.KeyboardCW = 1;
  keying->wkStatus = 1;
  state.CWBuffer = "TEST";
  type("\b");
  EXPECT_EQ(keying->calls, QStringList{"wkBackspace"});
  keying->calls.clear();
  form->txtCall->setText("W1AW");
  type("\x1b");
  EXPECT_EQ(keying->calls, QStringList{"wkClearBuf"});
  EXPECT_EQ(state.CWBuffer, "");
  EXPECT_EQ(form->txtCall->text(), "W1AW");
}

TEST_F(RoadHotKeys, EscStopsTheVoiceFirstElseClears) {
  open();
  type("w1aw 2a ct");
  keying->voice = true;
  type("\x1b");
  EXPECT_EQ(keying->calls, QStringList{"stopVoice"});
  EXPECT_EQ(entry(), (QStringList{"W1AW", "2A", "CT"}));
  keying->voice = false;
  type("\x1b");
  EXPECT_EQ(entry(), (QStringList{"", "", ""}));
  EXPECT_EQ(focused(), form->txtCall);
}

TEST_F(RoadHotKeys, DigitalLinkGetsEveryKeyAndKeyboardRtty) {
  open();
  state.CurMode = "DIG";
  state.DigLinkUp = 1;
  type("w");
  EXPECT_EQ(keying->calls, (QStringList{"digKey ", "digKey 87", "digCall W"}));
  keying->calls.clear();
  key(Qt::Key_F10);
  EXPECT_EQ(keying->calls, (QStringList{"digKey ", "digKey 124"}));
  key(Qt::Key_F12);
  EXPECT_EQ(form->KeyboardRTTY, 1);
  EXPECT_EQ(status(), "Keyboard RTTY mode.  Press F12 to exit keyboard RTTY.");
  type("x");
  EXPECT_EQ(form->txtCall->text(), "W");   // keyboard RTTY keeps typing out of the fields
  key(Qt::Key_F12);
  EXPECT_EQ(form->KeyboardRTTY, 0);
  EXPECT_EQ(form->SuppressKeyPress, 0);
  type("1");
  EXPECT_EQ(form->txtCall->text(), "W1");
}

}  // namespace
}  // namespace fd
