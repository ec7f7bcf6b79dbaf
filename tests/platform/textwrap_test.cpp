#include <gtest/gtest.h>

#include "platform/textwrap.h"

namespace fd {
namespace {

// One unit a character: the breaks can be read off the texts.
TEST(TextWrap, BlanksFirstThenAnInnerSlashThenWhereTheWidthEnds) {
  const struct {
    const char* text;
    int width;
    QStringList lines;
  } cases[] = {
      {"saved in /tmp/x", 10, {"saved in", "/tmp/x"}},          // a path that fits a line stays whole
      {"in /aaaa/bbbb/cccc end", 10, {"in /aaaa/", "bbbb/cccc", "end"}},  // wider: after an inner "/"
      {"/abcdefghijkl", 5, {"/abcd", "efghi", "jkl"}},           // no inner "/": where the width ends
      {"a /abcdefgh", 4, {"a", "/abc", "defg", "h"}},            // never "a /" alone
      {"in //x/yyyyyy", 8, {"in //x/", "yyyyyy"}},
      {"a  b", 10, {"a  b"}},                                     // blanks inside a line stay
      {"fits", 4, {"fits"}},
      {"", 4, {""}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const QStringList got = wrapAtBlanksAndSlashes(QString::fromLatin1(c.text), c.width,
                                                   [](const QString& s) { return static_cast<int>(s.size()); });
    EXPECT_EQ(got.join(u'|').toStdString(), c.lines.join(u'|').toStdString());
  }
}

}  // namespace
}  // namespace fd
