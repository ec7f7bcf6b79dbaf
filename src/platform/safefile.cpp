#include "platform/safefile.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

namespace fd {

namespace {
QString systemError(int err) { return QString::fromLocal8Bit(std::strerror(err)); }

// Forces the written bytes to the disk. The fuzz build writes only scratch
// files that are thrown away, thousands a second: it leaves the sync out.
int syncToDisk(int fd) {
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
  (void)fd;
  return 0;
#else
  return ::fsync(fd);
#endif
}
}  // namespace

void ignoreFileSizeSignal() {
  static const bool done = [] {
    std::signal(SIGXFSZ, SIG_IGN);
    return true;
  }();
  (void)done;
}

FileResult writeWholeFile(const QString& path, const QByteArray& bytes) {
  ignoreFileSizeSignal();
  QSaveFile f(path);
  // Unbuffered: with Qt's buffer a write that fails while commit() flushes it
  // (a full disk) still commits, and the old file is replaced by a cut one.
  if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
    return {false, f.errorString()};
  errno = 0;
  if (f.write(bytes) != bytes.size()) {
    const int err = errno;
    const QString why = f.error() != QFileDevice::NoError ? f.errorString() : systemError(err ? err : ENOSPC);
    f.cancelWriting();
    return {false, why};
  }
  if (syncToDisk(f.handle()) != 0) {
    const QString why = systemError(errno);
    f.cancelWriting();
    return {false, why};
  }
  if (!f.commit()) return {false, f.errorString()};
  return {};
}

FileResult appendLine(const QString& path, const QByteArray& line) {
  ignoreFileSizeSignal();
  QFile f(path);
  // Unbuffered, so a failed write shows here and nothing is left in a buffer
  // to be written after the line has been taken back.
  if (!f.open(QIODevice::ReadWrite | QIODevice::Unbuffered)) return {false, f.errorString()};
  const qint64 before = f.size();
  QByteArray out;
  if (before > 0) {
    f.seek(f.size() - 1);
    char last = 0;
    f.getChar(&last);
    if (last != '\n') out += "\r\n";
  }
  out += line;
  f.seek(before);
  // A part-written line is taken back, so the file never holds half a record.
  errno = 0;
  if (f.write(out) != out.size()) {
    const int err = errno;
    const QString why = f.error() != QFileDevice::NoError ? f.errorString() : systemError(err ? err : ENOSPC);
    f.resize(before);
    return {false, why};
  }
  // Some file systems report a full disk only here; the line is taken back so
  // the file never holds a record the caller was told was not saved.
  if (syncToDisk(f.handle()) != 0) {
    const QString why = systemError(errno);
    f.resize(before);
    return {false, why};
  }
  return {};
}

bool sameFile(const QString& a, const QString& b) {
  const QString ca = QFileInfo(a).canonicalFilePath();
  return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

FileResult copyWholeFile(const QString& from, const QString& to) {
  if (sameFile(from, to)) return {};
  QByteArray bytes;
  if (FileResult r = readWholeFile(from, bytes); !r.ok) return r;
  return writeWholeFile(to, bytes);
}

FileResult readWholeFile(const QString& path, QByteArray& out) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {false, f.errorString()};
  out = f.readAll();
  return {};
}

namespace {
constexpr qsizetype kTemporarySuffix = 7;  // ".XXXXXX", each X a letter
constexpr qint64 kStaleAfterSecs = 60;

bool isAsciiLetter(QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

bool hasTemporarySuffix(const QString& fileName) {
  const qsizetype at = fileName.size() - kTemporarySuffix;
  if (at < 1 || fileName[at] != u'.') return false;
  for (qsizetype i = at + 1; i < fileName.size(); ++i)
    if (!isAsciiLetter(fileName[i])) return false;
  return true;
}
}  // namespace

int removeStaleTemporaries(const QString& folder, const QSet<QString>& names, const QDateTime& nowUtc) {
  if (folder.isEmpty() || names.isEmpty()) return 0;
  int removed = 0;
  QDirIterator it(folder, {QStringLiteral("*.??????")}, QDir::Files | QDir::NoSymLinks | QDir::Hidden);
  while (it.hasNext()) {
    it.next();
    const QString name = it.fileName();
    if (!hasTemporarySuffix(name) || !names.contains(name.chopped(kTemporarySuffix))) continue;
    const QDateTime changed = it.fileInfo().lastModified().toUTC();
    if (!changed.isValid() || changed.secsTo(nowUtc) <= kStaleAfterSecs) continue;
    if (QFile::remove(it.filePath())) ++removed;
  }
  return removed;
}

}  // namespace fd
