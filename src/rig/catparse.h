#pragma once
// The radios' CAT answers turned into frequency (MHz, single precision) and
// mode ("CW", "PH", "AM", "FM"). Each parser takes the whole answer of one
// poll (bytes 0-255) and the values from before, and changes only what the
// answer carries whole: a cut or garbled answer leaves a value as it was.
//
// Answer shapes:
//  Kenwood/Elecraft  "FA" + 11 digits Hz + ";" and "MD" + mode digit + ";"
//  Kenwood 2         "IF" + 11 digits Hz + 16 skipped + mode digit + VFO digit ... ";"
//  FTdx9000          "FA" + 8 digits Hz + ";" and "MD0" + mode digit + ";"
//  CI-V              FE FE to from cmd data... FD; cmd 03 frequency (BCD, least
//                    significant byte first), 04 mode
//  Yaesu             5 bytes: 4 BCD bytes (100 MHz .. 10 Hz), mode code
//  older Yaesu       status blocks; frequency at fixed hex positions
//  Ten-Tec panel     'A' + 4 bytes binary Hz + CR; 'M' + mode bytes + CR
//  Orion             "@AF" Hz CR, "@RMM" digit CR
//  Pegasus           the control program's status file: MHz, mode
#include <QByteArray>
#include <QString>

namespace fd::cat {

struct RigValues {
  float freq = 0;   // RigFrequency, MHz
  QString mode;     // RigMode
  int vfo = 10;     // RigVfo (10: none read yet)
};

// The request texts whose first characters mark the answers.
struct Requests {
  QString freq;  // txtFreq
  QString mode;  // txtMode
};

// Conversions.
QString HexDigit(int n);
QString StringToHexDisplay(const QByteArray& text);  // "46 41 3B "
QByteArray HexTextToBytes(const QString& text);      // pairs at 1, 4, 7...; "" on a bad pair
QString BytesToHexText(const QByteArray& text);      // "46413B"
QString FormatBcdFrequency(const QString& digits);   // "01402500" -> "14.02500"
QString PadBcdDigits(const QString& digits);         // "0014025000" -> "14.025000"
// The first n pairs of a request at positions 1, 4, 7...; empty when the text
// is too short or a pair is not hexadecimal.
QByteArray FixedHexBytes(const QString& request, int n);

// Rounds MHz to 10 Hz, ties to even.
double round5(double mhz);

void ParseKenwoodFrequency(const QByteArray& a, const Requests& r, RigValues& v);
void ParseKenwoodMode(const QByteArray& a, const Requests& r, RigValues& v);
void ParseKenwoodIF(const QByteArray& a, const Requests& r, RigValues& v);
void ParseFTdx9000Answer(const QByteArray& a, const Requests& r, RigValues& v);
// dataBytes: 5 for Icom and the Omni VI, 4 for the Icom 735.
void ParseIcomFrequency(const QByteArray& a, int dataBytes, RigValues& v);
void ParseIcomMode(const QByteArray& a, RigValues& v);
void ParseYaesuStatus(const QByteArray& a, RigValues& v);
void ParseYaesu757Status(const QByteArray& a, RigValues& v);
void ParseYaesu890Status(const QByteArray& a, RigValues& v);
void ParseYaesu920Status(const QByteArray& a, RigValues& v);
void ParseYaesu990Status(const QByteArray& a, RigValues& v);
void ParseYaesu1000Status(const QByteArray& a, RigValues& v);
void ParseTenTecPanelFrequency(const QByteArray& a, RigValues& v);
void ParseTenTecPanelMode(const QByteArray& a, RigValues& v);
void ParseOrionFrequency(const QByteArray& a, RigValues& v);
void ParseOrionMode(const QByteArray& a, RigValues& v);
// The Pegasus control program's status file, $HOME/Pegasus/PEGASUS.OUT.
QString pegasusFolder();
void ReadPegasusStatus(RigValues& v);

// CI-V frames of an answer (the scanner): closed frames only.
struct CivFrame {
  quint8 command = 0;
  QByteArray data;
};
QList<CivFrame> civFrames(const QByteArray& a);

// "CW" or "PH" from the fixed sub-bands (edges strict); empty outside them.
QString ModeByFrequency(float mhz);

}  // namespace fd::cat
