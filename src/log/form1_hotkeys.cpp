// Hot keys and keyboard CW: the window sees every key before the focused
// control. Key-down opens windows on Ctrl+letter, stops repeating messages and
// starts the function-key messages; key-press drops the character a hot key
// leaves, handles Esc and feeds keyboard CW.
#include "log/form1.h"
#include "platform/wait.h"

namespace fd {
namespace {
bool isFunctionKey(int code) { return code >= vk::F1 && code <= vk::F12; }
}  // namespace

void Form1::Form_KeyDown(int& keyCode, int& shift) {
  if (shift == 2) {
    SuppressKeyPress = 1;
    switch (keyCode) {
      case 'W': keyCode = 0; sv.keying->showCWStrings(); return;
      case 'C': case 'S': keyCode = 0; sv.keying->showCWSetup(false); return;
      case 'P': keyCode = 0; sv.keying->showPhoneSetup(false); return;
      case 'D': keyCode = 0; sv.spots->showSpottingSetup(); return;
      case 'B': keyCode = 0; sv.spots->showSpectrumMap(); return;
      case 'F': keyCode = 0; sv.rig->showPrivileges(); return;
      case 'R': keyCode = 0; sv.rig->showRigInterface(); return;
      case 'G': keyCode = 0; sv.rig->showRigTune(); return;
      default: break;
    }
  }

  if (s.CWRepeat > 0) {
    if (s.WinKeyOpen > 0) sv.keying->wkClearBuf();
    s.CWBuffer.clear();
    s.CWRepeat = 0;
    sv.keying->disableCWRepeat();
  }
  if (s.PhoneRepeat > 0) {
    s.PhoneRepeat = 0;
    sv.keying->disablePhoneRepeat();
  }

  if (s.CurMode == QLatin1String("PH")) {
    if (keyCode == vk::F10) keyCode = 0;
    else if (keyCode >= vk::F1 && keyCode < vk::F10) sv.keying->fKeyPhone(keyCode);
  }

  if (s.CurMode == QLatin1String("CW")) {
    if (s.KeyingType != 0) {
      if (keyCode == vk::Down || keyCode == vk::Up) {
        if (keyCode == vk::Down) sv.keying->cwSpeedDown();
        else sv.keying->cwSpeedUp();
        setStatus(sv.keying->cwSpeedText() + QStringLiteral(" WPM"));
        keyCode = 0;
      } else if (isFunctionKey(keyCode)) {
        if (keyCode == vk::F10) keyCode = vk::F13;
        if (keyCode == vk::F12) {
          if (s.KeyboardCW == 0) {
            s.KeyboardCW = 1;
            setStatus(QStringLiteral("Keyboard CW mode is ON!  Press F12 to exit keyboard CW mode."), kLightYellow);
          } else {
            s.KeyboardCW = 0;
            setStatus(QString(), kStatusNormal);
          }
        } else {
          sv.keying->fKeyCW(keyCode);
        }
      }
    } else if (keyCode == vk::F12 && s.KeyboardCW == 1) {
      // Keyboard CW can always be left, even after the key line was taken away.
      s.KeyboardCW = 0;
      setStatus(QString(), kStatusNormal);
    }
  }

  if (s.CurMode == QLatin1String("DIG") && s.DigLinkUp == 1) {
    if (keyCode == vk::F10) keyCode = vk::F13;
    if (KeyboardRTTY == 1) SuppressKeyPress = 1;
    // The link's events run here; keys typed behind this one wait, or they
    // would reach the box before this key's own character.
    runPendingEvents();
    if (keyCode != 0) {  // a key with no code of its own (Caps Lock, a dead key) is not sent
      sv.keying->setDigitalKey(QString());  // a repeated key must be a change too
      sv.keying->setDigitalKey(QString::number(keyCode));
    }
    if (keyCode == vk::F12) {
      if (KeyboardRTTY == 0) {
        KeyboardRTTY = 1;
        setStatus(QStringLiteral("Keyboard RTTY mode.  Press F12 to exit keyboard RTTY."), kLightYellow);
      } else {
        SuppressKeyPress = 0;
        KeyboardRTTY = 0;
        setStatus(QString(), kStatusNormal);
      }
    }
  }
}

void Form1::Form_KeyPress(int& keyAscii) {
  if (SuppressKeyPress == 1) {
    SuppressKeyPress = 0;
    keyAscii = 0;
    return;
  }
  // Keyboard RTTY keeps every character out of the boxes, one that came
  // without a key of its own (an input method's) as well.
  if (KeyboardRTTY == 1 && s.CurMode == QLatin1String("DIG") && s.DigLinkUp == 1) {
    keyAscii = 0;
    return;
  }
  const bool esc = keyAscii == vk::Escape;
  if (esc && s.CurMode == QLatin1String("PH") && sv.keying->voicePlaying()) {
    sv.keying->stopVoice();
    keyAscii = 0;
    return;
  }
  if (esc && s.KeyingType == 5 && s.WinKeyOpen > 0) {
    s.WinKeyStatus = sv.keying->wkGetStatus();
    if (s.WinKeyStatus > 0) {
      sv.keying->wkClearBuf();
      s.CWBuffer.clear();
      keyAscii = 0;
      return;
    }
  }
  if (esc) {
    if (s.CWSending == 0) cmdClear_Click();
    else s.CWBuffer.clear();
    keyAscii = 0;
  }
  if (s.WinKeyOpen > 0) s.WinKeyStatus = sv.keying->wkGetStatus();
  if (keyAscii == vk::Back && s.WinKeyStatus > 0 && s.KeyboardCW == 1) {
    sv.keying->wkBackspace();
    keyAscii = 0;
    return;
  }
  if (keyAscii == vk::Back && s.KeyboardCW == 1 && s.CWSending == 1 && !s.CWBuffer.isEmpty()) {
    s.CWBuffer.chop(1);
    keyAscii = 0;
    return;
  }
  if (s.CurMode == QLatin1String("CW") && s.KeyboardCW == 1) {
    Capital(keyAscii);
    // A consumed key (Esc above, a double quote) has nothing to send.
    if (keyAscii != 0) {
      s.CWBuffer += QChar(static_cast<char16_t>(keyAscii));
      if (s.CWSending == 0) sv.keying->loopThroughCWBuffer();
    }
    keyAscii = 0;
  }
}

}  // namespace fd
