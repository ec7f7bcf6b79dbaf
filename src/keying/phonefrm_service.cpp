// The keying service's side of the voice keyer: the main window's keys, the
// settings read at start-up, the window and the release.
#include <QDir>

#include <algorithm>

#include "keying/keyingservice.h"
#include "keying/phonefrm.h"
#include "platform/forms.h"
#include "platform/safefile.h"

namespace fd {

PhoneKeyer& KeyingService::phoneKeyer() {
  if (!phone) {
    phone = std::make_unique<PhoneKeyer>(s, *CommPhone);
    // One keyer per port: an open WinKey keyer is closed before the PTT port opens.
    phone->closeWinKey = [this] { closeWinKeyer(); };
    phone->closeCwPort = [this] {
      if (Comm->isOpen()) Comm->close();
    };
    phone->windowVisible = [this] { return phoneWindow && phoneWindow->isVisible(); };
    phone->showWindowModal = [this] { showModal(&phoneFrm()); };
    phone->stopPrompt = [this] {
      if (voiceNav) voiceNav->stopForTransmit();
    };
  }
  return *phone;
}

PhoneFrm& KeyingService::phoneFrm() {
  if (!phoneWindow) phoneWindow = std::make_unique<PhoneFrm>(s, phoneKeyer(), main ? main->window() : nullptr);
  return *phoneWindow;
}

void KeyingService::fKeyPhone(int& keyCode) { phoneKeyer().FKeyPhone(keyCode); }

bool KeyingService::voicePlaying() const { return phone && phone->playing(); }

void KeyingService::stopVoice() {
  if (phone) phone->stopPlay();
}

void KeyingService::disablePhoneRepeat() {
  if (phone) phone->disableRepeat();
}

bool KeyingService::loadWaveSettings() {
  PhoneFrm& w = phoneFrm();  // touching the window loads it, hidden
  QByteArray bytes;
  const bool read = readWholeFile(s.progFile(QStringLiteral("wave2.txt")), bytes).ok;
  const bool whole = read && readWave2(bytes, phoneKeyer().settings);
  w.showSettings();
  // A message is set: the player asks for the sound output now, so that the
  // first F-key finds the answer there.
  const auto& texts = phoneKeyer().settings.Text;
  if (std::any_of(texts.begin(), texts.end(), [](const QString& t) { return !t.trimmed().isEmpty(); }))
    (void)phoneKeyer().player().hasOutput();
  return whole;
}

void KeyingService::showPhoneSetup(bool modal) {
  PhoneFrm& w = phoneFrm();
  if (modal) {
    showModal(&w);
  } else {
    w.setWindowState(w.windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    showModeless(&w);
  }
}

void KeyingService::releaseVoice() {
  if (phone) phone->releaseAll();
}

void KeyingService::unloadPhone() {
  // PTT goes before the window and the player.
  if (phone) phone->cancel();
  phoneWindow.reset();
  phone.reset();  // its end is its unload: the player closed, then the port
}

}  // namespace fd
