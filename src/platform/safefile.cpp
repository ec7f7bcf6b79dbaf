#include "platform/safefile.h"

#include <QFile>
#include <QSaveFile>
#include <unistd.h>

namespace fd {

FileResult writeWholeFile(const QString& path, const QByteArray& bytes) {
  QSaveFile f(path);
  if (!f.open(QIODevice::WriteOnly))
    return {false, f.errorString()};
  if (f.write(bytes) != bytes.size()) {
    const QString err = f.errorString();
    f.cancelWriting();
    return {false, err};
  }
  if (!f.commit()) return {false, f.errorString()};
  return {};
}

FileResult appendLine(const QString& path, const QByteArray& line) {
  QFile f(path);
  if (!f.open(QIODevice::ReadWrite)) return {false, f.errorString()};
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
  if (f.write(out) != out.size() || !f.flush()) {
    const QString err = f.errorString();
    f.resize(before);
    return {false, err};
  }
  if (::fsync(f.handle()) != 0) return {false, QStringLiteral("the data could not be written to disk")};
  return {};
}

FileResult readWholeFile(const QString& path, QByteArray& out) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {false, f.errorString()};
  out = f.readAll();
  return {};
}

}  // namespace fd
