// Lines from the Zell RTTY program: cut into lines the same in whatever pieces
// the bytes arrive, never more than one line held, each message an item and a
// text that a line sent again carries unchanged.
#include <cstddef>
#include <cstdint>

#include "fuzzsupport.h"
#include "keying/zelllines.h"

using namespace fd;

namespace {
QList<QByteArray> feedInPieces(const QByteArray& bytes, qsizetype piece) {
  zell::LineSplitter split;
  QList<QByteArray> lines;
  for (qsizetype from = 0; from < bytes.size(); from += piece) {
    split.feed(bytes.mid(from, piece), [&](const QByteArray& line) {
      lines.append(line);
      return true;
    });
    fuzz::check(split.held() <= zell::kMaxLine + 1, "no more than one line is held");
  }
  return lines;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::ensureApp();
  if (size == 0) return 0;
  const qsizetype piece = data[0] % 64 + 1;
  const QByteArray bytes(reinterpret_cast<const char*>(data) + 1, static_cast<qsizetype>(size - 1));

  const QList<QByteArray> whole = feedInPieces(bytes, qMax<qsizetype>(bytes.size(), 1));
  fuzz::check(feedInPieces(bytes, piece) == whole, "the pieces the bytes come in change nothing");

  QList<QByteArray> expected = bytes.split('\n');
  expected.removeLast();  // not ended yet
  expected.removeIf([](const QByteArray& l) { return l.size() > zell::kMaxLine + 1; });
  fuzz::check(whole == expected, "every ended line of at most one line's worth is taken");

  for (const QByteArray& line : whole) {
    const auto m = zell::parseLine(line);
    if (!m) continue;
    fuzz::check(!m->first.isEmpty() && !m->first.contains(u'='), "an item is a name before the first =");
    const QByteArray again = zell::formatLine(m->first, m->second);
    if (again.size() > zell::kMaxLine + 1) continue;  // a replaced byte grew the line
    QString text = m->second;
    text.remove(u'\r');
    text.remove(u'\n');
    const auto back = zell::parseLine(again.chopped(1));
    fuzz::check(back && back->first == m->first && back->second == text, "a message sent again reads the same");
  }
  return 0;
}
