// The spotting setup window against a fake serial port and a fake socket.
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "fakemainwindow.h"
#include "platform/serial.h"
#include "spots/packetspotfrm.h"
#include "spots/spotservice.h"
#include "spots/telnetsocket.h"
#include "testenv.h"

namespace fd {
namespace {

const QByteArray kTncFile =
    "\"9600\"\r\n\"N\"\r\n\"8\"\r\n\"1\"\r\n1\r\n\"N\"\r\n\"TNC\"\r\n0\r\n3\r\n0\r\n#FALSE#\r\n\"03\"\r\n\"\"\r\n\"\"\r\n";
const QByteArray kTelnetFile =
    "\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n0\r\n\"\"\r\n\"Telnet\"\r\n0\r\n0\r\n0\r\n#TRUE#\r\n\"\"\r\n\"7300\"\r\n\"127.0.0.1\"\r\n";
const QString kSpot = QStringLiteral("DX de W3LPL:     14025.0  JA1ABC       CW 599 up 2                    1234Z\r\n");

class SpotWindow : public test::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    setSerialFactory([this] {
      auto p = std::make_unique<FakeSerialPort>();
      port = p.get();
      return p;
    });
    setTelnetSocketFactory([this] {
      auto p = std::make_unique<FakeTelnetSocket>();
      sock = p.get();
      return p;
    });
    svc.attach(main);
    svc.agwSeam = &agw;
  }
  void TearDown() override {
    svc.unload(SideWindow::PacketSpotfrm);
    setSerialFactory({});
    setTelnetSocketFactory({});
  }
  PacketSpotfrm* load() { return svc.loadSpotWindow(); }

  test::FakeMainWindow main{&state};
  SpotService svc{state};
  RecordingAgwSeam agw;
  FakeSerialPort* port = nullptr;
  FakeTelnetSocket* sock = nullptr;
};

TEST_F(SpotWindow, NoFileLeavesTheCreatedStateAndOpensNothing) {
  PacketSpotfrm* w = load();
  EXPECT_EQ(w->windowTitle(), QStringLiteral(" DX Spotting Setup"));
  EXPECT_EQ(w->List1->count(), 4);
  EXPECT_EQ(w->List1->currentRow(), -1);
  EXPECT_TRUE(w->Transport.isEmpty());
  EXPECT_FALSE(w->txtSent->isEnabled());
  EXPECT_FALSE(w->listening());
  EXPECT_EQ(port->opens, 0);
  EXPECT_EQ(w->intake.RxBuffer, QStringLiteral("\n"));
}

TEST_F(SpotWindow, TncFileIsAppliedAndTheLinkOpensWithItsSettings) {
  writeFile("PackSpot.txt", kTncFile);
  PacketSpotfrm* w = load();
  EXPECT_EQ(w->List1->currentItem()->text(), QStringLiteral("TNC"));
  EXPECT_TRUE(w->optComm[0]->isChecked());
  EXPECT_TRUE(w->optBaud[3]->isChecked());
  EXPECT_TRUE(w->optHandshake[2]->isChecked());
  EXPECT_EQ(w->txtHex->text(), QStringLiteral("03"));
  EXPECT_TRUE(w->listening());
  ASSERT_TRUE(port->isOpen());
  EXPECT_EQ(port->commPort(), 1);
  EXPECT_EQ(port->settings(), QStringLiteral("9600,N,8,1"));
  EXPECT_EQ(port->handshaking(), 2);
  EXPECT_TRUE(port->rtsEnable());
  EXPECT_FALSE(port->dtrEnable());
  EXPECT_TRUE(w->Timer1.isActive());
  EXPECT_EQ(w->monitorText(), QStringLiteral("** Attempting to Open Port **\r\n\r\n** TNC Serial Port Open **\r\n\r\n"));
  EXPECT_EQ(w->Label6->text(), QStringLiteral("Send text  (Ctrl C or Esc for TNC Command mode):"));

  // Lines in odd chunks arrive through the timer as spots.
  port->pending = kSpot.left(30).toLatin1();
  w->Timer1_Timer();
  EXPECT_EQ(main.view.list.topLevelItemCount(), 0);
  port->pending = kSpot.mid(30).toLatin1() + "To ALL de K1TTT: hi\r\n";
  w->Timer1_Timer();
  ASSERT_EQ(main.view.list.topLevelItemCount(), 1);
  EXPECT_EQ(main.view.list.topLevelItem(0)->text(0), QStringLiteral("JA1ABC"));
  EXPECT_TRUE(w->monitorText().endsWith(kSpot + QStringLiteral("To ALL de K1TTT: hi\r\n")));
  // The same spot again within the tail: neither shown nor posted.
  port->pending = kSpot.toLatin1();
  w->Timer1_Timer();
  EXPECT_EQ(main.view.list.topLevelItemCount(), 1);

  // Enter sends the text and CR.
  w->txtSent->setText(QStringLiteral("sh/dx"));
  int k = 13;
  w->txtSent_KeyPress(k);
  EXPECT_EQ(k, 0);
  EXPECT_EQ(port->written, QByteArray("sh/dx\r"));
  EXPECT_TRUE(w->txtSent->text().isEmpty());

  // Done writes the file as read.
  QFile::remove(path("PackSpot.txt"));
  w->cmdDone_Click();
  EXPECT_EQ(readFile("PackSpot.txt"), kTncFile);
  EXPECT_EQ(main.prefSaves, 1);
  EXPECT_FALSE(w->isVisible());
}

