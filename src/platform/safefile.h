#pragma once
// Whole-file rewrites go through a temporary file beside the target and a
// rename, so a failed or interrupted write leaves the old file whole. Appends
// are flushed and synced before returning.
#include <QByteArray>
#include <QDateTime>
#include <QSet>
#include <QString>

namespace fd {

struct FileResult {
  bool ok = true;
  QString error;  // the reason, for the operator
};

// A write past the file-size limit (ulimit -f) must fail as a full disk does,
// not kill the program with SIGXFSZ and leave a cut line. Every write below
// makes sure the signal is ignored; main() does it at start.
void ignoreFileSizeSignal();

// Writes BYTES to ".<name>.saving-XXXXXX" (six random letters or digits)
// beside the target (a link is followed to the file it names), made new with
// mode 0600 and then given the target's mode (a new target: what the umask
// gives), fsyncs it and renames it over the target, then fsyncs the folder.
// A target that may not be written is refused and never written in place;
// any failure before the rename removes the temporary file and leaves the old
// one as it was.
FileResult writeWholeFile(const QString& path, const QByteArray& bytes);
// Appends bytes; when the file does not end in a line end, CR LF is written first.
FileResult appendLine(const QString& path, const QByteArray& line);
// Copies a whole file: the source read, the destination written through a
// temporary file beside it and a rename, fsynced, so a failed copy leaves the
// previous destination whole. A destination that is the source itself (by
// canonical path) is already done: nothing is written.
FileResult copyWholeFile(const QString& from, const QString& to);
// True when both names lead to one existing file.
bool sameFile(const QString& a, const QString& b);
// Reads a whole file; nullopt-like: ok false when it cannot be opened.
FileResult readWholeFile(const QString& path, QByteArray& out);

// A whole-file write killed before its rename leaves its temporary file
// ".<name>.saving-XXXXXX" beside the target. Removes, with one listing of
// FOLDER, the plain files (never a link) so named after one of NAMES whose
// last change lies more than a minute before nowUtc (another running copy's
// write in progress is younger); returns how many went. Any other name stays:
// "fdlog.dat.backup" may be an operator's copy of the log.
int removeStaleTemporaries(const QString& folder, const QSet<QString>& names, const QDateTime& nowUtc);

}  // namespace fd
