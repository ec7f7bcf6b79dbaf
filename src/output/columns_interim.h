#pragma once
// Interim: text written line by line in columns, until the shared column
// writer of the output groundwork is merged in.
#include <QString>
#include <QStringList>
#include <cstdint>

namespace fd::interim {

class Lines {
 public:
  Lines& text(const QString& t) {
    cur_ += t;
    return *this;
  }
  // Blanks until the next character stands in column n; a new line first
  // when the line already reaches column n.
  Lines& tab(int n) {
    if (cur_.size() >= n) end();
    while (cur_.size() < n - 1) cur_ += u' ';
    return *this;
  }
  Lines& at(int n, const QString& t) { return tab(n).text(t); }
  // A number: its sign position (blank or minus), digits, one blank.
  static QString num(std::int64_t v) {
    return (v < 0 ? QStringLiteral("-") : QStringLiteral(" ")) + QString::number(v < 0 ? -v : v) + u' ';
  }
  Lines& number(std::int64_t v) { return text(num(v)); }
  Lines& end() {
    lines_ << cur_;
    cur_.clear();
    return *this;
  }
  int column() const { return static_cast<int>(cur_.size()) + 1; }
  const QStringList& lines() const { return lines_; }
  QStringList take() {
    if (!cur_.isEmpty()) end();
    return std::move(lines_);
  }

 private:
  QStringList lines_;
  QString cur_;
};

}  // namespace fd::interim

#include "platform/cp1252.h"
#include "platform/safefile.h"

namespace fd::interim {

// The lines as 8-bit text, each ended by CR LF, replacing the file whole.
inline FileResult writeLines(const QString& path, const QStringList& lines) {
  QByteArray bytes;
  for (const QString& l : lines) bytes += cp1252::encode(l) + "\r\n";
  return writeWholeFile(path, bytes);
}

}  // namespace fd::interim
