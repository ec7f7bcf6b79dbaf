#pragma once
// fdlog.dat: one contact a line, ten fields each between double quotes,
// separated by single commas, CR LF at the end, Windows-1252 text:
//   "call","class","section","yyyy/mm/dd","hh:mm:ss","band","mode","initials","freq",""
// The tenth field is always written empty and dropped when read.
#include <QByteArray>
#include <QList>
#include <optional>

#include "log/qsolog.h"
#include "platform/safefile.h"

namespace fd::logfile {

// A field as a line holds it: with no double quote, CR or LF, since nothing
// is escaped and a line end ends the record.
QString lineField(const QString& text);
void cleanRecord(QsoRecord& r);              // every field as a line holds it
QByteArray formatLine(const QsoRecord& r);   // the fields as a line holds them, with its CR LF
// A line of nine or ten items is a record (the tenth may be missing or cut
// short); anything else is not.
std::optional<QsoRecord> parseLine(QByteArrayView line);

struct LoadResult {
  bool opened = false;
  QString error;
  std::vector<QsoRecord> records;
  QList<QByteArray> kept;     // lines not taken, in file order (without line ends)
  int unreadable = 0;         // lines that are not records
  int overLimit = 0;          // records past the 14000th
};

LoadResult load(const QString& path);
// Appends one record; writes CR LF first when the file does not end in one.
FileResult append(const QString& path, const QsoRecord& r);
// Rewrites the whole file: the records, then the kept lines unchanged.
FileResult rewrite(const QString& path, const std::vector<QsoRecord>& records, const QList<QByteArray>& kept);

}  // namespace fd::logfile
