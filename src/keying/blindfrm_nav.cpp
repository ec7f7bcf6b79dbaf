#include "keying/blindfrm_nav.h"

#include <QDir>

#include "platform/wait.h"

namespace fd {

AudioPlayer& VoiceNav::player() {
  if (!player_) player_ = makeAudioPlayer();
  return *player_;
}

void VoiceNav::BlindKeyPhone(const QString& q) {
  AudioPlayer& mm = player();
  mm.close();
  if (q.trimmed().isEmpty()) return;
  mm.setFileName(s.progFile(q + QStringLiteral(".wav")));
  if (mm.open()) mm.play();
}

void VoiceNav::optionClick(int option) {
  if (option < 1 || option > 3) return;
  ticked = option;
  switch (option) {
    case 1: BlindKeyPhone(QStringLiteral("NavDis")); break;
    case 2: {
      BlindKeyPhone(QStringLiteral("NavEn"));
      // "NavEn" is heard whole before "Call": a bounded wait that holds the
      // operator's keys and lets the player's own events run.
      WaitOptions o;
      o.limitMs = kPromptWaitMs;
      o.input = WaitInput::Hold;
      o.site = this;
      waitUntil([this] { return !playing(); }, o);
      BlindKeyPhone(QStringLiteral("Call"));
      break;
    }
    case 3: BlindKeyPhone(QStringLiteral("NavEn")); break;
  }
}

void VoiceNav::tickCurrentMode() {
  if (s.VoiceNavMode <= 2) optionClick(s.VoiceNavMode + 1);
  else ticked = 0;
}

void VoiceNav::done() {
  s.VoiceNavMode = ticked == 2 ? 1 : ticked == 3 ? 2 : 0;
  if (main_) main_->SavePref();
}

}  // namespace fd
