#pragma once
// The voice keyer: a wave file per function key F1-F9, played while the PTT
// line is keyed (RTS or DTR of a serial port, or the parallel port's strobe),
// with the F1 message repeating after a pause until cancelled. The settings
// are the window's boxes (WaveSettings); the window (PhoneFrm) stays thin.
// The end of a message is found by polling the player every 40 ms (Timer1).
// A sound system that never answers must not hold the transmitter keyed:
// PTT goes at the latest at the player's SoundCeiling (2 s after the play was
// asked for when the sound has not begun, 2 s past its length once it has).
// Nothing here waits on the sound system: the player's calls return at once.
// Until the player knows whether a sound output exists (the first message
// after start), a message waits unkeyed, for kBeginLimitMs at most.
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

#include "core/state.h"
#include "keying/phonefrm_settings.h"
#include "platform/audio.h"
#include "platform/serial.h"

namespace fd {

class PhoneKeyer : public QObject {
 public:
  static constexpr std::int64_t kBeginLimitMs = SoundCeiling::kLimitMs;

  // commPhone: the voice keyer's PTT port, which the other keyers close to take the line.
  PhoneKeyer(ProgramState& state, SerialPort& commPhone);
  ~PhoneKeyer() override;

  WaveSettings settings;

  // Seams to the window and the other keyers.
  std::function<bool()> windowVisible;               // PhoneFrm shown
  std::function<void()> showWindowModal;             // PhoneFrm shown modally
  std::function<void()> closeWinKey;                 // frmWinKey.cmdCloseWinkey_Click
  std::function<void()> closeCwPort;                 // the CW key line's serial port
  std::function<void()> stopPrompt;                  // a voice prompt playing, stopped before PTT is keyed
  // Out32: one byte to an I/O port (the shared parallel handle); false when
  // the port cannot be written. Tests put a recorder in its place.
  std::function<bool(int address, int value)> out32;

  void FKeyPhone(int keyCode);
  void Timer1_Timer();
  void tmrRepeat_Timer();
  void PhoneSetup();
  void stopRepeat();                  // "Stop": PhoneRepeat 0, tmrRepeat off
  void disableRepeat() { tmrRepeat.stop(); }
  bool playing() const { return player_ && player_->playing(); }
  // A line keyed, or a message waiting, loading or playing: a sound now would go on the air.
  bool onAir() const { return waiting_ || keyedSerial_ != Serial::None || keyedAddress_ >= 0 || playing(); }
  void setRepeatMs(int ms) { settings.repeatMs = ms; }
  // Each of these drops a message waiting for the output's answer and
  // releases PTT before it touches the player.
  // Esc: PTT released, then the play stopped; Timer1 ends it at its next tick.
  void stopPlay();
  // Repeat and Timer1 stopped, PTT released; the player is left as it is.
  void cancel();
  // Cancelled, then the play stopped.
  void releaseAll();
  // The window's unload: cancelled, then the player closed and the port closed.
  void unload();

  SerialPort& CommPhone() { return comm_; }
  AudioPlayer& player();
  QTimer Timer1;
  QTimer tmrRepeat;

 private:
  void release();
  void keyAndPlay();
  bool waiting_ = false;          // a message waits for the output's answer, unkeyed
  std::int64_t waitingSince_ = -1;  // monotonic ms
  SoundCeiling ceiling_;
  ProgramState& s;
  SerialPort& comm_;
  std::unique_ptr<AudioPlayer> player_;
  // What was keyed, remembered so that the release hits the same lines even
  // when the settings change while the message plays.
  enum class Serial { None, Rts, Dtr };
  Serial keyedSerial_ = Serial::None;
  int keyedAddress_ = -1;
};

}  // namespace fd
