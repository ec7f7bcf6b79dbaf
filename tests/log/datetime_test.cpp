// The program's one date and time parser: the forms it takes, and what it
// turns away (out of range, too long, stray characters).
#include "log/datetime.h"

#include <gtest/gtest.h>

namespace fd {
namespace {

TEST(DateTimeParse, TakesItsFormsAndNothingElse) {
  struct Row {
    const char* text;
    const char* date;  // as yyyy-MM-dd, "" when no date
    const char* time;  // as HH:mm:ss, "" when no time
    const char* bare;  // the time with bare digits allowed
  };
  const Row rows[] = {
      {"2024/06/22", "2024-06-22", "", ""},
      {" 2024/6/2 ", "2024-06-02", "", ""},
      {"6/22/2024", "2024-06-22", "", ""},
      {"12/31/2024", "2024-12-31", "", ""},
      {"2024/02/30", "", "", ""},
      {"02024/06/22", "", "", ""},
      {"2024/06/22x", "", "", ""},
      {"x2024/06/22", "", "", ""},
      {"18:05:30", "", "18:05:30", "18:05:30"},
      {" 9:07 ", "", "09:07:00", "09:07:00"},
      {"18:05:301", "", "", ""},
      {"24:00", "", "", ""},
      {"1805", "", "", "18:05:00"},
      {"934", "", "", "09:34:00"},
      {"18051", "", "", ""},
      {"", "", "", ""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.text);
    const QString text = QString::fromLatin1(r.text);
    const auto d = datetime::parseDate(text);
    EXPECT_EQ(d ? d->toString(u"yyyy-MM-dd") : QString(), QString::fromLatin1(r.date));
    const auto t = datetime::parseTime(text);
    EXPECT_EQ(t ? t->toString(u"HH:mm:ss") : QString(), QString::fromLatin1(r.time));
    const auto b = datetime::parseTime(text, true);
    EXPECT_EQ(b ? b->toString(u"HH:mm:ss") : QString(), QString::fromLatin1(r.bare));
  }
}

}  // namespace
}  // namespace fd
