// mnuArchive_Click: a copy of the live log under a name the operator chooses.
#include <QDir>

#include "core/sharedprefs.h"
#include "output/outputservice.h"
#include "output/savecommand.h"
#include "platform/platform.h"

namespace fd {

void OutputService::mnuArchive_Click() {
  Dialogs& d = dialogs();
  d.message(QStringLiteral("Archive Information"),
            QStringLiteral("This function is used to create a permanent copy of your currently open log file.  To "
                           "open your log file at a later date, click File > Combine or Restore from Backup."),
            Buttons::Ok);
  const QString proposed = s.FieldDayDir + u'/' + CallToFileStem(s.MyCall) +
                           clock().localNow().date().toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(".dat");
  const QString name = askSaveFileName(proposed, QStringLiteral("Log Files (*.dat)"));
  if (name.isEmpty()) return;
  const QString live = s.progFile(QStringLiteral("fdlog.dat"));
  FileResult r;
  // The live log is never replaced by a copy of itself.
  if (sameFile(live, name) || QDir::cleanPath(QDir(s.ProgDir).absoluteFilePath(name)) == QDir::cleanPath(live))
    r = {false, QStringLiteral("The archive cannot be the open log file itself: choose another name.")};
  else
    r = copyWholeFile(live, name);
  if (!r.ok) d.message(QStringLiteral("Error Archiving Log"), r.error, Buttons::Ok);
}

}  // namespace fd
