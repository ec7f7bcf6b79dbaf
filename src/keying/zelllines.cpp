#include "keying/zelllines.h"

#include <QFile>

namespace fd::zell {

QString socketPath(const QString& name) {
  if (name.startsWith(u'/')) return name;
  QByteArray dir = qgetenv("TMPDIR");
  if (!dir.isEmpty()) {
    while (dir.endsWith('/')) dir.chop(1);
    const QByteArray path = dir + '/' + QFile::encodeName(name);
    if (path.size() <= kMaxSocketPath) return QFile::decodeName(path);
  }
  // A deep $TMPDIR: the socket would not fit, so it goes where it does, quietly.
  return QStringLiteral("/tmp/") + name;
}

std::optional<std::pair<QString, QString>> parseLine(QByteArray line) {
  if (line.endsWith('\r')) line.chop(1);
  if (line.size() > kMaxLine) return std::nullopt;
  const qsizetype eq = line.indexOf('=');
  if (eq <= 0) return std::nullopt;
  return std::make_pair(QString::fromUtf8(line.left(eq)), QString::fromUtf8(line.mid(eq + 1)));
}

QByteArray formatLine(const QString& item, const QString& text) {
  QString clean = text;
  clean.remove(u'\r');
  clean.remove(u'\n');
  return item.toUtf8() + '=' + clean.toUtf8() + '\n';
}

void LineSplitter::feed(const QByteArray& chunk, const std::function<bool(const QByteArray& line)>& take) {
  qsizetype from = 0;
  while (from < chunk.size()) {
    const qsizetype lf = chunk.indexOf('\n', from);
    const QByteArray piece = chunk.mid(from, lf < 0 ? -1 : lf - from);
    from = lf < 0 ? chunk.size() : lf + 1;
    if (!skipping_) partial_ += piece;
    // Keep no more than one line's worth: a longer line is dropped whole.
    if (partial_.size() > kMaxLine + 1) {
      partial_.clear();
      skipping_ = true;
    }
    if (lf < 0) break;
    const QByteArray line = partial_;
    const bool skipped = skipping_;
    partial_.clear();
    skipping_ = false;
    if (skipped) continue;
    if (!take(line)) return;
  }
}

void LineSplitter::clear() {
  partial_.clear();
  skipping_ = false;
}

}  // namespace fd::zell