// A file that stops short: the values read stand in the window and Done
// writes them back; no control was set from the file.
TEST_F(SpotWindow, AShortFileKeepsWhatWasReadForTheNextSave) {
  const QList<QByteArray> lines = kTelnetFile.split('\n');
  QByteArray thirteen;
  for (int i = 0; i < 13; ++i) thirteen += lines[i] + '\n';
  writeFile("PackSpot.txt", thirteen);
  PacketSpotfrm* w = load();
  EXPECT_EQ(w->Transport, QStringLiteral("Telnet"));
  EXPECT_EQ(w->List1->currentRow(), -1);
  EXPECT_TRUE(w->txtTelnetPort->text().isEmpty());
  w->cmdDone_Click();
  EXPECT_EQ(readFile("PackSpot.txt"), QByteArray("\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n0\r\n\"\"\r\n\"Telnet\"\r\n0\r\n0\r\n0\r\n"
                                                 "#FALSE#\r\n\"\"\r\n\"\"\r\n\"\"\r\n"));
}

TEST_F(SpotWindow, LowerCaseFileSelectsTheSameOptions) {
  QByteArray lower = kTncFile;
  lower.replace("\"TNC\"", "\"tnc\"").replace("\"N\"", "\"n\"");
  writeFile("PackSpot.txt", lower);
  PacketSpotfrm* w = load();
  EXPECT_EQ(w->List1->currentItem()->text(), QStringLiteral("TNC"));
  EXPECT_TRUE(w->optParity[1]->isChecked());
  EXPECT_TRUE(w->optPower[0]->isChecked());
  EXPECT_TRUE(port->isOpen());
}

TEST_F(SpotWindow, TelnetFileWithPortZeroOpensTheLinkOnFirstShowing) {
  writeFile("PackSpot.txt", kTelnetFile);
  svc.showSpottingSetup();
  PacketSpotfrm* w = svc.spotWindow();
  ASSERT_TRUE(w);
  EXPECT_TRUE(w->isVisible());
  EXPECT_EQ(w->List1->currentItem()->text(), QStringLiteral("Telnet"));
  EXPECT_TRUE(w->OptList->isChecked());
  EXPECT_EQ(w->txtTelnetHost->text(), QStringLiteral("127.0.0.1"));
  for (QRadioButton* b : w->optComm) EXPECT_FALSE(b->isChecked());
  EXPECT_EQ(sock->connects, 1);
  EXPECT_EQ(sock->remotePort, 7300);
  EXPECT_EQ(w->monitorText(), QStringLiteral("Attempting connection to: 127.0.0.1:7300\r\n\r\n"));
  EXPECT_EQ(w->Label6->text(), QStringLiteral("Type text to send and press enter:"));
  EXPECT_FALSE(w->chkDX->isChecked());
  // The typed call goes out with CR LF.
  w->txtSent->setText(QStringLiteral("N0CALL"));
  int k = 13;
  w->txtSent_KeyPress(k);
  EXPECT_EQ(sock->sent, QByteArray("N0CALL\r\n"));
  // A spot split across reads is posted once, whole.
  sock->deliver(kSpot.left(40).toLatin1());
  sock->deliver(kSpot.mid(40).toLatin1());
  EXPECT_EQ(main.view.list.topLevelItemCount(), 1);
  // The cluster closing the connection closes the port.
  sock->onClosedByPeer();
  EXPECT_FALSE(w->listening());
  EXPECT_TRUE(w->monitorText().endsWith(QStringLiteral("\r\n\r\n** Port Closed **")));
  EXPECT_FALSE(w->Timer1.isActive());
  EXPECT_EQ(fake->dialogs->beeps, 0);
  // Showing again does not create it afresh.
  svc.showSpottingSetup();
  EXPECT_EQ(svc.spotWindow(), w);
  EXPECT_EQ(sock->connects, 1);
}

