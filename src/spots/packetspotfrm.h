#pragma once
// " DX Spotting Setup": how DX spots reach the program (no link, a packet TNC
// on a serial port, a telnet cluster, the AGW packet engine), the monitor of
// received text, the send box, and "PackSpot.txt". Created on first showing,
// then kept until the main window closes or its close box is used; "&Done"
// only hides it and the link goes on.
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

#include "core/mainwindow.h"
#include "core/scaling.h"
#include "core/state.h"
#include "platform/keys.h"
#include "platform/serial.h"
#include "platform/widgets.h"
#include "spots/agwseam.h"
#include "spots/spotintake.h"
#include "spots/spotsettings.h"
#include "spots/telnetsocket.h"

namespace fd {

class SpotService;

class PacketSpotfrm : public QWidget, public KeyPreview {
  Q_OBJECT
 public:
  PacketSpotfrm(SpotService& service, ProgramState& state, MainWindow* main, QWidget* parent = nullptr);
  ~PacketSpotfrm() override;

  // ---- controls ----
  TwipLayout layout;
  ClickLabel *Label1 = nullptr, *Label4 = nullptr, *Label6 = nullptr, *Label2 = nullptr;
  ClickLabel *Label7 = nullptr, *Label3 = nullptr;
  QListWidget* List1 = nullptr;
  QPushButton *Command1 = nullptr, *Command2 = nullptr, *Command3 = nullptr, *cmdDone = nullptr;
  QPlainTextEdit* txtUnProcessed = nullptr;
  KeyBox *txtSent = nullptr, *txtHex = nullptr, *txtTelnetHost = nullptr, *txtTelnetPort = nullptr;
  QGroupBox* Frame2 = nullptr;
  QRadioButton *OptBand = nullptr, *OptList = nullptr;
  QCheckBox *chkDX = nullptr, *chkConvToHex = nullptr;
  QGroupBox *fraBaud = nullptr, *fraParity = nullptr, *fraData = nullptr, *fraStop = nullptr;
  QGroupBox *fraPort = nullptr, *fraPower = nullptr, *Frame1 = nullptr;
  std::array<QRadioButton*, 6> optBaud{};   // 1.2k .. 19.2k
  std::array<QRadioButton*, 3> optParity{}; // Odd, None, Even
  std::array<QRadioButton*, 2> optData{};   // 7, 8
  std::array<QRadioButton*, 2> optStop{};   // 1, 2
  std::array<QRadioButton*, 10> optComm{};  // ports 1..10
  std::array<QRadioButton*, 3> optPower{};  // None, RTS, DTR
  std::array<QRadioButton*, 4> optHandshake{};  // Option1..Option4
  QTimer Timer1;

  // ---- links ----
  std::unique_ptr<SerialPort> comComm1;
  std::unique_ptr<TelnetSocket> Winsock1;
  AgwSeam* agw = nullptr;  // the AGW engine link

  // ---- window state ----
  QString Transport, Baud, Parity, DataBits, StopBits, PortSettings, PowerLine;
  int PortNumber = 0, Handshake = 0;
  int SettingsLoading = 0;
  QString ConnectedCall;
  float BandMapTicks = 0;
  SpotIntake intake;  // the monitor's raw text, RxBuffer, chkDX's filter

  // ---- procedures ----
  void Form_Load();
  void LoadSpotSettings();
  // False (and the operator told why) when PackSpot.txt could not be written.
  bool SaveSpotSettings();
  void List1_Click();
  void Command1_Click();
  void Command2_Click();
  void Command3_Click();
  void cmdDone_Click();
  void Form_Activate();
  void Form_KeyDown(int& keyCode, int shift);
  void Form_Unload();
  void SetCommSettings();
  void TrimMonitor() { intake.TrimMonitor(); }
  void EnableNone();
  void EnableTNC();
  void EnableTelnet();
  void EnableAGW();
  void ShowSpotHelp();
  void optionClick();  // the option buttons' one handler

  // The TNC link and the timer.
  void OpenCommPort();
  void ReadCommPort();
  void Timer1_Timer();
  void txtSent_KeyPress(int& keyAscii);
  void PostSpot(const QString& freq, const QString& call, const QString& line);

  // The telnet link.
  void OpenTelnet();
  void Winsock1_DataArrival();
  void Winsock1_Error(int number);
  void SendTelnet();
  void Winsock1_ClosedByPeer();

  // The AGW engine link (spotagw.cpp).
  void OpenAGW();
  void SendAGW();
  void txtSent_Change();
  void PollAGW();
  void handleAgwFrame(const agw::Frame& f);

  // Helpers.
  bool transportIs(const QString& name) const { return Transport.compare(name, Qt::CaseInsensitive) == 0; }
  QString listText() const;
  bool listening() const { return !Label4->isHidden(); }
  const QString& monitorText() const { return intake.monitor(); }
  void appendMonitor(const QString& text) { intake.appendMonitor(text); }
  void syncMonitor();  // the widget shows the raw text now

  // Called when the operator closes the window with its close box.
  std::function<void()> onClosedByUser;

  void previewKeyDown(int& keyCode, int& shift) override { Form_KeyDown(keyCode, shift); }
  void previewKeyPress(int&) override {}

 protected:
  void closeEvent(QCloseEvent* e) override;
  void changeEvent(QEvent* e) override;

 private:
  void buildControls();
  void monitorChanged();
  SpotService& sv_;
  ProgramState& s_;
  MainWindow* main_;
  KeyPreviewFilter previewFilter_{this};
  bool mirrorPending_ = false;
  bool inSentChange_ = false;
  std::unique_ptr<AgwEngine> ownAgw_;
  SpotIntake::AgwLine agwPartial_;  // the connected station's unended line
  bool unloaded_ = false;
};

}  // namespace fd
