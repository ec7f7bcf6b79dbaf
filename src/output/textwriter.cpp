#include "output/textwriter.h"

#include "platform/cp1252.h"
#include "platform/numtext.h"

namespace fd {

QString columnNumber(double v) {
  const QString digits = numtext::fromDouble(v < 0 ? -v : v);
  return (v < 0 ? QStringLiteral("-") : QStringLiteral(" ")) + digits + u' ';
}

void TextWriter::text(const QString& t) { out_ += t; }

void TextWriter::number(double v) { out_ += columnNumber(v); }

void TextWriter::column(int n) {
  if (n < 1) n = 1;
  const int next = static_cast<int>(out_.size()) - lineStart_ + 1;  // column of the next character
  if (next > n) lineEnd();
  const int pad = n - (static_cast<int>(out_.size()) - lineStart_ + 1);
  if (pad > 0) out_ += QString(pad, u' ');
}

void TextWriter::lineEnd() {
  out_ += QStringLiteral("\r\n");
  lineStart_ = static_cast<int>(out_.size());
}

QByteArray TextWriter::bytes() const { return cp1252::encode(out_); }

FileResult TextWriter::writeTo(const QString& path) const { return writeWholeFile(path, bytes()); }

}  // namespace fd
