#include "log/logbook.h"

#include "log/logfile.h"
#include "platform/platform.h"

namespace fd {

void LogBook::showTotals() {
  if (view_) view_->showTotals(s_.CWCount, s_.DigCount, s_.PhCount, s_.score());
}

void LogBook::countRecord(const QsoRecord& r) {
  if (r.Mode == QLatin1String("CW")) ++s_.CWCount;
  else if (r.Mode == QLatin1String("DIG")) ++s_.DigCount;
  else if (r.Mode == QLatin1String("PH")) ++s_.PhCount;
  const int row = sectionRow(r.Section);
  if (row > 0 && row <= s_.SecTotal) {
    if (++s_.SecWorked[static_cast<size_t>(row)] == 1 && view_) view_->paintSection(row, s_.WorkedColor);
  }
}

bool LogBook::mnuopen2() {
  s_.Log.clear();
  s_.CWCount = s_.DigCount = s_.PhCount = 0;
  s_.SecWorked.fill(0);
  for (int i = 1; i <= s_.SecTotal; ++i)
    if (view_) view_->paintSection(i, s_.RemainingColor);

  logfile::LoadResult loaded = logfile::load(path());
  if (!loaded.opened) {
    s_.KeptLines.clear();
    dialogs().message(QStringLiteral("File Error"), QStringLiteral("Error opening file."), Buttons::Ok);
    showTotals();
    if (view_) { view_->fillList(); view_->timeStats(); }
    return false;
  }
  for (const QsoRecord& r : loaded.records) countRecord(r);
  s_.Log.records() = std::move(loaded.records);
  s_.KeptLines = std::move(loaded.kept);

  // Lines that are not records are kept and written back; the operator hears
  // of them once, and again only when their number changes.
  if (loaded.unreadable != s_.KeptLinesReported) {
    s_.KeptLinesReported = loaded.unreadable;
    if (loaded.unreadable > 0)
      dialogs().message(QStringLiteral("File Error"),
                        (loaded.unreadable == 1
                             ? QStringLiteral("1 line of fdlog.dat could not be read.")
                             : QStringLiteral("%1 lines of fdlog.dat could not be read.").arg(loaded.unreadable)) +
                            QStringLiteral(" They are kept in the file unchanged."),
                        Buttons::Ok);
  }
  if (loaded.overLimit != s_.OverLimitReported) {
    s_.OverLimitReported = loaded.overLimit;
    if (loaded.overLimit > 0)
      dialogs().message(QStringLiteral("File Error"),
                        QStringLiteral("Only the first %1 contacts were loaded; %2 more are kept in fdlog.dat unread.")
                            .arg(QsoLog::kMaxRecords).arg(loaded.overLimit),
                        Buttons::Ok);
  }
  showTotals();
  if (view_) {
    view_->fillList();
    view_->timeStats();
  }
  return true;
}

void LogBook::NewLog() {
  dialogs().beep();
  const QString answer = dialogs().input(
      QStringLiteral("WARNING - Your existing log file will be ERASED!"),
      QStringLiteral("Are you sure that you want to start a new log file?  This function will ERASE the existing log file!"
                     "\r\n\r\nTo verify that you want to start a new log file, please type: YES"),
      QString());
  if (answer.toUpper() != QLatin1String("YES")) return;
  const FileResult r = writeWholeFile(path(), QByteArray());
  if (!r.ok) {
    dialogs().message(QStringLiteral("File Error"),
                      QStringLiteral("The log file %1 could not be emptied: %2").arg(path(), r.error), Buttons::Ok);
    return;
  }
  s_.LastBackupCount = 0;
  s_.BackupMinutes = 0;
  s_.Log.clear();
  s_.CWCount = s_.DigCount = s_.PhCount = 0;
  s_.KeptLines.clear();
  mnuopen2();
}

FileResult LogBook::appendRecord(const QsoRecord& r) {
  if (!s_.Log.append(r))
    return {false, QStringLiteral("the log already holds %1 contacts, the most it can hold").arg(QsoLog::kMaxRecords)};
  FileResult written = appendLast();
  if (!written.ok) s_.Log.removeLast();  // never kept in memory as saved when the file lacks it
  return written;
}

FileResult LogBook::appendLast() {
  if (s_.QsoCount() == 0) return {false, QStringLiteral("no record")};
  return logfile::append(path(), s_.Log.rec(s_.QsoCount()));
}

FileResult LogBook::rewrite() {
  const FileResult r = logfile::rewrite(path(), s_.Log.records(), s_.KeptLines);
  if (!r.ok)
    dialogs().message(QStringLiteral("File Error"),
                      QStringLiteral("The log file %1 could not be rewritten: %2\r\n\r\nThe file on disk is unchanged.")
                          .arg(path(), r.error),
                      Buttons::Ok);
  return r;
}

}  // namespace fd
