#include "keying/blindfrm_nav.h"

#include <QDir>

#include "platform/wait.h"

namespace fd {

AudioPlayer& VoiceNav::player() {
  if (!player_) player_ = makeAudioPlayer();
  return *player_;
}

void VoiceNav::BlindKeyPhone(const QString& q) {
  // With PTT keyed, any sound on the output is transmitted.
  if (transmitting && transmitting()) return;
  AudioPlayer& mm = player();
  mm.close();
  if (q.trimmed().isEmpty()) return;
  mm.setFileName(s.progFile(q + QStringLiteral(".wav")));
  ceiling_.start(mm.fileName());
  if (mm.open()) mm.play();
}

void VoiceNav::stopForTransmit() {
  // Asked of the player itself: a prompt past its ceiling may still sound late.
  if (player_ && player_->playing()) player_->stop();
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
