#include "platform/textwrap.h"

namespace fd {

namespace {

// The longest head of word that fits in room beside what the line holds:
// ending in a "/" that is not the word's first character, or, with
// anyCharacter, any head of at least one character. 0: none fits.
qsizetype headThatFits(const QString& word, const std::function<bool(const QString&)>& fits, bool anyCharacter) {
  // A head is never narrower than a shorter one: halving finds the longest
  // that fits, so a path of thousands of characters is not measured at each "/".
  qsizetype longest = 0;
  for (qsizetype lo = 1, hi = word.size() - 1; lo <= hi;) {
    const qsizetype mid = lo + (hi - lo) / 2;
    if (fits(word.left(mid))) longest = mid, lo = mid + 1;
    else hi = mid - 1;
  }
  for (qsizetype n = longest; n >= 1; --n) {
    if (!anyCharacter && (n < 2 || word[n - 1] != u'/')) continue;
    if (fits(word.left(n))) return n;
  }
  return 0;
}

}  // namespace

QStringList wrapAtBlanksAndSlashes(const QString& text, int width, const std::function<int(const QString&)>& advance) {
  QStringList lines;
  QString line;
  bool open = false;  // the line holds a word
  auto fitsAlone = [&](const QString& s) { return advance(s) <= width; };
  for (QString word : text.split(u' ')) {
    if (open && advance(line + u' ' + word) <= width) {
      line += u' ' + word;
      continue;
    }
    if (open) {
      // A word too wide for any line starts here with the head that fits.
      if (!fitsAlone(word)) {
        const QString lead = line + u' ';
        if (const qsizetype n = headThatFits(word, [&](const QString& h) { return fitsAlone(lead + h); }, false)) {
          line = lead + word.left(n);
          word = word.mid(n);
        }
      }
      lines << line;
    }
    while (!fitsAlone(word) && word.size() > 1) {
      qsizetype n = headThatFits(word, fitsAlone, false);
      if (!n) n = std::max<qsizetype>(1, headThatFits(word, fitsAlone, true));
      lines << word.left(n);
      word = word.mid(n);
    }
    line = word;
    open = true;
  }
  if (open) lines << line;
  return lines;
}

}  // namespace fd
