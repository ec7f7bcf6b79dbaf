#pragma once
// The automatic backups: the fifteen-minute schedule, LogBkUp.dat and the
// names of its copies. The window (backup_window) only holds the choices and
// the timer; what is decided and written lives here.
#include <QDateTime>
#include <QString>

#include "core/state.h"
#include "platform/safefile.h"

namespace fd::backup {

// One minute's tick of the schedule: true when a backup is due now. The check
// is put off (the minutes go on counting) while CW is waiting or being keyed,
// so a rewrite never lands inside a keyed message.
bool checkDue(ProgramState& s);

// LogBkUp.dat, each line as fdlog.dat holds it. Nothing for an empty log.
QString backupPath(const ProgramState& s);
FileResult writeBackup(const ProgramState& s);

QString yearFolderName(const QDate& localDate);              // "BAK2024"
QString permanentName(const QDateTime& local);               // "06221830.dat"
// The other folder's copy: the box's text + "/LogBkUp.dat"; a relative
// folder is taken from the program folder. Empty for an empty box.
QString otherDestination(const ProgramState& s, const QString& folderText);

}  // namespace fd::backup
