#pragma once
// The CW keyer's settings: what the boxes of CWFrm hold, in a plain object
// that the window's boxes edit and the sender reads at every unit. Names are
// the boxes' names. cw.txt stores them: eighteen CR LF lines, texts between
// double quotes with nothing escaped, lines 15 (KeyingType) and 17 (Check1)
// bare; the timing choice and the loop count live in the registry.
#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

namespace fd {

enum class CWTiming { Timer, Sleep, Loop };

struct CWSettings {
  // Text[1]..Text[9] F1..F9, Text[12] F10, Text[13] F11; Text[10] serial
  // port, Text[11] WPM, Text[14] parallel base address.
  std::array<QString, 15> Text{};
  QString txtSpace = QStringLiteral("0");
  QString txtCWLoop = QStringLiteral("0");
  int Check1 = 1;
  CWTiming timing = CWTiming::Timer;
  double LoopsPer60ms = 0;
  int repeatMs = 0;  // tmrRepeat's interval; 0 = no repeat

  CWSettings() {
    Text[10] = QStringLiteral("0");
    Text[11] = QStringLiteral("13");
    Text[14] = QStringLiteral("&H378");
  }
};

// "Numeric": the whole text reads as a number (sign, digits, point, exponent).
std::optional<double> numericValue(const QString& text);
// Whole-number conversion of a fraction: half to the even neighbour.
double roundHalfEven(double v);

// The file's bytes for the settings and the key line.
QByteArray cwTxtBytes(const CWSettings& s, int keyingType);

// The start-up restore: lines are placed in order until the first fault
// (missing line, wrong kind, a value the timer refuses); what was placed
// stays. keyingType is set when line 15 was read; complete says every line
// was read, so the key-line option is ticked afterwards.
struct CWRestore {
  int linesPlaced = 0;
  bool complete = false;
  std::optional<int> keyingType;
};
CWRestore restoreCwTxt(const QByteArray& bytes, CWSettings& s);

// The registry text of the timing choice, and back ("Timer" for anything
// else, compared exactly).
QString timingName(CWTiming t);
std::optional<CWTiming> timingFromName(const QString& name);

// Characters a box stored in cw.txt refuses: the double quote (the file has
// no escape for it) and what the 8-bit table cannot hold.
bool refusedInCwText(QChar c);

}  // namespace fd
