#pragma once
// " Rig Interface Setup": the radio family, the serial settings of its CAT
// link, the read requests and the poll rate; it holds the link and the poll
// timer and keeps its choices in "RigCntrl.txt". Created on first use and
// kept for the whole run; Done only hides it and polling goes on.
#include <QDialog>
#include <QList>
#include <QTimer>
#include <functional>
#include <memory>

#include "core/mainwindow.h"
#include "core/scaling.h"
#include "core/state.h"
#include "platform/keys.h"
#include "platform/serial.h"
#include "rig/bandplan.h"
#include "rig/rigpoll.h"
#include "rig/rigsettings.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QFrame;

namespace fd {

class RigControlfrm : public QDialog {
  Q_OBJECT
 public:
  RigControlfrm(ProgramState& state, MainWindow* main, QWidget* parent = nullptr);
  ~RigControlfrm() override;

  TwipLayout layout;
  QListWidget* List1 = nullptr;
  KeyBox *txtFreq = nullptr, *txtMode = nullptr;
  QCheckBox *chkConvToHex = nullptr, *ChkConvHex = nullptr, *chkFrequency = nullptr;
  QGroupBox *Frame1 = nullptr, *fraBaud = nullptr, *fraParity = nullptr, *fraData = nullptr, *fraStop = nullptr,
            *fraPort = nullptr, *fraPower = nullptr, *fraPoll = nullptr;
  QRadioButton *OptRig = nullptr, *OptFreq = nullptr, *OptDont = nullptr;
  QList<QRadioButton*> optBaud;  // optBaud12 .. optBaud560
  QRadioButton *optParityOdd = nullptr, *optParityNone = nullptr, *optParityEven = nullptr;
  QRadioButton *optData7 = nullptr, *optData8 = nullptr, *optStop1 = nullptr, *optStop2 = nullptr;
  QList<QRadioButton*> optComm;  // index i: port i + 1
  QRadioButton *optPowerNone = nullptr, *optPowerRTS = nullptr, *optPowerDTR = nullptr;
  QRadioButton *optPollFast = nullptr, *optPollMed = nullptr, *optPollSlow = nullptr, *optReallySlow = nullptr;
  QPushButton *Command1 = nullptr, *Command2 = nullptr, *Command3 = nullptr, *Command4 = nullptr, *cmdDone = nullptr;
  QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr, *Label5 = nullptr,
         *Label6 = nullptr, *Label7 = nullptr, *Label8 = nullptr, *Label9 = nullptr, *Label10 = nullptr,
         *Label11 = nullptr, *Label12 = nullptr;
  QLabel *lblFreq = nullptr, *lblMode = nullptr, *lblUnProcess = nullptr;
  QFrame* Line1 = nullptr;
  QTimer tmrGetData;
  // Runs while the port is lost: once a second, the port opened again.
  // Done and the window's hiding leave it running.
  QTimer tmrReopen;
  std::unique_ptr<SerialPort> comComm1;

  // The link's state.
  rig::RigSettings settings;
  rig::RigPoll poll;
  int SettingsLoading = 0;

  void Form_Load();
  void LoadRigSettings();
  // False (and the operator told why) when RigCntrl.txt could not be written.
  bool SaveRigSettings();
  void List1_Click();
  void OpenRigPort();
  void StartRigPolling();
  void Command1_Click();  // Test
  void Command2_Click();  // End Test
  void Command3_Click();  // Change Frequency
  void Command4_Click();  // Copy
  void cmdDone_Click();
  void Form_Unload();
  void tmrGetData_Timer();
  // One quiet try to open the lost port again; polling resumes when it opens.
  void tmrReopen_Timer();
  void modeByClicked();   // OptRig / OptFreq / OptDont

  // Radio commands (tuning). One at a time: a command that starts while
  // another waits does nothing.
  void ChangeFrequency(const float& mhz);
  void ChangeMode(const float& qChangeFrequency, QString& ModeToChangeTo);
  void LoadBandPlan();
  void WritePegasusFrequency(float f);
  void WaitWhileInputPending();
  void RigPause(float ms);
  bool commandBusy() const { return commandDepth_ > 0; }
  QList<rig::BandPlanEntry> RigBandPlan;

  bool polling() const { return tmrGetData.isActive(); }
  bool portLost() const { return tmrReopen.isActive(); }
  const rig::RigFamily* currentFamily() const;

 private:
  void applyFamily(const rig::RigFamily& f);
  bool openLinkPort(bool again);
  void awaitFirstAnswer();
  void linkLost();
  void endTries();  // the lost port no longer tried; the main window told
  bool sendCommand(const QByteArray& bytes, QString& why);
  void changeMode(float f, QString& mode);
  ProgramState& s_;
  MainWindow* main_;
  int commandDepth_ = 0;
  bool dropWaiting_ = false;  // a frequency change runs: waits drop what is waiting
  bool linkOn_ = false;  // between a successful Test and End Test
  bool unloaded_ = false;
};

}  // namespace fd
