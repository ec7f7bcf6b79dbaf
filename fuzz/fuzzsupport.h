#pragma once
// Shared by the fuzz targets: a scratch file in memory-backed storage for the
// readers that take a path, and a hard stop for a broken invariant.
#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace fuzz {

inline QString scratchPath(const char* name) {
  const char* dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  return QString::fromLatin1("%1/fdfuzz-%2-%3").arg(QLatin1String(dir)).arg(getpid()).arg(QLatin1String(name));
}

inline QString writeScratch(const char* name, const QByteArray& bytes) {
  const QString path = scratchPath(name);
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) std::abort();
  return path;
}

[[noreturn]] inline void broken(const char* what) {
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

inline void check(bool ok, const char* what) {
  if (!ok) broken(what);
}

// Qt wants an application object for some text codecs and file engines.
inline void ensureApp() {
  static int argc = 1;
  static char name[] = "fuzz";
  static char* argv[] = {name, nullptr};
  if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
}

}  // namespace fuzz
