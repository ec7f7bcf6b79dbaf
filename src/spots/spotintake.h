#pragma once
// The received text of the spotting links, before any window: the monitor's
// raw text (CR LF are two characters; every length, cut and search runs on
// it, the window only mirrors it), the serial link's line splitter with its
// duplicate test, the telnet link's line assembly and the AGW engine's
// frame text.
#include <QByteArray>
#include <QString>
#include <functional>

#include "platform/agwframe.h"

namespace fd {

class SpotIntake {
 public:
  static constexpr int kMaxPartialLine = 4096;

  // The monitor txtUnProcessed.
  const QString& monitor() const { return monitor_; }
  void setMonitor(const QString& text);
  void appendMonitor(const QString& text);  // no trim
  // Over 10000 characters: the last 9000 stay.
  void TrimMonitor();

  // chkDX: only spot lines are shown.
  bool dxOnly = false;

  // Serial (and AGW) text: RxBuffer starts as one line feed and always
  // begins with the line feed that closed the last complete line.
  QString RxBuffer = QStringLiteral("\n");
  void receiveSerial(const QString& chunk);  // ReadCommPort's step 2
  void ProcessReceivedLines();

  // Telnet text: shown raw as it arrives, spots posted line by line.
  void receiveTelnet(const QString& chunk);
  void dropTelnetPartial() { telnetPartial_.clear(); }
  const QString& telnetPartial() const { return telnetPartial_; }

  // The connected station's line that has not ended yet: held back while it
  // may still be a spot line, else already shown and shown on as it comes.
  struct AgwLine {
    QString held;
    bool shown = false;
    void clear() {
      held.clear();
      shown = false;
    }
  };
  // One AGW frame as the poll takes it: shown, its spot lines posted, the
  // connected station followed. connectedCall and line are the link's state;
  // the window beeps and sets its caption on the event returned.
  enum class AgwEvent { None, Connected, Disconnected };
  AgwEvent receiveAgw(const agw::Frame& f, QString& connectedCall, AgwLine& line);

  // PostSpot(freq, call, line) of the window.
  std::function<void(const QString& freq, const QString& call, const QString& line)> post;
  // The monitor text changed (the window mirrors it).
  std::function<void()> monitorChanged;
  // Brackets a burst handled in one pass (the window redraws once at the end).
  std::function<void(bool begin)> burst;

  // True when line occurs, letter case ignored, in the monitor from its
  // length less 800 on, counted from 1: its last 801 characters (its whole
  // text while shorter).
  bool seenRecently(const QString& line) const;
  // Shows (when wanted) and posts one complete line as the serial link does.
  void handleLine(const QString& line, bool duplicateTest);

 private:
  void postLine(const QString& line);
  void receiveConnectedData(const QString& data, AgwLine& line);
  void agwSpot(const QString& line);
  void changed() { if (monitorChanged) monitorChanged(); }
  QString monitor_;
  QString telnetPartial_;
};

}  // namespace fd