TEST_F(SpotWindow, TelnetErrorsAndSendingBeforeTheConnection) {
  writeFile("PackSpot.txt", kTelnetFile);
  PacketSpotfrm* w = load();
  sock->close();  // not yet connected
  w->txtSent->setText(QStringLiteral("N0CALL"));
  int k = 13;
  w->txtSent_KeyPress(k);
  EXPECT_TRUE(sock->sent.isEmpty());
  EXPECT_TRUE(w->txtSent->text().isEmpty());
  EXPECT_TRUE(w->monitorText().endsWith(
      QStringLiteral("**  Connection not yet established.  Please wait a moment and try again.\r\n\r\n")));
  w->intake.setMonitor(QStringLiteral("Attempting connection to: 127.0.0.1:7300\r\n\r\n"));
  sock->onError(10061);
  EXPECT_EQ(w->monitorText(), QStringLiteral("Attempting connection to: 127.0.0.1:7300\r\n\r\nERROR: Connection is "
                                             "forcefully rejected.\r\n\r\n** Port Closed **"));
  EXPECT_FALSE(w->listening());
  EXPECT_EQ(fake->dialogs->beeps, 1);
  // The message table.
  EXPECT_EQ(winsockMessage(10060), winsockMessage(10058));
  EXPECT_EQ(winsockMessage(10059), QStringLiteral("Error number 10059"));
  EXPECT_EQ(winsockMessage(10054), QStringLiteral("ERROR: The connection is reset by remote side.!"));
  EXPECT_EQ(winsockNumber(QAbstractSocket::HostNotFoundError), 11001);
  EXPECT_EQ(winsockNumber(QAbstractSocket::SocketAccessError), 3);
}

TEST_F(SpotWindow, ChoosingTncByHandAppliesItsDefaultsAndLoadingDoesNot) {
  QByteArray file = kTncFile;
  file.replace("\"9600\"", "\"4800\"").replace("\r\n3\r\n0\r\n#", "\r\n1\r\n0\r\n#");
  writeFile("PackSpot.txt", file);
  PacketSpotfrm* w = load();
  EXPECT_TRUE(w->optBaud[2]->isChecked());
  EXPECT_TRUE(w->optHandshake[0]->isChecked());
  w->optPower[2]->setChecked(true);
  w->chkDX->setChecked(true);
  w->List1->setCurrentRow(0);  // None: closes the link, all six blocks
  EXPECT_FALSE(w->listening());
  EXPECT_FALSE(port->isOpen());
  EXPECT_TRUE(w->monitorText().startsWith(QStringLiteral("Use this form to configure")));
  EXPECT_FALSE(w->txtSent->isEnabled());
  w->List1->setCurrentRow(1);
  EXPECT_TRUE(w->optBaud[3]->isChecked());
  EXPECT_TRUE(w->optHandshake[2]->isChecked());
  EXPECT_TRUE(w->optParity[1]->isChecked());
  EXPECT_TRUE(w->optComm[0]->isChecked());  // port and power line kept
  EXPECT_TRUE(w->optPower[2]->isChecked());
  EXPECT_EQ(w->txtHex->text(), QStringLiteral("03"));
  EXPECT_FALSE(w->chkDX->isChecked());
  EXPECT_FALSE(w->chkConvToHex->isEnabled());
}

TEST_F(SpotWindow, HelpAndPromptPerTransport) {
  PacketSpotfrm* w = load();
  const QString prompt0 = w->Label6->text();
  const struct { int row; const char* first; const char* prompt; bool agwText; } rows[] = {
      {0, "Use this form", nullptr, true},
      {1, "To use a Packet TNC", "Send text  (Ctrl C or Esc for TNC Command mode):", false},
      {2, "If you have an Internet", "Type text to send and press enter:", false},
      {3, "This program will also", "Send text (use : to send cmds such as :C Varik or :D)", true},
  };
  for (const auto& r : rows) {
    w->List1->setCurrentRow(r.row);
    EXPECT_TRUE(w->monitorText().startsWith(QString::fromLatin1(r.first))) << r.row;
    EXPECT_EQ(w->monitorText().contains(QStringLiteral(":C Varik     or to disconnect :D\r\n\r\n")), r.agwText);
    EXPECT_TRUE(w->monitorText().endsWith(QStringLiteral("\r\n\r\n")));
    EXPECT_EQ(w->Label6->text(), r.prompt ? QString::fromLatin1(r.prompt) : prompt0) << r.row;
  }
}

