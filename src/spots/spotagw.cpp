// The spotting window's AGW packet engine link: open, send (":C call",
// ":D", text), and the poll that shows, posts and follows connections.
#include "platform/platform.h"
#include "spots/packetspotfrm.h"
#include "spots/spotline.h"
#include "spots/spotservice.h"

namespace fd {

namespace {
const QString kCrLf = QStringLiteral("\r\n");
const QString kCrLf2 = QStringLiteral("\r\n\r\n");
const QString kRefusedFirst = QStringLiteral(
    "Unable to connect to the AGW Packet Engine.  To use the AGW Packet Engine to send and receive packet with your "
    "soundcard or devices such a Baypac:");
const QString kDownload =
    QStringLiteral("- Download the freely available software from https://github.com/wb2osz/direwolf");
constexpr std::int64_t kTickBudgetMs = 30;  // the work of one tick; the rest waits for the next
}  // namespace

void PacketSpotfrm::OpenAGW() {
  const QString call = spotline::trimBlanks(s_.MyCall);
  if (call.isEmpty()) {
    dialogs().beep();
    dialogs().message(QStringLiteral("Call Sign Required!"),
                      QStringLiteral("Please enter your call sign on the setup form to transmit!"), Buttons::Ok);
    return;
  }
  // The application name (the caption's first 50 characters) has no
  // counterpart on the wire. A running link's tick must not take the
  // engine's answer to the registration: the timer waits meanwhile.
  Timer1.stop();
  if (agw->startPoll(call)) {
    Timer1.start();
    appendMonitor(kCrLf + QStringLiteral("** Successfully connected to AGW Packet Engine **") + kCrLf2);
    return;
  }
  dialogs().message(QStringLiteral("Unable to connect to the AGW Packet Engine."),
                    kRefusedFirst + kCrLf2 + kDownload + kCrLf2 +
                        QStringLiteral("- Make sure the AGW Packet Engine software is running and configure it as "
                                       "described on the AGW Packet Engine website."),
                    Buttons::Ok);
  Label4->hide();
  appendMonitor(kRefusedFirst + kCrLf2 + kDownload + kCrLf2 +
                QStringLiteral("- Run the Packet Engine software and configure it as described on the AGW Packet "
                               "Engine website for your sound card or TNC.") +
                kCrLf2 + QStringLiteral("- Click Open from this program.") + kCrLf2);
  if (!isVisible()) show();
  Timer1.stop();
}

void PacketSpotfrm::SendAGW() {
  const QString text = txtSent->text();
  if (text.startsWith(u':')) {
    const QString letter = text.mid(1, 1).toUpper();
    const QString arg = spotline::trimBlanks(text.mid(2));
    if (letter == QLatin1String("D")) {
      if (!ConnectedCall.isEmpty()) agw->putData('d', ConnectedCall, {});
    } else if (letter == QLatin1String("C")) {
      const QString to = arg.toUpper();
      // The connect request goes out as the engine's 'C'; no 'P' frame.
      if (!to.isEmpty()) agw->putData('C', to, {});
      else
        dialogs().message(QStringLiteral("Call sign Required"),
                          QStringLiteral("You must enter a call sign to connect to such as :C Varik"), Buttons::Ok);
    }
    return;
  }
  if (!ConnectedCall.isEmpty()) agw->putData('D', ConnectedCall, text.toLatin1() + '\r');
}

void PacketSpotfrm::txtSent_Change() {
  if (inSentChange_) return;
  if (!transportIs(QStringLiteral("AGW Packet Engine")) || !Timer1.isActive()) return;
  const QString t = txtSent->text();
  if (t.size() <= 70 || !t.endsWith(u' ')) return;
  inSentChange_ = true;
  txtSent->setText(t.left(t.size() - 1));
  SendAGW();
  txtSent->clear();
  inSentChange_ = false;
}

void PacketSpotfrm::PollAGW() {
  // Every waiting frame, each as the one-frame poll; at one frame a tick a
  // busy channel would lag without end. One tick's work is bounded in time.
  sv_.beginBurst();
  const std::int64_t start = clock().monotonicMs();
  while (clock().monotonicMs() - start < kTickBudgetMs) {
    auto f = agw->getData();
    if (!f) break;
    handleAgwFrame(*f);
  }
  sv_.endBurst();
  if (agw->vanished()) Command2_Click();  // a vanished engine shows as a closed port
}

void PacketSpotfrm::handleAgwFrame(const agw::Frame& f) {
  switch (intake.receiveAgw(f, ConnectedCall, agwPartial_)) {
    case SpotIntake::AgwEvent::Disconnected:
      dialogs().beep();
      dialogs().beep();
      setWindowTitle(QStringLiteral("DX Spotting Setup"));
      break;
    case SpotIntake::AgwEvent::Connected:
      setWindowTitle(QStringLiteral("DX Spotting Setup - Connected to ") + ConnectedCall);
      dialogs().beep();
      break;
    case SpotIntake::AgwEvent::None: break;
  }
}

}  // namespace fd
