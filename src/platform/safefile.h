#pragma once
// Whole-file rewrites go through QSaveFile, so a failed or interrupted write
// leaves the old file whole. Appends are flushed and synced before returning.
#include <QByteArray>
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

FileResult writeWholeFile(const QString& path, const QByteArray& bytes);
// Appends bytes; when the file does not end in a line end, CR LF is written first.
FileResult appendLine(const QString& path, const QByteArray& line);
// Reads a whole file; nullopt-like: ok false when it cannot be opened.
FileResult readWholeFile(const QString& path, QByteArray& out);

}  // namespace fd
