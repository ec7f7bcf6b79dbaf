// The keying service's side of voice navigation: the prompts the main window
// asks for, and the settings window.
#include "keying/blindfrm.h"
#include "keying/keyingservice.h"
#include "platform/forms.h"

namespace fd {

BlindFrm& KeyingService::blindFrm() {
  if (!voiceNav) {
    voiceNav = std::make_unique<VoiceNav>(s, main);
    voiceNav->transmitting = [this] { return phone && phone->onAir(); };
  }
  if (!blindWindow) {
    blindWindow = std::make_unique<BlindFrm>(s, *voiceNav, main ? main->window() : nullptr);
    // The close box unloads it; deleted once its close event has returned.
    blindWindow->onClosed = [this] {
      if (blindWindow) blindWindow.release()->deleteLater();
    };
  }
  return *blindWindow;
}

void KeyingService::blindKeyPhone(const QString& q) {
  blindFrm();  // the first prompt loads the window, which announces the mode first
  voiceNav->BlindKeyPhone(q);
}

bool KeyingService::promptPlaying() const { return voiceNav && voiceNav->playing(); }

void KeyingService::showVoiceNav() { showModeless(&blindFrm()); }

void KeyingService::unloadBlind() {
  blindWindow.reset();
  voiceNav.reset();
}

}  // namespace fd
