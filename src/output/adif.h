#pragma once
// ADIF, as this program writes and reads it. A field is "<" name ":" length
// [":" type] ">" followed by exactly length characters (one byte each in our
// 8-bit table); the header ends at <EOH>, each record at <eor>. The export
// writes the tags in the mixed case below, four lines of tags per record:
//   <Call:4>W1AW <Qso_Date:8:d>20240622 <Band:3>20M <Mode:2>CW
//   <Tx_Pwr:3>100 <Time_On:6>180102 <DXCC:3>291 <State:2>CT
//   <ARRL_SECT:2>CT <CLASS:2>2A
//   <Freq:6>14.025 <VARIK_FDInitials:2>JD <Cont:2>NA <Comment:22>ARRL Field Day Contest
//   <eor>
// A line-ending item that is left out joins its line to the next.
#include <QByteArray>
#include <QDate>
#include <QString>
#include <vector>

#include "log/qsolog.h"

namespace fd::adif {

// Section to US state code; PR and VI have none; any other section is its own.
QString sectionState(const QString& section);
// DXCC entity of a contact, 0 for none.
int dxcc(const QString& call, const QString& section);
// The state item: only for the USA, Hawaii and Alaska.
QString state(int dxccNumber, const QString& section);
// A stored time as six digits ("18:01" -> "180100", "18:01:02" -> "180102").
QString timeDigits(const QString& stored);
// The ADIF band name of a stored band; empty for none (and for SAT, which is
// written as the propagation mode instead).
QString bandName(const QString& stored);
// The mode written: PH becomes the phone designation, the rest upper-cased.
QString exportMode(const QString& stored, const QString& phoneDesignation);

struct ExportTexts {
  QString power, comment, phone;  // phone: already upper-cased
};

// "Varik Software Field Day Log 1.0" from the caption.
QString programTitle(const QString& caption);
// The whole file: seven header lines, then the records.
QByteArray exportFile(const std::vector<QsoRecord>& records, const ExportTexts& texts, const QString& caption,
                      const QDate& today);

// --- Reading (adifread.cpp)

// A band item read back to this program's designator ("20M" -> "20",
// "70CM" -> "70", "13CM" -> "2.3", "SATM" -> "SAT"); anything else as given.
QString bandFromName(const QString& value);
// The band of a frequency in MHz (text, C locale); empty outside every band.
QString bandFromFrequency(const QString& mhz);
// Whether a band designator has one of the ranges bandFromFrequency reads.
bool frequencyTableHas(const QString& band);
// Every record of a file that has a call, converted to the log's fields,
// and how many records were left out for want of a call (a record with no
// field at all, such as "<eor><eor>", is not counted). Fields after the last
// <eor> are a last record cut short, left out too.
struct File {
  std::vector<QsoRecord> records;
  int withoutCall = 0;
  bool lastRecordCut = false;
};
File readFile(const QByteArray& bytes);
// readFile's records alone.
std::vector<QsoRecord> readRecords(const QByteArray& bytes);

}  // namespace fd::adif
