#pragma once
// The CW keyer: Transmit keys one character on the chosen key line by the
// chosen timing method; FKeyCW turns a function key into a message with its
// wildcards; LoopThroughCWBuffer drains CWBuffer; the repeat timer, the speed
// steps and CWSetup, which opens the serial key line. No widget here: the
// settings are a plain object (CWSettings) that CWFrm's boxes edit.
//
// Waits: a unit is 1200 / S ms from the moment its line was set. Key-down
// units run no events at all. Key-up units let events run (typed keys too)
// until kYieldMarginMs before their deadline, then finish with the chosen
// method's own wait, so the method decides the edge. Nothing started from
// such an event keys a line before the current character ends: a nested
// LoopThroughCWBuffer only leaves its text in the buffer for the running drain.
#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <vector>

#include "core/mainwindow.h"
#include "core/state.h"
#include "keying/cwsettings.h"

namespace fd {

class SerialPort;

inline constexpr int kYieldMarginMs = 3;

// The counting loop of the Loop method and its calibration: one function,
// never inlined, over a volatile double, so both run the same iterations.
void countLoop(double limit);
// Under a virtual clock each counted iteration advances it by this (tests);
// given a list, each count takes the next rate and the last one stays.
void setVirtualLoopNs(double nsPerIteration);
void setVirtualLoopNs(std::vector<double> nsPerIterationByCount);
// Iterations counted since start (tests and measurements).
double loopIterationsCounted();

class CWKeyer : public QObject {
 public:
  CWKeyer(ProgramState& state, SerialPort& comm, SerialPort& commPhone);

  ProgramState& s;
  MainWindow* main = nullptr;
  CWSettings set;
  SerialPort& Comm;
  SerialPort& CommPhone;
  QString CWNumber;  // "#": nothing assigns it
  QString CWRST;     // "*": "5NN"
  QTimer tmrRepeat;

  // CWFrm's part: whether it is visible, showing it modally (CWSetup's
  // failure), and refreshing its boxes after a program change of the settings.
  std::function<bool()> setupVisible;
  std::function<void()> showSetupModal;
  std::function<void()> settingsChanged;
  // Counted up by the service at each unload of CWFrm (the main window's
  // close): CWSetup's box shows no window that went while the box was up.
  int setupUnloads = 0;
  // The WinKey keyer: WKTransmit, wk_wpm (empty until the keyer is built).
  std::function<void()> wkTransmit;
  std::function<void(int)> wkWpm;

  void Transmit(const QString& ch);
  void CWSetup();
  void FKeyCW(int& keyCode);
  void LoopThroughCWBuffer();
  void tmrRepeat_Timer();
  void UpDown1_UpClick();
  void UpDown1_DownClick();
  void Text11_Change();
  static void CheckCWKey(int& keyAscii);
  // A message with "$", "#" and "*" expanded, each in its own pass.
  QString expandWildcards(const QString& message);
  // The repeat interval from txtCWLoop: 0 <= v < 60 gives v x 1000 ms, else
  // the text becomes "0" (false).
  bool applyRepeatSeconds();
  void disableRepeat();
  // Sets LoopsPer60ms from a count of 5,000,000; false (count kept) when no
  // time elapsed.
  bool CalibrateCWLoop();

  // Stops every drain and repeat and raises the key lines; nothing keys
  // afterwards until resume().
  void stopAll();
  void resume() { stopped_ = false; }
  bool stopped() const { return stopped_; }
  // Up on every line this keyer may have keyed.
  void raiseLines();

 private:
  bool setLine(bool down);  // by the key line ticked now
  bool waitUnit(std::int64_t startNs, bool keyDown);
  bool stopped_ = false;
};

}  // namespace fd
