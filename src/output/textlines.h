#pragma once
// Line-by-line text as a list of lines, for the page model and the tests.
#include <QStringList>

#include "output/textwriter.h"

namespace fd {

// The lines of the writer's text without their CR LF; an unfinished last line counts.
inline QStringList textLines(const TextWriter& w) {
  QStringList l = w.content().split(QStringLiteral("\r\n"));
  if (!l.isEmpty() && l.last().isEmpty()) l.removeLast();
  return l;
}

}  // namespace fd
