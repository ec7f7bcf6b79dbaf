// The append as one step: the whole file read, checked, de-duplicated and
// ordered into a staging copy of the log; fdlog.dat is rewritten only then,
// and the log reloaded from it. Any failure leaves memory and file as they were.
#include <QDir>
#include <QFileInfo>

#include "log/logfile.h"
#include "output/adif.h"
#include "output/combine.h"
#include "output/combine_window.h"
#include "output/outputservice.h"
#include "platform/forms.h"
#include "platform/platform.h"

namespace fd {

namespace {
bool refuse(const QString& title, const QString& text) {
  dialogs().beep();
  dialogs().message(title, text, Buttons::Ok);
  return false;
}
}  // namespace

bool OutputService::appendFile(const QString& typed, bool eliminateDuplicates) {
  s.BackupMinutes = 0;
  s.LastBackupCount = 0;
  const QString name = typed.trimmed();
  const bool isAdif = name.size() > 4 && name.right(4).compare(QLatin1String(".adi"), Qt::CaseInsensitive) == 0;
  const auto unreadable = [&](const QString& more = QString()) {
    return isAdif ? refuse(QStringLiteral("Invalid ADIF File Format."),
                           QStringLiteral("There was an error reading the ADIF file format."))
                  : refuse(QStringLiteral("Append Error"), QStringLiteral("Unable to read file.") + more);
  };
  if (name.isEmpty()) return unreadable();

  // The live log by any name: relative, "./fdlog.dat", a link.
  const QString logPath = s.progFile(QStringLiteral("fdlog.dat"));
  const QString path = QDir(s.ProgDir).absoluteFilePath(name);
  if (sameFile(path, logPath) || QDir::cleanPath(path) == QDir::cleanPath(logPath))
    return refuse(QStringLiteral("Invalid Request!"), QStringLiteral("You can not append the same file onto itself."));

  QByteArray bytes;
  if (!QFileInfo(path).isFile() || !readWholeFile(path, bytes).ok) return unreadable();

  std::vector<QsoRecord> incoming;
  int leftOut = 0;
  bool lastCut = false;
  if (isAdif) {
    adif::File file = adif::readFile(bytes);
    if (file.records.empty()) return unreadable();
    incoming = std::move(file.records);
    leftOut = file.withoutCall;
    lastCut = file.lastRecordCut;
  } else {
    combine::DataFile file = combine::readDataFile(bytes);
    if (file.records.empty()) return unreadable(QStringLiteral("\r\n\r\nThe file holds no contact."));
    incoming = std::move(file.records);
    leftOut = file.leftOut;
  }
  if (eliminateDuplicates) incoming = combine::dropDuplicates(s.Log.records(), incoming);
  if (s.QsoCount() + static_cast<qsizetype>(incoming.size()) > QsoLog::kMaxRecords)
    return refuse(QStringLiteral("Append Error"),
                  QStringLiteral("The log holds %1 contacts and the file %2 new ones: together more than the limit "
                                 "of %3 contacts.  Nothing was appended.")
                      .arg(s.QsoCount())
                      .arg(incoming.size())
                      .arg(QsoLog::kMaxRecords));

  const FileResult r = logfile::rewrite(logPath, combine::merge(s.Log.records(), incoming), s.KeptLines);
  if (!r.ok)
    return refuse(QStringLiteral("Append Error"),
                  QStringLiteral("Unable to write ") + logPath + QStringLiteral(": ") + r.error +
                      QStringLiteral("\r\n\r\nNothing was appended."));
  if (main) main->mnuopen2();
  QStringList told;
  if (leftOut > 0)
    told << (isAdif ? QStringLiteral("%1 record(s) of the file had no call and were left out.")
                    : QStringLiteral("%1 line(s) of the file were not contacts and were left out."))
                .arg(leftOut);
  if (lastCut)
    told << QStringLiteral("The last record of the file has no <eor> (the file may be cut short) and was left out.");
  if (!told.isEmpty())
    dialogs().message(QStringLiteral("Append Data or Restore From Backup"), told.join(QStringLiteral("  ")),
                      Buttons::Ok);
  return true;
}

void OutputService::showCombine() {
  Form3 form(s, [this](const QString& name, bool dedupe) { return appendFile(name, dedupe); },
             main ? main->window() : nullptr);
  showModal(&form);
}

}  // namespace fd
