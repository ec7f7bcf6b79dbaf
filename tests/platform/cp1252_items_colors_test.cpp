// 8-bit text, settings-file items and colour values.
#include "platform/colors.h"
#include "platform/cp1252.h"
#include "platform/items.h"
#include "testenv.h"

namespace fd {
namespace {

TEST(FoundCp1252, EveryByteRoundTrips) {
  QByteArray all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const QString text = cp1252::decode(all);
  ASSERT_EQ(text.size(), 256);
  EXPECT_EQ(cp1252::encode(text), all);
  EXPECT_EQ(text[0x80], QChar(0x20AC));  // €
  EXPECT_EQ(text[0x92], QChar(0x2019));
  EXPECT_EQ(text[0x9F], QChar(0x0178));
  EXPECT_EQ(text[0xE9], QChar(0x00E9));
  for (int undefined : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) EXPECT_EQ(text[undefined], QChar(undefined));
}

TEST(FoundCp1252, CharactersOutsideTheTable) {
  struct Case {
    char16_t c;
    bool held;
  };
  for (const Case& c : {Case{u'A', true}, Case{0x20AC, true}, Case{0x00FF, true}, Case{0x0081, true},
                        Case{0x0080, false}, Case{0x0100, false}, Case{0x4E2D, false}, Case{0xD83D, false}}) {
    EXPECT_EQ(cp1252::canEncode(QChar(c.c)), c.held) << int(c.c);
  }
  EXPECT_EQ(cp1252::encode(QString::fromUtf8("W1\u4e2dA\u20ac")), QByteArray("W1?A\x80"));
}

TEST(FoundItems, SplitLineTable) {
  struct Case {
    const char* line;
    std::optional<QStringList> items;
  };
  const Case cases[] = {
      {"", QStringList{}},
      {"\"a,b\",\"c\"", QStringList{"a,b", "c"}},
      {"\"\",\"\"", QStringList{"", ""}},
      {"5.5", QStringList{"5.5"}},
      {"  7 , x ", QStringList{"7", "x"}},
      {"\"a\",", QStringList{"a", ""}},
      {"  \"a b\"  ,1", QStringList{"a b", "1"}},  // blanks before a quote are skipped
      {"\"a\"junk,\"b\"", QStringList{"a", "b"}},
      {"\"open", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const auto got = items::splitLine(QString::fromLatin1(c.line));
    ASSERT_EQ(got.has_value(), c.items.has_value());
    if (!got) continue;
    QStringList texts;
    for (const auto& i : *got) texts << i.text;
    EXPECT_EQ(texts, *c.items);
  }
  const items::Split cut = items::splitItems(QStringLiteral("\"a\",\"b"));
  EXPECT_TRUE(cut.lastOpen);
  ASSERT_EQ(cut.items.size(), 2);
  EXPECT_EQ(cut.items[1].text, QStringLiteral("b"));
}

TEST(FoundItems, NumbersAndLines) {
  EXPECT_EQ(items::number(5.5), QStringLiteral("5.5"));
  EXPECT_EQ(items::number(-3.5), QStringLiteral("-3.5"));
  EXPECT_EQ(items::number(static_cast<double>(5.33f)), QStringLiteral("5.33"));
  EXPECT_EQ(items::number(255.0), QStringLiteral("255"));
  EXPECT_EQ(items::number(qint64{-7}), QStringLiteral("-7"));
  EXPECT_EQ(items::toDouble(QStringLiteral(" -4.5 ")), -4.5);
  EXPECT_FALSE(items::toDouble(QStringLiteral("4,5")));
  EXPECT_FALSE(items::toDouble(QStringLiteral("inf")));
  EXPECT_EQ(items::toInteger(QStringLiteral("255")), 255);
  EXPECT_FALSE(items::toInteger(QStringLiteral("2.5")));
  EXPECT_FALSE(items::toInteger(QStringLiteral("")));
  EXPECT_EQ(items::lines(QStringLiteral("a\r\nb\nc\r\n")), (QStringList{"a", "b", "c"}));
  EXPECT_EQ(items::lines(QStringLiteral("a\r\n\r\n")), (QStringList{"a", ""}));
}

TEST(FoundColors, ValueAndQColor) {
  EXPECT_EQ(kLightYellow, 0xC0FFFF);
  EXPECT_EQ(kStatusNormal, 0xC0C000);
  EXPECT_EQ(toQColor(kLightYellow), QColor(255, 255, 192));
  EXPECT_EQ(toQColor(128), QColor(128, 0, 0));
  for (ColorValue v : {0, 255, 65280, 16711680, 12632256, 16777215}) EXPECT_EQ(fromQColor(toQColor(v)), v);
}

}  // namespace
}  // namespace fd
