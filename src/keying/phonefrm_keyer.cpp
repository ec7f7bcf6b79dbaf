#include "keying/phonefrm_keyer.h"

#include <QDir>

#include <cmath>

#include "platform/audio.h"
#include "platform/keylines.h"
#include "platform/platform.h"

namespace fd {

PhoneKeyer::PhoneKeyer(ProgramState& state, SerialPort& commPhone) : s(state), comm_(commPhone) {
  out32 = fd::out32;
  Timer1.setInterval(40);
  Timer1.setTimerType(Qt::PreciseTimer);  // the release must follow the end within one tick
  tmrRepeat.setSingleShot(false);
  connect(&Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
  connect(&tmrRepeat, &QTimer::timeout, this, [this] { tmrRepeat_Timer(); });
}

PhoneKeyer::~PhoneKeyer() { unload(); }

AudioPlayer& PhoneKeyer::player() {
  if (!player_) {
    player_ = makeAudioPlayer();
    // A message waiting for the answer goes at once, from the event loop
    // rather than inside the player's reading.
    player_->onOutputAnswer = [this] {
      QTimer::singleShot(0, this, [this] {
        if (waiting_) Timer1_Timer();
      });
    };
  }
  return *player_;
}

void PhoneKeyer::FKeyPhone(int keyCode) {
  if (keyCode < 112 || keyCode > 120) return;
  AudioPlayer& mm = player();
  mm.close();  // a message still playing stops; Timer1 releases its PTT at the next tick
  waiting_ = false;  // and one still waiting is replaced
  const QString& box = settings.Text[static_cast<size_t>(keyCode - 112)];
  if (keyCode == 112 && boxValue(settings.txtPHLoop).value_or(0) > 0) s.PhoneRepeat = 1;
  // A name without a folder is the program folder's, whatever the current folder is.
  const bool relative = !box.trimmed().isEmpty() && QDir::isRelativePath(box) && !s.ProgDir.isEmpty();
  mm.setFileName(relative ? QDir(s.ProgDir).filePath(box) : box);
  if (mm.fileName().trimmed().isEmpty()) return;

  // Asked before any line is keyed: until the answer comes (the sound
  // system's first look at its devices, which a server that does not answer
  // can hold for long) the message waits unkeyed, and Timer1 drops it after
  // kBeginLimitMs. Once known, the answer changes nothing below: with no
  // output the play fails and Timer1 releases the line at its first tick.
  if (!mm.hasOutput()) {
    release();
    waiting_ = true;
    waitingSince_ = clock().monotonicMs();
    Timer1.start();
    return;
  }
  keyAndPlay();
}

void PhoneKeyer::keyAndPlay() {
  AudioPlayer& mm = *player_;
  if (stopPrompt) stopPrompt();  // a prompt playing now would go out on the air
  // A line still keyed by the message just closed, other than the one keyed
  // now, goes off first (the settings may have changed meanwhile).
  const bool serial = boxValue(settings.Text10).value_or(0) > 0;
  const Serial want = !serial ? Serial::None : settings.option == WaveSettings::DTR ? Serial::Dtr : Serial::Rts;
  if (keyedSerial_ != want || (keyedAddress_ >= 0 && settings.option != WaveSettings::Parallel)) release();

  if (serial) {
    if (!comm_.isOpen()) PhoneSetup();
    keyedSerial_ = want;
    setSerialKeyLine(comm_, want == Serial::Rts, true);
  }
  if (settings.option == WaveSettings::Parallel) {
    bool ok = false;
    const int base = parseParallelBase(settings.Text11, &ok);
    if (!ok || !out32 || !out32(base + 2, 3)) {
      release();  // nothing else would release the line keyed above
      return;
    }
    keyedAddress_ = base + 2;
  }
  // A file that will not play is no failure here: Timer1 releases at its first tick.
  ceiling_.start(mm.fileName());
  if (mm.open()) mm.play();
  Timer1.start();
}

void PhoneKeyer::Timer1_Timer() {
  if (waiting_) {
    if (player_->hasOutput()) {
      waiting_ = false;
      keyAndPlay();
    } else if (clock().monotonicMs() - waitingSince_ >= kBeginLimitMs) {
      // No answer in time: the message is dropped, nothing keyed or played.
      waiting_ = false;
      Timer1.stop();
      stopRepeat();
    }
    return;
  }
  const bool cut = playing();
  if (cut && !ceiling_.past(*player_)) return;
  Timer1.stop();
  release();
  if (cut) player_->stop();  // nor may it sound later, unkeyed
  // A pause that rounds to 0 ms would replay back to back: no repeat then.
  if (s.PhoneRepeat == 1 && settings.repeatMs > 0) {
    tmrRepeat.setInterval(settings.repeatMs);
    tmrRepeat.start();
  }
}

void PhoneKeyer::release() {
  if (keyedSerial_ != Serial::None) setSerialKeyLine(comm_, keyedSerial_ == Serial::Rts, false);
  keyedSerial_ = Serial::None;
  if (keyedAddress_ >= 0 && out32) out32(keyedAddress_, 2);
  keyedAddress_ = -1;
}

void PhoneKeyer::tmrRepeat_Timer() {
  tmrRepeat.stop();
  FKeyPhone(112);
}

void PhoneKeyer::PhoneSetup() {
  const double port = boxValue(settings.Text10).value_or(0);
  if (!(port > 0)) return;  // an open port stays open
  if (s.WinKeyOpen > 0 && closeWinKey) closeWinKey();
  if (closeCwPort) closeCwPort();
  if (comm_.isOpen()) comm_.close();
  comm_.setProgramFolder(s.ProgDir);
  comm_.setCommPort(port > 2147483647.0 ? 0 : static_cast<int>(std::nearbyint(port)));
  comm_.setDTREnable(false);
  comm_.setRTSEnable(false);
  if (comm_.open()) return;
  dialogs().beep();
  dialogs().message(QStringLiteral("Invalid port."),
                    QStringLiteral("The port you have selected for Phone keying is invalid.  Please select another or "
                                   "enter 0 for none."),
                    Buttons::Ok, Icon::Information);
  if (showWindowModal && !(windowVisible && windowVisible())) showWindowModal();
}

void PhoneKeyer::stopRepeat() {
  s.PhoneRepeat = 0;
  tmrRepeat.stop();
}

void PhoneKeyer::stopPlay() {
  waiting_ = false;
  release();
  if (player_) player_->stop();
}

void PhoneKeyer::cancel() {
  waiting_ = false;
  s.PhoneRepeat = 0;
  tmrRepeat.stop();
  Timer1.stop();
  release();
}

void PhoneKeyer::releaseAll() {
  cancel();
  if (player_) player_->stop();
}

void PhoneKeyer::unload() {
  cancel();
  if (player_) player_->close();
  comm_.close();
}

}  // namespace fd
