#include <gtest/gtest.h>

#include "keying/codepractice.h"

namespace fd {
namespace {

TEST(CodePractice, TableAndGroups) {
  EXPECT_EQ(CodePracticeChars().size(), 42);  // entries 1..41
  EXPECT_EQ(CodePracticeChars().at(27), QStringLiteral("0"));
  EXPECT_EQ(CodePracticeChars().at(41), QStringLiteral("-"));
  std::mt19937 rng(7);
  QString count = "10", length = "5";
  const QString all = *generatePractice(count, length, false, rng);
  ASSERT_EQ(all.size(), 60);
  for (int i = 0; i < 60; ++i) EXPECT_EQ(all[i] == u' ', (i + 1) % 6 == 0) << i;
  const QString letters = *generatePractice(count, length, true, rng);
  for (QChar c : letters) EXPECT_TRUE(c == u' ' || (c >= u'A' && c <= u'Z'));
}

TEST(CodePractice, CountsLengthsAndTheCap) {
  std::mt19937 rng(1);
  const struct { const char* count; const char* length; std::optional<int> size; const char* countAfter; } cases[] = {
      {"0", "5", 0, "0"},      {"3", "0", 3, "3"},       {"abc", "1", 20, "10"}, {"-2", "5", 0, "-2"},
      {"2.9", "3.5", 8, "2.9"}, {"5000", "5", 30000, "5000"}, {"5001", "5", std::nullopt, "5001"},
  };
  for (const auto& c : cases) {
    QString count = c.count, length = c.length;
    const std::optional<QString> r = generatePractice(count, length, false, rng);
    EXPECT_EQ(r ? std::optional<int>(r->size()) : std::nullopt, c.size) << c.count << " x " << c.length;
    EXPECT_EQ(count, QString::fromLatin1(c.countAfter));
  }
  QString count = "3", length = "0";
  EXPECT_EQ(*generatePractice(count, length, false, rng), QStringLiteral("   "));
}

}  // namespace
}  // namespace fd
