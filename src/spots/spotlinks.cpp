// The spotting window's links: the TNC on a serial port, the telnet cluster,
// the 333 ms timer and the send box. Serial bytes are Latin-1, one character
// per column; the telnet link sends text with CR LF, the TNC with CR.
#include "spots/packetspotfrm.h"
#include "spots/spotline.h"
#include "spots/spotservice.h"
#include "platform/platform.h"

namespace fd {

namespace {
const QString kCrLf2 = QStringLiteral("\r\n\r\n");
}

void PacketSpotfrm::PostSpot(const QString& freq, const QString& call, const QString& line) {
  BandMapTicks = 0;
  QString record;
  if (!spotline::record(line, record)) return;
  sv_.BandMapSpots(call, freq, record);
}

// ---- TNC ----

void PacketSpotfrm::OpenCommPort() {
  if (comComm1->isOpen()) comComm1->close();
  comComm1->setProgramFolder(s_.ProgDir);
  comComm1->setCommPort(PortNumber);
  comComm1->setSettings(PortSettings);
  comComm1->setDTREnable(false);
  comComm1->setRTSEnable(false);
  // Handshake 1..4 to the serial layer's 0..3; RTS follows RTS/CTS.
  struct Row { int handshaking; bool rts; };
  static constexpr Row kRows[] = {{0, false}, {1, false}, {2, true}, {3, true}};
  if (Handshake >= 1 && Handshake <= 4) {
    const Row& r = kRows[Handshake - 1];
    comComm1->setHandshaking(r.handshaking);
    if (r.rts) comComm1->setRTSEnable(true);
  }
  if (!comComm1->open()) return;  // quiet, as the classic trap was; "Listening" stays
  if (PowerLine.compare(QLatin1String("R"), Qt::CaseInsensitive) == 0) comComm1->setRTSEnable(true);
  if (PowerLine.compare(QLatin1String("D"), Qt::CaseInsensitive) == 0) comComm1->setDTREnable(true);
  if (comComm1->isOpen()) Timer1.start();
  appendMonitor(QStringLiteral("** TNC Serial Port Open **") + kCrLf2);
}

void PacketSpotfrm::ReadCommPort() {
  QByteArray bytes;
  if (!comComm1->input(bytes)) return;
  intake.receiveSerial(QString::fromLatin1(bytes));
}

void PacketSpotfrm::Timer1_Timer() {
  if (transportIs(QStringLiteral("TNC"))) ReadCommPort();
  if (transportIs(QStringLiteral("AGW Packet Engine"))) PollAGW();
  BandMapTicks += 1;
  if (BandMapTicks > 360) {
    BandMapTicks = 0;
    if (sv_.bandMapVisible()) sv_.displayBandMapLabels();
  }
}

void PacketSpotfrm::txtSent_KeyPress(int& keyAscii) {
  if (keyAscii == 13) {
    if (!listening()) Command1_Click();
    if (transportIs(QStringLiteral("TNC"))) {
      if (comComm1->isOpen()) comComm1->output(txtSent->text().toLatin1() + '\r');
    } else if (transportIs(QStringLiteral("Telnet"))) {
      SendTelnet();
    } else if (transportIs(QStringLiteral("AGW Packet Engine")) && Timer1.isActive()) {
      SendAGW();
    }
    txtSent->clear();
  }
  if (keyAscii == 27 && transportIs(QStringLiteral("AGW Packet Engine"))) keyAscii = 58;
  if (keyAscii == 13 || keyAscii == 27) keyAscii = 0;
}

// ---- telnet ----

void PacketSpotfrm::OpenTelnet() {
  Winsock1->close();
  intake.dropTelnetPartial();
  Winsock1->remoteHost = txtTelnetHost->text();
  bool ok = false;
  const int port = txtTelnetPort->text().trimmed().toInt(&ok);
  if (!ok || port < 0 || port > 65535) return;
  Winsock1->remotePort = port;
  Winsock1->connectToHost(Winsock1->remoteHost, port);
  intake.setMonitor(QStringLiteral("Attempting connection to: ") + Winsock1->remoteHost + u':' +
                    QString::number(Winsock1->remotePort) + kCrLf2);
  Timer1.start();
}

void PacketSpotfrm::Winsock1_DataArrival() {
  intake.receiveTelnet(QString::fromLatin1(Winsock1->readAll()));
}

void PacketSpotfrm::SendTelnet() {
  if (!Winsock1->connected()) {
    appendMonitor(QStringLiteral("**  Connection not yet established.  Please wait a moment and try again.") + kCrLf2);
    TrimMonitor();
    return;
  }
  Winsock1->send(txtSent->text().toLatin1() + "\r\n");
  // A prompt ("login: ") has no line end; what the cluster sends after the
  // answer starts a new line.
  intake.dropTelnetPartial();
}

void PacketSpotfrm::Winsock1_Error(int number) {
  const QString message = winsockMessage(number);
  Winsock1->close();
  appendMonitor(message);
  Command2_Click();
  TrimMonitor();
  dialogs().beep();
}

void PacketSpotfrm::Winsock1_ClosedByPeer() {
  // A dropped link never looks open.
  Command2_Click();
}

}  // namespace fd
