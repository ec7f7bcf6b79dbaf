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
  if (!player_) player_ = makeAudioPlayer();
  return *player_;
}

void PhoneKeyer::FKeyPhone(int keyCode) {
  if (keyCode < 112 || keyCode > 120) return;
  AudioPlayer& mm = player();
  mm.close();  // a message still playing stops; Timer1 releases its PTT at the next tick
  const QString& box = settings.Text[static_cast<size_t>(keyCode - 112)];
  if (keyCode == 112 && boxValue(settings.txtPHLoop).value_or(0) > 0) s.PhoneRepeat = 1;
  // A name without a folder is the program folder's, whatever the current folder is.
  const bool relative = !box.trimmed().isEmpty() && QDir::isRelativePath(box) && !s.ProgDir.isEmpty();
  mm.setFileName(relative ? QDir(s.ProgDir).filePath(box) : box);
  if (mm.fileName().trimmed().isEmpty()) return;

  // Asked before any line is keyed: Qt's first look at the sound devices
  // waits on a server that does not answer (about 30 s), and making the
  // player's backend waits on one that has stopped; neither may happen with
  // the transmitter keyed. The answer changes nothing below: with no output
  // the play fails and Timer1 releases the line at its first tick.
  mm.hasOutput();

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
  requestedAt_ = clock().monotonicMs();
  beganAt_ = -1;
  headerMs_ = wavLengthMs(mm.fileName());
  if (mm.open()) mm.play();
  Timer1.start();
}

bool PhoneKeyer::pastCeiling() {
  const std::int64_t now = clock().monotonicMs();
  // The sound has begun once its position has left 0, that long ago.
  if (beganAt_ < 0 && player_->started()) beganAt_ = now - player_->positionMs();
  if (now - requestedAt_ < kBeginLimitMs) return false;
  if (beganAt_ < 0) return true;  // the sound never began
  std::int64_t length = headerMs_.value_or(-1);
  if (length < 0) length = player_->durationMs();
  if (length < 0) return true;  // no length known: unplayable
  return now >= beganAt_ + length + kBeginLimitMs;
}

void PhoneKeyer::Timer1_Timer() {
  const bool cut = playing();
  if (cut && !pastCeiling()) return;
  Timer1.stop();
  release();
  // Stopped after the release: a stalled sound server holds the stop until it runs again.
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
  release();
  if (player_) player_->stop();
}

void PhoneKeyer::cancel() {
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
