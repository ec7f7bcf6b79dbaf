#pragma once
// The DX-cluster spot line. Columns count from 1; a field past the end of the
// line gives what is there, possibly nothing. Accepted shape (DX Spider,
// AR-Cluster, CC Cluster, skimmer nodes all send it):
//
//   DX de W3LPL:     14025.0  JA1ABC       CW 599 up 2                    1234Z
//   1-2 "DX" in any case; 16-24 frequency in kHz; 27-39 the call;
//   the record is the line less its first three characters.
//
// A node that shifts the columns (a long spotter name) gives a frequency
// field that is no number; the spot store drops such a spot.
#include <QString>
#include <optional>

namespace fd::spotline {

// Characters from..from+count-1 (1-based); safe past the end.
QString column(const QString& line, int from, int count);
// Characters from (1-based) to the end.
QString columnsFrom(const QString& line, int from);
// Blanks only, both ends (the record's trim).
QString trimBlanks(const QString& text);
// Blanks, tabs, CR and LF, both ends (the call and frequency fields).
QString trimField(const QString& text);

bool isSpotLine(const QString& line);

struct Fields {
  QString freq;    // kHz text, trimmed
  QString call;    // trimmed
};
Fields fields(const QString& line);

// The record PostSpot hands on: the line less its first three characters,
// blanks trimmed. ok false when the line is shorter than three characters.
bool record(const QString& line, QString& out);

// A plain decimal number above 0: digits with at most one point, nothing else.
bool isPlainDecimal(const QString& text);

// The MHz of a spot the store takes (freq the kHz field, call the call
// field); nullopt when the spot is refused.
std::optional<double> acceptedMhz(const QString& freq, const QString& call);

}  // namespace fd::spotline
