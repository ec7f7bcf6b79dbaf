// The entry rules, the duplicate scan, the partial list and the rates, without a window.
#include "log/dupecheck.h"
#include "log/keyrules.h"
#include "log/rates.h"
#include "platform/clock.h"
#include "testenv.h"

namespace fd {
namespace {

TEST(RoadRules, KeyFilters) {
  struct Case { int in, capital, number; };
  const Case cases[] = {{'a', 'A', 0}, {'z', 'Z', 0}, {'A', 'A', 0}, {'"', 0, 0}, {'7', '7', '7'},
                        {8, 8, 8},     {13, 13, 0},   {'/', '/', 0}, {'{', '{', 0}, {0xE9, 0xE9, 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(keyrules::capital(c.in), c.capital) << c.in;
    EXPECT_EQ(keyrules::number(c.in), c.number) << c.in;
  }
}

TEST(RoadRules, CallCarry) {
  struct Case { const char* call; char key; int caret; bool carries; };
  const Case cases[] = {
      {"W1A", '2', 3, true},     {"W1AW", '2', 4, true},   {"W1", '2', 2, false},   // too short
      {"WA1", '2', 3, false},    {"W1AW/", '3', 5, false}, {"W1A/W", '3', 5, false}, // ends in digit; "/" inside
      {"/W1AW", '2', 5, true},   {"W1AW", '2', 2, false},  {"W1AW", 'A', 4, false},  // first char unexamined; caret; letter
      {"KA1ABC", '1', 6, true},  {"WAAW", '2', 4, false},  {"W1 AW", '2', 5, false}, // no digit; blank
  };
  for (const Case& c : cases)
    EXPECT_EQ(keyrules::callCarriesKey(c.call, c.key, c.caret), c.carries) << c.call << " + " << c.key;
}

TEST(RoadRules, ClassCarryDesignatorDelta) {
  EXPECT_TRUE(keyrules::classCarriesKey("2A", 'e'));
  EXPECT_TRUE(keyrules::classCarriesKey("2A", 'E'));
  EXPECT_FALSE(keyrules::classCarriesKey("10", 'A'));
  EXPECT_FALSE(keyrules::classCarriesKey("", 'A'));   // empty counts as ending in "1"
  EXPECT_FALSE(keyrules::classCarriesKey("2A", '3'));

  for (const char* ok : {"2A", "1E", "10A", "3F", ""}) EXPECT_TRUE(keyrules::validClassDesignator(ok)) << ok;
  for (const char* bad : {"A", "2", "A2", "2/"}) EXPECT_FALSE(keyrules::validClassDesignator(bad)) << bad;

  EXPECT_TRUE(keyrules::deltaPair("1D", "2D"));
  EXPECT_FALSE(keyrules::deltaPair("1D", "2A"));
  EXPECT_FALSE(keyrules::deltaPair("", "2D"));
}

TEST(RoadRules, PostContestKeysAndColon) {
  EXPECT_EQ(keyrules::dateKey('/'), '/');
  EXPECT_EQ(keyrules::dateKey(':'), 0);
  EXPECT_EQ(keyrules::timeKey(':'), ':');
  EXPECT_EQ(keyrules::timeKey('/'), 0);
  for (int k : {'a', ' ', '-'}) EXPECT_EQ(keyrules::dateKey(k) | keyrules::timeKey(k), 0);
  const std::pair<const char*, const char*> colon[] = {
      {"1805", "18:05"}, {"934", "9:34"}, {"18055", "18055"}, {"18:05", "18:05"}, {"12", "12"}, {"9a4", "9a4"}};
  for (auto [in, out] : colon) EXPECT_EQ(keyrules::colonTime(in), out) << in;
}

QsoLog logOf(std::initializer_list<QsoRecord> recs) {
  QsoLog log;
  for (const QsoRecord& r : recs) log.append(r);
  return log;
}

TEST(RoadRules, DupeScanStopsAtFirstDuplicateAndFillsFromEarliest) {
  const QsoLog log = logOf({{"W1AW", "", "", "2024/06/22", "18:00:00", "20", "CW", "", ""},
                            {"W1AW", "3A", "ENY", "2024/06/22", "18:01:00", "15", "CW", "", ""},
                            {"w1aw", "1A", "CT", "2024/06/22", "18:02:00", "40", "PH", "", ""},
                            {"W1AW", "2B", "NNJ", "2024/06/22", "18:03:00", "40", "PH", "", ""},
                            {"W1AW", "4C", "VT", "2024/06/22", "18:04:00", "40", "PH", "", ""}});
  const auto found = dupecheck::scan(log, "W1AW", "40", "PH");
  EXPECT_EQ(found.duplicate, 4);
  EXPECT_EQ(found.matches, (QList<int>{1, 2, 4}));   // lower case never matches
  EXPECT_EQ(found.fillClass, "3A");                   // the first record has none
  EXPECT_EQ(found.fillSection, "ENY");
  EXPECT_EQ(dupecheck::message(log.rec(4), 4), "Dupe: W1AW 2B NNJ 2024/06/22 18:03:00 ON 40 PH  Rec# 4");

  const auto other = dupecheck::scan(log, "W1AW", "80", "PH");
  EXPECT_EQ(other.duplicate, 0);
  EXPECT_EQ(other.matches.size(), 4);
  EXPECT_EQ(dupecheck::scan(QsoLog{}, "W1AW", "40", "PH").matches.size(), 0);
}

TEST(RoadRules, PartialListNewestFirstCutPast120) {
  QsoLog log;
  for (int i = 1; i <= 30; ++i)
    log.append({QString("K1A%1").arg(i, 2, 10, QChar('0')), "1A", "CT", "2024/06/22", "18:00:00", "40", "PH", "", ""});
  log.append({"K1AZZ", "1A", "CT", "2024/06/22", "18:00:00", "20", "PH", "", ""});
  // Each entry is 5 characters and two blanks: the 18th passes 120 and ends the scan.
  QString expected;
  for (int i = 18; i >= 1; --i) expected += QString("K1A%1  ").arg(i, 2, 10, QChar('0'));
  EXPECT_EQ(dupecheck::partialList(log, "K", "40", "PH"), expected);
  EXPECT_EQ(dupecheck::partialList(log, "K1A2", "40", "PH"), "K1A29  K1A28  K1A27  K1A26  K1A25  K1A24  K1A23  K1A22  K1A21  K1A20  ");
  EXPECT_EQ(dupecheck::partialList(log, "K1AZ", "40", "PH"), "");       // other band
  EXPECT_EQ(dupecheck::partialList(log, "K1A010", "40", "PH"), "");     // longer than every call

  for (const char* ok : {"W1A", "W/A", "WA1", "K9/"}) EXPECT_TRUE(dupecheck::callFormOk(ok)) << ok;
  EXPECT_FALSE(dupecheck::callFormOk("WAB"));
}

QsoRecord stamped(const QDateTime& t) {
  return {"K1X", "1A", "CT", t.date().toString("yyyy/MM/dd"), t.time().toString("HH:mm:ss"), "40", "PH", "", ""};
}

TEST(RoadRules, RatesStrictLimitsAndScanOrder) {
  const QDateTime now = plainDateTime(QDate(2024, 6, 22), QTime(19, 0, 0));
  auto ago = [&](int secs) { return stamped(now.addSecs(-secs)); };
  struct Case { std::vector<int> ages; int hour, twenty; };
  const Case cases[] = {
      {{}, 0, 0},
      {{1199}, 1, 1},
      {{1200}, 1, 0},
      {{3599}, 1, 0},
      {{3600}, 0, 0},
      {{-600}, 1, 1},               // stamped in the future
      {{100, 3600, 50}, 1, 1},      // ends at the hour-old record, even with newer ones before it
  };
  for (const Case& c : cases) {
    QsoLog log;
    for (int a : c.ages) log.append(ago(a));
    const rates::Counts got = rates::count(log, now);
    EXPECT_EQ(got.hour, c.hour) << c.ages.size();
    EXPECT_EQ(got.twenty, c.twenty) << c.ages.size();
  }
  // Twelve in the last 20 minutes and 30 in the 40 before.
  QsoLog busy;
  for (int i = 0; i < 30; ++i) busy.append(ago(3500 - i * 60));
  for (int i = 0; i < 12; ++i) busy.append(ago(1100 - i * 60));
  EXPECT_EQ(rates::count(busy, now).hour, 42);
  EXPECT_EQ(rates::count(busy, now).twenty, 12);
}

TEST(RoadRules, RatesPassOverUnreadableRecords) {
  const QDateTime now = plainDateTime(QDate(2024, 6, 22), QTime(19, 0, 0));
  QsoLog log;
  log.append(stamped(now.addSecs(-60)));
  QsoRecord broken = stamped(now.addSecs(-30));
  broken.Time = "";
  log.append(broken);
  QsoRecord junk = stamped(now.addSecs(-20));
  junk.Date = "22-06-2024";
  log.append(junk);
  log.append(stamped(now.addSecs(-10)));
  EXPECT_EQ(rates::count(log, now).hour, 2);
  EXPECT_EQ(rates::count(log, now).twenty, 2);
}

}  // namespace
}  // namespace fd
