#include "output/backup.h"

#include <QDir>

#include "log/logfile.h"

namespace fd::backup {

bool checkDue(ProgramState& s) {
  s.BackupMinutes += 1;
  if (!s.CWBuffer.isEmpty() || s.CWSending == 1) return false;
  if (s.BackupMinutes <= 14) return false;
  s.BackupMinutes = 0;
  if (!(s.LastBackupCount < static_cast<float>(s.QsoCount()))) return false;
  return s.QsoCount() >= 1;
}

QString backupPath(const ProgramState& s) { return s.progFile(QStringLiteral("LogBkUp.dat")); }

FileResult writeBackup(const ProgramState& s) {
  if (s.QsoCount() < 1) return {};
  QByteArray out;
  out.reserve(static_cast<qsizetype>(s.QsoCount()) * 64);
  for (const QsoRecord& r : s.Log.records()) out += logfile::formatLine(r);
  return writeWholeFile(backupPath(s), out);
}

QString yearFolderName(const QDate& localDate) { return QStringLiteral("BAK") + localDate.toString(QStringLiteral("yyyy")); }

QString permanentName(const QDateTime& local) { return local.toString(QStringLiteral("MMddHHmm")) + QStringLiteral(".dat"); }

QString otherDestination(const ProgramState& s, const QString& folderText) {
  if (folderText.trimmed().isEmpty()) return {};  // never the file system's root
  return QDir(s.ProgDir).absoluteFilePath(folderText + QStringLiteral("/LogBkUp.dat"));
}

}  // namespace fd::backup
