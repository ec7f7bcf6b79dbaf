#include "platform/cp1252.h"

#include <array>

namespace fd::cp1252 {
namespace {

// 0x80..0x9F; the undefined 0x81, 0x8D, 0x8F, 0x90, 0x9D keep their own value.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

int toByte(char16_t u) {
  if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return u;
  for (int i = 0; i < 32; ++i)
    if (kHigh[i] == u) return 0x80 + i;
  return -1;
}

}  // namespace

char16_t toUnicode(unsigned char byte) {
  if (byte >= 0x80 && byte < 0xA0) return kHigh[byte - 0x80];
  return byte;
}

QString decode(const QByteArray& bytes) {
  QString out;
  out.resize(bytes.size());
  QChar* d = out.data();
  for (qsizetype i = 0; i < bytes.size(); ++i)
    d[i] = QChar(toUnicode(static_cast<unsigned char>(bytes[i])));
  return out;
}

QByteArray encode(const QString& text) {
  QByteArray out;
  out.resize(text.size());
  char* d = out.data();
  const QChar* s = text.constData();
  for (qsizetype i = 0; i < text.size(); ++i) {
    const int b = toByte(s[i].unicode());
    d[i] = static_cast<char>(b < 0 ? '?' : b);
  }
  return out;
}

bool canEncode(QChar c) { return toByte(c.unicode()) >= 0; }

}  // namespace fd::cp1252