TEST_F(SpotWindow, WindowRules) {
  PacketSpotfrm* w = load();
  // Close Port while "Listening" is hidden writes nothing.
  w->List1->setCurrentRow(1);
  const QString before = w->monitorText();
  w->Command2_Click();
  EXPECT_EQ(w->monitorText(), before);
  // Esc on TNC with the link closed: opens, then sends the command character.
  w->optComm[2]->setChecked(true);
  int key = 27;
  w->Form_KeyDown(key, 0);
  EXPECT_TRUE(port->isOpen()) << w->monitorText().toStdString() << port->settings().toStdString() << port->error().toStdString();
  EXPECT_EQ(port->commPort(), 3);
  EXPECT_EQ(port->written, QByteArray(1, '\x03'));
  EXPECT_EQ(key, 0);
  key = 67;
  w->Form_KeyDown(key, 2);
  EXPECT_EQ(port->written, QByteArray(2, '\x03'));
  key = 67;
  w->Form_KeyDown(key, 3);  // Ctrl+Shift+C is not the key
  EXPECT_EQ(port->written.size(), 2);
  // A real Esc in the send box reaches the window first and does not close it.
  w->show();
  w->txtSent->setFocus();
  QTest::keyClick(w->txtSent, Qt::Key_Escape);
  EXPECT_EQ(port->written.size(), 3);
  EXPECT_TRUE(w->isVisible());
  // A command character that is no hex number sends nothing.
  w->txtHex->setText(QStringLiteral("zz"));
  key = 27;
  w->Form_KeyDown(key, 0);
  EXPECT_EQ(port->written.size(), 3);
  // Spot Last with no contact, then with one.
  w->Command3_Click();
  EXPECT_EQ(w->txtSent->text(), QStringLiteral("DX Frequency in kHz "));
  EXPECT_EQ(w->txtSent->selectedText(), QStringLiteral("Frequency in kHz"));
  QsoRecord r;
  r.Call = QStringLiteral("K1ABC");
  state.Log.append(r);
  w->Command3_Click();
  EXPECT_EQ(w->txtSent->text(), QStringLiteral("DX Frequency in kHz K1ABC"));
  // Done with "Listening" hidden opens first.
  w->Command2_Click();
  EXPECT_FALSE(port->isOpen());
  w->cmdDone_Click();
  EXPECT_TRUE(port->isOpen());
  EXPECT_FALSE(readFile("PackSpot.txt").isEmpty());
}

TEST_F(SpotWindow, UnloadWithAndWithoutAnAgwStation) {
  PacketSpotfrm* w = load();
  w->List1->setCurrentRow(2);
  svc.unload(SideWindow::PacketSpotfrm);
  EXPECT_TRUE(agw.calls.isEmpty());
  EXPECT_EQ(svc.spotWindow(), nullptr);
  w = load();
  w->List1->setCurrentRow(3);
  w->ConnectedCall = QStringLiteral("K1TTT-5");
  svc.unload(SideWindow::PacketSpotfrm);
  EXPECT_EQ(agw.calls, (QStringList{QStringLiteral("d K1TTT-5"), QStringLiteral("close")}));
}

TEST_F(SpotWindow, TheCloseBoxDestroysTheWindowAndTheNextShowingReopensTheLink) {
  writeFile("PackSpot.txt", kTncFile);
  svc.showSpottingSetup();
  PacketSpotfrm* w = svc.spotWindow();
  FakeSerialPort* first = port;
  EXPECT_TRUE(first->isOpen());
  QPointer<PacketSpotfrm> watch(w);
  w->close();
  EXPECT_EQ(svc.spotWindow(), nullptr);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(watch.isNull());
  svc.showSpottingSetup();
  ASSERT_TRUE(svc.spotWindow());
  EXPECT_NE(port, first);
  EXPECT_TRUE(port->isOpen());
}

}  // namespace
}  // namespace fd
