#include "keying/morse.h"

#include <QStringList>
#include <cmath>

namespace fd::morse {
namespace {

// Dots and dashes: the International code, then the prosigns of the keyer.
struct Sign {
  char key;
  const char* code;
};
constexpr Sign kSigns[] = {
    {'A', ".-"},     {'B', "-..."},   {'C', "-.-."},   {'D', "-.."},    {'E', "."},      {'F', "..-."},
    {'G', "--."},    {'H', "...."},   {'I', ".."},     {'J', ".---"},   {'K', "-.-"},    {'L', ".-.."},
    {'M', "--"},     {'N', "-."},     {'O', "---"},    {'P', ".--."},   {'Q', "--.-"},   {'R', ".-."},
    {'S', "..."},    {'T', "-"},      {'U', "..-"},    {'V', "...-"},   {'W', ".--"},    {'X', "-..-"},
    {'Y', "-.--"},   {'Z', "--.."},   {'0', "-----"},  {'1', ".----"},  {'2', "..---"},  {'3', "...--"},
    {'4', "....-"},  {'5', "....."},  {'6', "-...."},  {'7', "--..."},  {'8', "---.."},  {'9', "----."},
    {'.', ".-.-.-"}, {',', "--..--"}, {'?', "..--.."}, {'/', "-..-."},
    {'-', "-...-"},      // BT
    {'=', "-...-"},      // BT, the same sign
    {'[', ".-.-."},      // AR
    {']', "...-.-"},     // SK
    {';', "-.--."},      // KN
    {'\\', "-.-..-.."},  // CL, the two letters run together
};

QString build(const char* code) {
  QString p;
  for (const char* c = code; *c; ++c) {
    if (c != code) p += u'0';
    p += *c == '.' ? QStringLiteral("1") : QStringLiteral("111");
  }
  return p + QStringLiteral("000");
}

}  // namespace

const QHash<QChar, QString>& MorseTable() {
  static const QHash<QChar, QString> table = [] {
    QHash<QChar, QString> t;
    for (const Sign& s : kSigns) t.insert(QChar(s.key), build(s.code));
    t.insert(QChar(u' '), QStringLiteral("00000000"));
    t.insert(QChar(u'!'), QString());
    return t;
  }();
  return table;
}

QString pattern(const QString& ch) {
  if (ch.size() != 1) return {};
  return MorseTable().value(ch.toUpper().at(0));
}

QString wordSpace(double n) {
  QString p = MorseTable().value(QChar(u' '));
  if (n > 0) {
    for (double i = 1; i <= n; ++i) p += u'0';
  } else if (n < 0) {
    const double keep = std::nearbyint(8 + n);  // half to even
    p = keep <= 0 ? QString() : p.left(static_cast<int>(keep));
  }
  return p;
}

QString decode(const QString& units) {
  // Inverse table from element codes; "-" wins over "=" for BT.
  static const QHash<QString, QChar> inverse = [] {
    QHash<QString, QChar> inv;
    for (const Sign& s : kSigns)
      if (!inv.contains(build(s.code))) inv.insert(build(s.code), QChar(s.key));
    return inv;
  }();
  QString out;
  int i = 0;
  const int n = units.size();
  while (i < n) {
    // Key-up units beyond the three that end a character: a word space.
    int gap = 0;
    while (i < n && units[i] == u'0') { ++gap; ++i; }
    if (gap >= 2) out += u' ';
    if (i >= n) break;
    QString sign;
    for (;;) {
      int on = 0;
      while (i < n && units[i] == u'1') { ++on; ++i; }
      sign += on >= 3 ? QStringLiteral("111") : QStringLiteral("1");
      int off = 0;
      const int mark = i;
      while (i < n && units[i] == u'0') { ++off; ++i; }
      if (off == 1 && i < n) { sign += u'0'; continue; }
      i = mark;  // the character's gap is read as part of it
      break;
    }
    sign += QStringLiteral("000");
    out += inverse.value(sign, QChar(u'?'));
    // Consume the three units that end the character.
    for (int k = 0; k < 3 && i < n && units[i] == u'0'; ++k) ++i;
  }
  return out;
}

}  // namespace fd::morse
