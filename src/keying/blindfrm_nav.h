#pragma once
// Voice navigation: recorded prompts named after the entry fields ("Call",
// "Class", "Section"), the duplicate warning ("Dupe") and the mode changes
// ("NavEn", "NavDis"), played from the program folder. How much is announced
// is VoiceNavMode (0 off, 1 call only, 2 all data fields); the settings
// window (BlindFrm) chooses it. Plain logic: the window only mirrors `ticked`.
// A prompt never goes on the air: none plays while the voice keyer transmits,
// and the keyer stops one that plays before it keys PTT. A prompt that has not
// begun 2 s after its request, or whose end is 2 s overdue (SoundCeiling),
// counts as ended, so the waits for a prompt's end are bounded by the sound.
#include <QString>
#include <functional>
#include <memory>

#include "core/mainwindow.h"
#include "core/state.h"
#include "platform/audio.h"

namespace fd {

class VoiceNav {
 public:
  // The longest wait for "NavEn" to end before "Call" follows it.
  static constexpr int kPromptWaitMs = 10000;

  VoiceNav(ProgramState& state, MainWindow* main) : s(state), main_(main) {}

  // Plays the prompt named q; a new prompt cuts the old one; silent on any
  // failure, and while the voice keyer transmits.
  void BlindKeyPhone(const QString& q);
  bool playing() const { return player_ && player_->playing() && !ceiling_.past(*player_); }
  // The voice keyer is about to key PTT: a prompt still sounding is stopped.
  void stopForTransmit();
  std::function<bool()> transmitting;  // the voice keyer's line keyed, or a message under way

  // Option1..Option3 ("Off", "Call Only", "All Data Fields") clicked or ticked
  // by the program: the option is ticked and announced; the mode is not changed.
  void optionClick(int option);
  // The load step's tick: the option of the current mode, announced.
  void tickCurrentMode();
  // "Done": VoiceNavMode from the ticked option, then the preferences saved.
  void done();

  int ticked = 0;  // 1..3, 0 none
  AudioPlayer& player();
  void close() { if (player_) player_->close(); }

 private:
  ProgramState& s;
  MainWindow* main_;
  std::unique_ptr<AudioPlayer> player_;
  SoundCeiling ceiling_;
};

}  // namespace fd
