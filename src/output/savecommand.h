#pragma once
// How a command that asks for a file through the save dialog begins and ends:
// the dialog through the platform's dialogs; a cancelled dialog (empty name)
// ends the command silently; a failed write beeps and shows the reason under
// "Unable to write file.", and no success message follows.
#include <QByteArray>
#include <QString>

#include "platform/safefile.h"

namespace fd {

// A filter as the windows wrote it ("ADIF Files (*.adi) | *.adi", "Log Files
// (*.dat)", "*.DAT, *.ADI") in Qt's form, each pattern in lower and upper case,
// since file names are case-sensitive here: "ADIF Files (*.adi *.ADI)".
QString qtFileFilter(const QString& filter);

// The save dialog proposing `proposedPath`; the empty text when cancelled.
// The dialog asks before an existing file is replaced.
QString askSaveFileName(const QString& proposedPath, const QString& filter);

// The end of a save-dialog command's write: true when written; otherwise a
// beep and the reason under `title`.
bool reportWrite(const FileResult& r, const QString& title = QStringLiteral("Unable to write file."));

}  // namespace fd
