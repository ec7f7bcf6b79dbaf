#pragma once
// The voice keyer's settings and their file wave2.txt (program folder): 13
// lines ended by CR LF: lines 1-9 the wave files of F1-F9 (trimmed, quoted),
// 10 the PTT serial port (quoted), 11 the PTT line bare (0 RTS, 1 DTR,
// 2 parallel; an empty line when none is ticked), 12 the repeat pause in
// seconds (quoted), 13 the parallel port address (quoted).
#include <QByteArray>
#include <QString>
#include <array>
#include <optional>

namespace fd {

struct WaveSettings {
  enum Line { RTS = 0, DTR = 1, Parallel = 2, None = -1 };
  std::array<QString, 9> Text;      // Text1..Text9 (index 0 = F1)
  QString Text10 = QStringLiteral("0");
  int option = RTS;                 // Option1..Option3
  QString txtPHLoop = QStringLiteral("0");
  int repeatMs = 0;                 // tmrRepeat's interval
  QString Text11 = QStringLiteral("&H378");
};

// A box's number: decimal (C locale) or hexadecimal with the prefix "&H";
// nullopt when the text is not a number (an empty text included).
std::optional<double> boxValue(const QString& text);
// Seconds to whole milliseconds, halves to even; nullopt when out of range.
std::optional<int> secondsToMs(double seconds);
// The repeat pause a loop box gives when it loses the focus: a number v with
// 0 <= v < 60 keeps its text; anything else becomes "0". *beep is set when
// the conversion itself failed.
int checkLoopBox(QString& text, bool* beep = nullptr);

QByteArray writeWave2(const WaveSettings& s);
// Reads the file's bytes into s item by item; false when the reading stopped
// before the 13th line (the items read so far keep their new values).
bool readWave2(const QByteArray& bytes, WaveSettings& s);

// Whether a settings file can carry the text (no double quote, no line end,
// nothing outside the 8-bit table).
bool fitsWave2(const QString& text);

}  // namespace fd
