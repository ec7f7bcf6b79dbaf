#include "platform/safefile.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
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

// The whole-file writer's temporary file: hidden, the target's name, a word
// no one types after it and six random letters or digits. The start-up
// clean-up removes only names of this shape.
const QString kSavingPrefix = QStringLiteral(".");
const QString kSavingMark = QStringLiteral(".saving-");
constexpr qsizetype kSavingRandom = 6;
const char kSavingChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

bool isSavingChar(QChar c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}

// The mode a newly made file gets from this process's umask (0666 less it),
// as an ordinary create would have given the target.
mode_t newFileMode() {
  unsigned mask = 0;
  bool found = false;
  if (FILE* f = std::fopen("/proc/self/status", "re")) {
    char line[256];
    while (!found && std::fgets(line, sizeof line, f)) found = std::sscanf(line, "Umask: %o", &mask) == 1;
    std::fclose(f);
  }
  if (!found) {
    mask = ::umask(022);
    ::umask(static_cast<mode_t>(mask));
  }
  return 0666 & ~static_cast<mode_t>(mask);
}

// Makes the temporary file beside TARGET (O_EXCL: never one that exists);
// its descriptor, or -1 with errno set.
int createTemporary(const QString& target, QByteArray& name) {
  const QFileInfo fi(target);
  const QString base = fi.path() + u'/' + kSavingPrefix + fi.fileName() + kSavingMark;
  for (int attempt = 0; attempt < 100; ++attempt) {
    QString random;
    for (qsizetype i = 0; i < kSavingRandom; ++i)
      random += QLatin1Char(kSavingChars[QRandomGenerator::global()->bounded(int(sizeof kSavingChars) - 1)]);
    name = QFile::encodeName(base + random);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

bool writeAll(int fd, const QByteArray& bytes) {
  const char* p = bytes.constData();
  qsizetype left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, p, static_cast<size_t>(std::min<qsizetype>(left, qsizetype(1) << 30)));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = ENOSPC;
      return false;
    }
    p += n;
    left -= n;
  }
  return true;
}

// After the rename: the folder's new entry to the disk too. Nothing the
// caller could do about a failure here; the file itself is whole.
void syncFolder(const QString& folder) {
#ifndef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
  const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
#else
  (void)folder;
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
  QFileInfo existing(path);
  if (existing.exists() && !existing.isWritable())
    return {false, QStringLiteral("Existing file %1 is not writable").arg(path)};
  if (existing.isDir()) return {false, QStringLiteral("Filename refers to a directory")};
  // A link is followed to the file it names, which is replaced; the link stays.
  QString target = path;
  if (existing.isSymLink()) {
    int depth = 128;
    while (--depth && existing.isSymLink()) existing.setFile(existing.symLinkTarget());
    if (depth > 0) target = existing.filePath();
  }
  QByteArray temporary;
  const int fd = createTemporary(target, temporary);
  if (fd < 0) return {false, systemError(errno)};
  auto fail = [&](int err) {
    ::unlink(temporary.constData());
    return FileResult{false, systemError(err)};
  };
  // Made 0600, so no one reads it half written; then the mode the target has.
  struct stat old;
  ::fchmod(fd, ::stat(QFile::encodeName(target).constData(), &old) == 0 ? (old.st_mode & 07777) : newFileMode());
  if (!writeAll(fd, bytes) || syncToDisk(fd) != 0) {
    const int err = errno;
    ::close(fd);
    return fail(err);
  }
  if (::close(fd) != 0) return fail(errno);
  if (::rename(temporary.constData(), QFile::encodeName(target).constData()) != 0) return fail(errno);
  syncFolder(QFileInfo(target).path());
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
constexpr qint64 kStaleAfterSecs = 60;

// The name of the file whose temporary file FILENAME is, or an empty string
// when FILENAME is not of the writer's shape.
QString savingTarget(const QString& fileName) {
  const qsizetype mark = fileName.size() - kSavingRandom - kSavingMark.size();
  if (mark <= kSavingPrefix.size() || !fileName.startsWith(kSavingPrefix) ||
      QStringView(fileName).mid(mark, kSavingMark.size()) != kSavingMark)
    return {};
  for (qsizetype i = mark + kSavingMark.size(); i < fileName.size(); ++i)
    if (!isSavingChar(fileName[i])) return {};
  return fileName.mid(kSavingPrefix.size(), mark - kSavingPrefix.size());
}
}  // namespace

int removeStaleTemporaries(const QString& folder, const QSet<QString>& names, const QDateTime& nowUtc) {
  if (folder.isEmpty() || names.isEmpty()) return 0;
  int removed = 0;
  QDirIterator it(folder, {kSavingPrefix + u'*' + kSavingMark + QString(kSavingRandom, u'?')},
                  QDir::Files | QDir::NoSymLinks | QDir::Hidden);
  while (it.hasNext()) {
    it.next();
    if (!names.contains(savingTarget(it.fileName()))) continue;
    const QFileInfo fi = it.fileInfo();
    if (fi.isSymLink() || !fi.isFile()) continue;  // plain files only
    const QDateTime changed = fi.lastModified().toUTC();
    if (!changed.isValid() || changed.secsTo(nowUtc) <= kStaleAfterSecs) continue;
    if (QFile::remove(it.filePath())) ++removed;
  }
  return removed;
}

}  // namespace fd
