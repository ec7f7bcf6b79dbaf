// The rig window's radio commands: frequency and mode, with the pauses the
// radios need between commands. The waits run the event loop (bounded), so
// paints, timers and the links go on; a command that starts inside another's
// wait does nothing. The operator's keys and clicks wait for the command: a
// tune asked for by a click is followed by more of that click's work (a
// spot's call put into the entry), which keys typed meanwhile must follow.
#include <QDir>
#include <QScopeGuard>

#include "platform/clock.h"
#include "platform/platform.h"
#include "platform/safefile.h"
#include "platform/wait.h"
#include "rig/catparse.h"
#include "rig/rigcommands.h"
#include "rig/rigcontrolfrm.h"

namespace fd {

namespace {
const char* const kPortClosed = "The radio's port is closed.";
}  // namespace

void RigControlfrm::LoadBandPlan() {
  RigBandPlan = rig::extraRecords(rig::readBandPlan(s_.progFile(QStringLiteral("BandPlan.txt"))));
}

void RigControlfrm::WaitWhileInputPending() {
  // Inside a frequency change polling is stopped and nobody reads the port:
  // a late poll answer, an echo or an acknowledgement is read here and
  // dropped, so the wait ends as soon as nothing is waiting. A mode command
  // on its own leaves the bytes to the poll loop.
  waitUntil(
      [this] {
        if (!comComm1->isOpen()) return true;
        if (dropWaiting_ && comComm1->inBufferCount() > 0) {
          QByteArray dropped;
          comComm1->input(dropped);
        }
        return comComm1->inBufferCount() == 0;
      },
      {2000, WaitInput::Hold, nullptr, 5});
}

void RigControlfrm::RigPause(float ms) { pauseFor(static_cast<std::int64_t>(ms), WaitInput::Hold); }

bool RigControlfrm::sendCommand(const QByteArray& bytes, QString& why) {
  // Drained before the pause that follows, so pauses separate commands on the wire.
  if (comComm1->output(bytes)) return true;
  why = comComm1->error();
  return false;
}

void RigControlfrm::WritePegasusFrequency(float f) {
  QDir().mkpath(cat::pegasusFolder());
  writeWholeFile(QDir(cat::pegasusFolder()).filePath(QStringLiteral("PEGASUS.IN")),
                 rig::pegasusCommandFile(f, poll.values.mode));
}

void RigControlfrm::ChangeMode(const float& qChangeFrequency, QString& ModeToChangeTo) {
  if (commandDepth_ > 0) return;
  ++commandDepth_;
  const auto done = qScopeGuard([this] { --commandDepth_; });
  changeMode(qChangeFrequency, ModeToChangeTo);
}

void RigControlfrm::changeMode(float f, QString& mode) {
  if (s_.RigType == u"None") return;
  if (mode.isEmpty()) rig::ModeFromBandPlan(RigBandPlan, f, mode);
  if (mode.isEmpty()) {
    WaitWhileInputPending();
    return;
  }
  pauseFor(0, WaitInput::Hold);
  WaitWhileInputPending();
  RigPause(99);
  const rig::RigFamily* fam = currentFamily();
  QString why;
  if (fam) {
    if (const auto cmd = rig::modeCommand(*fam, mode, poll.req); cmd && !sendCommand(*cmd, why)) {
      if (!unloaded_) dialogs().message(QStringLiteral("Error Changing Mode"), why + u' ' + mode, Buttons::Ok);
      return;
    }
  }
  WaitWhileInputPending();
}

void RigControlfrm::ChangeFrequency(const float& mhz) {
  if (commandDepth_ > 0) return;
  if (!polling()) {
    // A tune asked for while the lost port is tried cannot happen: told, as
    // a loss during a tune is. Stopped on purpose (End Test, no radio), a
    // tune stays quiet.
    if (portLost() && !unloaded_)
      dialogs().message(QStringLiteral("Error Changing Frequency"), QString::fromLatin1(kPortClosed), Buttons::Ok);
    return;
  }
  const float f = mhz;  // the caller's value stays as it is
  ++commandDepth_;
  dropWaiting_ = true;
  const auto done = qScopeGuard([this] {
    --commandDepth_;
    dropWaiting_ = false;
  });
  tmrGetData.stop();
  const rig::RigFamily* fam = currentFamily();
  const bool pegasus = fam && fam->freqCmd == rig::FreqCmd::Pegasus;
  QString why;
  bool ok = true;
  if (!pegasus) {
    QByteArray discard;
    ok = comComm1->input(discard);
    if (!ok) why = comComm1->error();
    // The answer a read tick would wait for is gone with the input: polling
    // resumes with a request, not with a tick that can only find nothing.
    poll.discard();
  }
  if (ok) {
    QString mode;
    changeMode(f, mode);
    WaitWhileInputPending();
    if (fam && fam->freqCmd != rig::FreqCmd::None) {
      RigPause(static_cast<float>(fam->pause1));
      if (fam->pause2) RigPause(static_cast<float>(fam->pause2));
      if (pegasus) {
        WritePegasusFrequency(f);
      } else if (!comComm1->isOpen()) {
        ok = false;
        why = QString::fromLatin1(kPortClosed);
      } else if (const auto cmd = rig::frequencyCommand(*fam, f, poll.req, poll.values.vfo)) {
        ok = sendCommand(*cmd, why);
      }
    }
    if (ok) WaitWhileInputPending();
  }
  // Unloaded meanwhile (the program closing): the port was closed on purpose.
  if (!ok && !unloaded_) dialogs().message(QStringLiteral("Error Changing Frequency"), why, Buttons::Ok);
  // Polling again while the link stands. A port that went away is tried
  // again as any lost port is (never "Polling Rig" over a dead port); idle
  // when End Test ran meanwhile.
  if (!pegasus && !comComm1->isOpen()) {
    if (linkOn_) linkLost();
    else Command2_Click();
    return;
  }
  if (linkOn_) tmrGetData.start();
}

}  // namespace fd
