#pragma once
// Text files of the log output: built in memory, encoded with our 8-bit table,
// every line ended by CR LF, and written whole (a failed write leaves the old
// file as it was, or no file). The column writer lays out line-by-line text:
// a number stands between blanks, "up to column n" pads with blanks.
#include <QByteArray>
#include <QString>

#include "platform/safefile.h"

namespace fd {

// The calls that lay out line-by-line text. The file writer counts columns in
// characters; a printer counts them in average character widths.
class LineSink {
 public:
  virtual ~LineSink() = default;
  virtual void text(const QString& t) = 0;
  // One blank before (a minus sign in its place when negative), the shortest
  // decimal form, one blank after.
  virtual void number(double v) = 0;
  // Pads until the next character stands in column n (counted from 1); when
  // the line already reaches column n, a line end comes first.
  virtual void column(int n) = 0;
  virtual void lineEnd() = 0;
};

// The text of a number as line-by-line text writes it.
QString columnNumber(double v);

// Line-by-line text in memory; bytes() gives the file's contents.
class TextWriter : public LineSink {
 public:
  void text(const QString& t) override;
  void number(double v) override;
  void column(int n) override;
  void lineEnd() override;
  // A whole line: the text, then CR LF.
  void line(const QString& t = QString()) {
    text(t);
    lineEnd();
  }

  const QString& content() const { return out_; }
  QByteArray bytes() const;
  FileResult writeTo(const QString& path) const;

 private:
  QString out_;
  int lineStart_ = 0;  // index in out_ where the current line begins
};

}  // namespace fd
