#include "output/bandstats.h"

#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "fakemainwindow.h"
#include "output/bandstats_window.h"
#include "output/outputservice.h"
#include "testenv.h"

namespace fd {
namespace {

QsoRecord rec(const QString& band, const QString& ops = QStringLiteral("AB")) {
  QsoRecord r;
  r.Call = QStringLiteral("W1AW");
  r.Band = band;
  r.Initials = ops;
  r.Date = QStringLiteral("2024/06/22");
  r.Time = QStringLiteral("18:00:00");
  return r;
}

void add(QsoLog& log, const QString& band, int n, const QString& ops = QStringLiteral("AB")) {
  for (int i = 0; i < n; ++i) log.append(rec(band, ops));
}

// Labels in row order: counts of 160..10, V/Uhf, total; percentages of 160..10, V/Uhf.
QStringList labelTexts(const frmbndstats& w) {
  QStringList out;
  for (int i : {0, 1, 2, 3, 4, 5, 13, 12, 6, 7, 8, 9, 10, 11, 14}) out << w.lblcon[static_cast<size_t>(i)]->text();
  return out;
}

TEST(BandStats, GroupsCountsAndWholePercentages) {
  QsoLog log;
  add(log, "160", 1);
  add(log, "80", 2);
  add(log, "20", 3);
  add(log, "15", 1);
  add(log, "6", 1);
  add(log, "SAT", 1);
  add(log, "2", 1);
  const BandStats st = computeBandStats(log);
  EXPECT_EQ(st.total, 10);
  EXPECT_EQ(st.count, (std::array<int, 7>{1, 2, 0, 3, 1, 0, 3}));
  EXPECT_EQ(st.percent, (std::array<int, 7>{10, 20, 0, 30, 10, 0, 30}));
}

TEST(BandStats, EveryOtherBandTextIsVUhf) {
  for (const char* band : {"6", "2", "1.25", "70", "33", "23", "SAT", "30", "", "20m", "040"})
    EXPECT_EQ(bandGroup(QString::fromLatin1(band)), 6) << band;
  EXPECT_EQ(bandGroup("160"), 0);
  EXPECT_EQ(bandGroup("10"), 5);
}

TEST(BandStats, PercentagesCutInIntegerArithmetic) {
  struct Case { int count, total, percent; };
  const Case cases[] = {{29, 100, 29}, {57, 100, 57}, {50, 100, 50}, {1, 7, 14}, {2, 7, 28}, {3, 7, 42},
                        {4, 7, 57},    {5, 7, 71},    {6, 7, 85},    {7, 7, 100}};
  for (const Case& c : cases) {
    QsoLog log;
    add(log, "20", c.count);
    add(log, "40", c.total - c.count);
    EXPECT_EQ(computeBandStats(log).percent[3], c.percent) << c.count << " of " << c.total;
  }
}

TEST(BandStats, OperatorsByExactInitialsBusiestFirst) {
  QsoLog log;
  add(log, "20", 2, "ab");
  add(log, "20", 9, "cd");
  add(log, "20", 1, "");
  add(log, "20", 12, "AB");
  const BandStats st = computeBandStats(log);
  ASSERT_EQ(st.operators.size(), 4u);
  EXPECT_EQ(st.operators[0], std::make_pair(QStringLiteral("AB"), 12));
  EXPECT_EQ(st.operators[1], std::make_pair(QStringLiteral("cd"), 9));
  EXPECT_EQ(st.operators[2], std::make_pair(QStringLiteral("ab"), 2));
  EXPECT_EQ(st.operators[3], std::make_pair(QString(), 1));
}

class StatsWindow : public ::testing::Test {
 protected:
  test::FakePlatform fake;
  ProgramState state;
};

TEST_F(StatsWindow, ShowsTheLogAtOpeningInEveryLabelAndRow) {
  add(state.Log, "160", 1, "AB");
  add(state.Log, "80", 2, "cd");
  add(state.Log, "20", 3, "AB");
  add(state.Log, "15", 1, "");
  add(state.Log, "6", 1, "AB");
  add(state.Log, "SAT", 1, "AB");
  add(state.Log, "2", 1, "AB");
  frmbndstats w(state.Log);
  EXPECT_EQ(w.windowTitle(), " Field Day Statistics");
  EXPECT_EQ(labelTexts(w), QStringList({"1", "2", "0", "3", "1", "0", "3", "10", "10", "20", "0", "30", "10", "0", "30"}));
  ASSERT_EQ(w.ListView1->topLevelItemCount(), 3);
  EXPECT_EQ(w.ListView1->topLevelItem(0)->text(0), "AB");
  EXPECT_EQ(w.ListView1->topLevelItem(0)->text(1), "7");
  EXPECT_EQ(w.ListView1->topLevelItem(1)->text(1), "2");
  EXPECT_EQ(w.ListView1->topLevelItem(2)->text(0), "");
  EXPECT_EQ(w.ListView1->headerItem()->text(0), "Initials");
  EXPECT_EQ(w.ListView1->headerItem()->text(1), "Contacts");
  EXPECT_TRUE(w.ListView1->headerItem()->textAlignment(1) & Qt::AlignRight);
}

TEST_F(StatsWindow, EmptyLogKeepsZerosAndAnEmptyList) {
  frmbndstats w(state.Log);
  EXPECT_EQ(labelTexts(w), QStringList(15, "0"));
  EXPECT_EQ(w.ListView1->topLevelItemCount(), 0);
}

TEST_F(StatsWindow, LayoutAtTheScreenWithHeadsAndEveryControlInside) {
  frmbndstats w(state.Log);
  // 800 x 600 screen: width and height by 1.25 each, top at a quarter of the free height.
  EXPECT_EQ(w.size(), QSize(522, 429));
  EXPECT_EQ(w.pos(), QPoint(139, 43));
  EXPECT_EQ(w.Label1->text(), "Total Contacts by Band and Operator");
  QStringList heads;
  for (QLabel* l : w.Label2) heads << l->text();
  EXPECT_EQ(heads, QStringList({"160", "  80", "  40", "  20", "  15", "  10", "Total", "  V/Uhf"}));
  EXPECT_EQ(w.Label3[1]->text(), "Total");
  EXPECT_EQ(w.Label3[0]->text(), "Contacts");
  EXPECT_EQ(w.Label3[2]->text(), " %");
  EXPECT_EQ(w.Label3[3]->text(), "Operator");
  for (QWidget* c : w.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    EXPECT_TRUE(w.rect().contains(c->geometry())) << c->metaObject()->className();
  // Column widths by the width factor: 1000 and 800 twips at 1.25 are 83 and 67 pixels.
  EXPECT_EQ(w.ListView1->columnWidth(0), 83);
  EXPECT_EQ(w.ListView1->columnWidth(1), 67);
}

TEST_F(StatsWindow, MenuOpensAFreshWindowEachTimeAndCloseHidesIt) {
  test::FakeMainWindow main(&state);
  OutputService out(state);
  out.attach(main);
  EXPECT_TRUE(out.provides(OutputServices::Feature::Stats));
  QStringList seen;
  QPointer<QWidget> first;
  test::ScopedModalHook hook([&](QWidget* w) {
    auto* st = qobject_cast<frmbndstats*>(w);
    ASSERT_NE(st, nullptr);
    seen << st->lblcon[12]->text();
    if (!first) first = w;
    st->Command1->click();
    EXPECT_FALSE(st->isVisible());
  });
  add(state.Log, "20", 2);
  out.showStats();
  EXPECT_TRUE(first.isNull());  // unloaded after it closed
  add(state.Log, "20", 3);
  out.showStats();
  EXPECT_EQ(seen, QStringList({"2", "5"}));
}

}  // namespace
}  // namespace fd
