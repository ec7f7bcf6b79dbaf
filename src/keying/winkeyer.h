#pragma once
// The WinKey keyer's settings and procedures without the window: WK.txt,
// opening with its status texts, WKSendSettings with the leave checks of the
// setting boxes, WKTransmit, Close, Stop and the two tests. The boxes are
// texts here; the setup window edits them.
//
// WK.txt is read and written by winkeysettings.
#include <QByteArray>
#include <QString>
#include <functional>

#include "core/mainwindow.h"
#include "core/state.h"
#include "keying/winkey.h"
#include "keying/winkeysettings.h"

namespace fd {

class SerialPort;

// The status text of a wk_open result; empty for a result with none.
QString wkOpenStatusText(int result);

class WinKeyer {
 public:
  WinKeyer(ProgramState& state, SerialPort& port, SerialPort& comm, SerialPort& commPhone);

  ProgramState& s;
  WinKey wk;
  WKBoxes box;
  int WinKeyPort = 0, WinKeyPinCfg = 6, WinKeyMode = 0;
  QString lblOpenStatus = QStringLiteral("Closed"), lblVersion = QStringLiteral("Version #");
  bool loaded = false;
  // CWFrm's speed box; the program folder for the port map.
  std::function<QString()> cwSpeed;
  QString programFolder;

  // The load step without the window: defaults, WK.txt, the CW speed, the port box.
  void load(const QString& fieldDayDir);
  void ensureLoaded(const QString& fieldDayDir) { if (!loaded) load(fieldDayDir); }
  QByteArray wkTxtBytes() const;
  // Done: false with the reason when the file cannot be written (the old one stays).
  bool writeWkTxt(const QString& fieldDayDir, QString* error);

  void cmdOpenWinkey_Click();
  void WKSendSettings();
  void txtWKWPM_LostFocus();
  void txtWeight_LostFocus();
  void txtLeadIn_LostFocus();
  void txtTail_LostFocus();
  void txtRatio_LostFocus();
  void txtWKComPort_LostFocus();
  void setPinCfg(int v);
  void setMode(int v);
  void WKTransmit();
  void cmdCloseWinkey_Click();
  void cmdStop_Click();
  void Command3_Click();  // Test
  void Command1_Click();  // Buffer Test
  // Every loop stopped, then 0A and 00 03, then the port closed.
  void release();
  // The open keyer's port went away: closed as by Close, the waiting text
  // dropped. False (nothing done) when no keyer was open or the program is
  // ending.
  bool portWentAway();

 private:
  SerialPort& port_;
  SerialPort& comm_;
  SerialPort& commPhone_;
  bool transmitting_ = false;
  bool stopped_ = false;
};

}  // namespace fd
