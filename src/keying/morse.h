#pragma once
// The Morse table: each character's pattern of units, "1" key down and "0"
// key up for one unit. A dot is "1", a dash "111", elements are parted by one
// "0" and every character ends with "000" (the gap between characters). The
// space is a word space of eight units up (eleven with the previous
// character's three). "!" keys nothing (it enters the contact).
#include <QChar>
#include <QHash>
#include <QString>

namespace fd::morse {

// 48 keys: space, A-Z, 0-9, . , ? / - [ ] ; \ = !
const QHash<QChar, QString>& MorseTable();
// The pattern of one character, looked up upper-cased; empty when none.
QString pattern(const QString& ch);
// A space's pattern with the word-space adjustment N: N > 0 adds one unit
// per whole number from 1 to N; N < 0 cuts to the first 8 + N units, rounded
// half to even, never below nothing.
QString wordSpace(double adjust);
// One unit at S words per minute, in ms (fifty units to the word).
inline double unitMs(double wpm) { return 1200.0 / wpm; }

// Decodes units back to text ("1" and "0" per unit); a word gap of seven or
// more units gives a blank. For tests and measurements.
QString decode(const QString& units);

}  // namespace fd::morse
