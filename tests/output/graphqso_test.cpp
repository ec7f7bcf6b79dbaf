#include "output/graphqso.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>
#include <algorithm>
#include <random>

#include "fakemainwindow.h"
#include "output/graphqso_window.h"
#include "output/outputservice.h"
#include "testenv.h"

namespace fd {
namespace {

const QRgb kBlack = qRgb(0, 0, 0);

// A contact `secs` seconds after 2024/06/22 18:00:00.
QsoRecord at(long long secs, const QString& band = QStringLiteral("20")) {
  const QDateTime t = QDateTime(QDate(2024, 6, 22), QTime(18, 0), Qt::UTC).addSecs(secs);
  QsoRecord r;
  r.Call = QStringLiteral("K1ABC");
  r.Date = t.toString(QStringLiteral("yyyy/MM/dd"));
  r.Time = t.toString(QStringLiteral("HH:mm:ss"));
  r.Band = band;
  return r;
}

QsoLog logAt(std::initializer_list<long long> secs, const QString& band = QStringLiteral("20")) {
  QsoLog log;
  for (long long s : secs) log.append(at(s, band));
  return log;
}

std::vector<int> columnsWith(const RateGraph& g, float raw) {
  std::vector<int> out;
  for (int c = 1; c <= RateGraph::kColumns; ++c)
    if (g.RateRaw[static_cast<size_t>(c)] == raw) out.push_back(c);
  return out;
}

TEST(RateGraph, SevenContactsAMinuteApart) {
  const RateGraph g = computeRateGraph(logAt({0, 60, 120, 180, 240, 300, 360}), kBlack);
  ASSERT_EQ(g.outcome, RateGraph::Outcome::Drawn);
  const std::vector<int> cols = {1, 250, 500, 750, 1000, 1250, 1500};
  for (size_t i = 0; i < cols.size(); ++i)
    EXPECT_EQ(g.RateRaw[static_cast<size_t>(cols[i])], 6.0f * static_cast<float>(i + 1)) << cols[i];
  EXPECT_FLOAT_EQ(g.RateMin, 0.0f);
  EXPECT_FLOAT_EQ(g.RateMax, 36.0f);
  EXPECT_NEAR(g.RateSmooth[1500], 33.6, 1e-4);
  EXPECT_EQ(g.valueLabel[0], "0.0");
  EXPECT_EQ(g.valueLabel[1], "2.3");
  EXPECT_EQ(g.valueLabel[2], "4.5");
  EXPECT_EQ(g.valueLabel[3], "6.8");
  EXPECT_EQ(g.valueLabel[4], "9.0");
  EXPECT_EQ(g.valueLabel[15], "33.8");
  EXPECT_EQ(g.valueLabel[16], "36.0");
  for (const QString& d : g.dateLabel) EXPECT_EQ(d, "06/22");
  EXPECT_EQ(g.timeLabel[0], "18:00");
  EXPECT_EQ(g.timeLabel[14], "18:06");
  // The middle of each long gap is at 0 and has no strip colour of its own.
  for (int c : {125, 375, 625, 875, 1125, 1375}) {
    EXPECT_EQ(g.RateSmooth[static_cast<size_t>(c)], 0.0f) << c;
    EXPECT_EQ(g.RateColor[static_cast<size_t>(c)], kBlack) << c;
  }
  EXPECT_EQ(g.RateColor[250], kRateLegend[3].color);
}

TEST(RateGraph, ShortGapsBridgedFromTheColumnBeforeAndSmoothedOverPositives) {
  const RateGraph g = computeRateGraph(logAt({0, 10, 20, 30, 40, 50, 1500}), kBlack);
  ASSERT_EQ(g.outcome, RateGraph::Outcome::Drawn);
  const float bridged[] = {6.0f, 6.75f, 7.5f, 8.25f, 9.0f};
  for (int c = 2; c <= 6; ++c) EXPECT_FLOAT_EQ(g.RateSmooth[static_cast<size_t>(c)], bridged[c - 2]) << c;
  EXPECT_NEAR(g.RateSmooth[7], 53.25 / 7, 1e-4);
}

TEST(RateGraph, TenMinuteWindowIsStrict) {
  // The last contact is 599 s after the one before the first... counted; 600 s not.
  const RateGraph in = computeRateGraph(logAt({0, 100, 200, 300, 400, 500, 599}), kBlack);
  EXPECT_EQ(in.RateRaw[1500], 42.0f);
  const RateGraph out = computeRateGraph(logAt({0, 100, 200, 300, 400, 500, 600}), kBlack);
  EXPECT_EQ(out.RateRaw[1500], 36.0f);
}

TEST(RateGraph, LaterContactInAColumnDecidesRateAndBand) {
  QsoLog log = logAt({0, 60, 120, 180, 240, 300});
  log.append(at(300, "40"));  // same column as the contact before it
  log.append(at(3600, "80"));
  const RateGraph g = computeRateGraph(log, kBlack);
  const int col = static_cast<int>(std::lround(300.0 / (3600.0 / 1500)));
  EXPECT_EQ(g.RateRaw[static_cast<size_t>(col)], 42.0f);
  EXPECT_EQ(g.RateColor[static_cast<size_t>(col)], kRateLegend[2].color);
}

TEST(RateGraph, SixAndSatelliteShowInOther) {
  QsoLog log = logAt({0, 60, 120, 180, 240});
  log.append(at(300, "6"));
  log.append(at(360, "SAT"));
  const RateGraph g = computeRateGraph(log, kBlack);
  EXPECT_EQ(g.RateColor[1250], kRateLegend[6].color);
  EXPECT_EQ(g.RateColor[1500], kRateLegend[6].color);
}

TEST(RateGraph, FewerThanSevenReadableAndAllInOneSecond) {
  EXPECT_EQ(computeRateGraph(logAt({0, 60, 120, 180, 240, 300}), kBlack).outcome, RateGraph::Outcome::TooFew);
  QsoLog withBad = logAt({0, 60, 120, 180, 240, 300});
  withBad.append(at(360));
  withBad.rec(7).Time = QStringLiteral("xx");
  EXPECT_EQ(computeRateGraph(withBad, kBlack).outcome, RateGraph::Outcome::TooFew);
  const RateGraph inst = computeRateGraph(logAt({5, 5, 5, 5, 5, 5, 5}), kBlack);
  EXPECT_EQ(inst.outcome, RateGraph::Outcome::Instant);
  EXPECT_EQ(inst.timeLabel[14], "18:00");
}

TEST(RateGraph, OvernightAxisAndShuffledLogWithAnUnreadableRecord) {
  QsoLog log;
  for (int h = 0; h <= 14; ++h) log.append(at(h * 3600LL));
  const RateGraph g = computeRateGraph(log, kBlack);
  for (int k = 0; k < 15; ++k) {
    EXPECT_EQ(g.timeLabel[static_cast<size_t>(k)], QStringLiteral("%1:00").arg((18 + k) % 24, 2, 10, QChar('0')));
    EXPECT_EQ(g.dateLabel[static_cast<size_t>(k)], k <= 5 ? "06/22" : "06/23") << k;
  }
  QsoLog shuffled = log;
  std::mt19937 rng(7);
  std::shuffle(shuffled.records().begin(), shuffled.records().end(), rng);
  QsoRecord bad = at(100);
  bad.Date = QStringLiteral("2024/13/45");
  shuffled.records().insert(shuffled.records().begin() + 3, bad);
  const RateGraph s = computeRateGraph(shuffled, kBlack);
  EXPECT_EQ(s.records, 15);
  EXPECT_EQ(s.RateSmooth, g.RateSmooth);
  EXPECT_EQ(s.RateColor, g.RateColor);
  EXPECT_EQ(s.timeLabel, g.timeLabel);
}

TEST(RateGraph, OneDecimalTiesAwayFromZero) {
  const std::pair<double, const char*> cases[] = {{2.25, "2.3"}, {0.0, "0.0"}, {6.75, "6.8"}, {0.35, "0.4"},
                                                  {1234.04, "1234.0"}, {0.05, "0.1"}, {33.75, "33.8"}};
  for (const auto& [v, text] : cases) EXPECT_EQ(formatRate(v), text) << v;
}

class GraphWindow : public ::testing::Test {
 protected:
  test::FakePlatform fake;
  QsoLog log = logAt({0, 60, 120, 180, 240, 300, 360});
};

TEST_F(GraphWindow, LoadsDrawnWithLegendAndLabels) {
  GraphQSO w(log);
  EXPECT_EQ(w.windowTitle(), " Activity Graph - QSOs per Hour Rate   (# QSOs over 10 minutes X 6)");
  EXPECT_EQ(w.graph.outcome, RateGraph::Outcome::Drawn);
  EXPECT_EQ(w.lblY[16]->text(), "36.0");
  EXPECT_EQ(w.lblDate[7]->text(), "06/22");
  EXPECT_EQ(w.lblBnd[4]->text(), "15");
  EXPECT_EQ(w.lblBnd[4]->palette().color(QPalette::WindowText), QColor(128, 255, 255));
  EXPECT_EQ(w.Label1->text(), "Band ");
  EXPECT_EQ(w.lines[5]->color, QColor(128, 128, 128));
  EXPECT_FALSE(w.Line8->isVisibleTo(&w));
  for (QWidget* c : w.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    EXPECT_TRUE(w.rect().contains(c->geometry())) << c->metaObject()->className();
  // The blue curve is on the kept surface.
  const QImage img = w.surface().toImage();
  bool blue = false;
  for (int y = 0; y < img.height() && !blue; ++y)
    for (int x = 0; x < img.width() && !blue; ++x) blue = img.pixel(x, y) == qRgb(0, 0, 255);
  EXPECT_TRUE(blue);
}

TEST_F(GraphWindow, FewContactsShowTheBoxAndAnEmptyWindow) {
  QsoLog six = logAt({0, 60, 120, 180, 240, 300});
  fake.dialogs->answers = {Answer::Ok};
  GraphQSO w(six);
  ASSERT_EQ(fake.dialogs->shown.size(), 1);
  EXPECT_EQ(fake.dialogs->shown[0].title, "Not Enough Contacts to Graph.");
  EXPECT_EQ(fake.dialogs->shown[0].text,
            "The graph will not display with less than 7 contacts.  The graph becomes more meaningful as several hours "
            "of contest logging are accumulated.");
  EXPECT_EQ(w.lblTime[0]->text(), "00:00");
}

TEST_F(GraphWindow, FlatRateSetsLabelsAndDrawsNoCurve) {
  // One contact every ten minutes fills every column with the same rate 6.
  QsoLog flat;
  for (int i = 0; i <= RateGraph::kColumns; ++i) flat.append(at(600LL * i));
  GraphQSO w(flat);
  EXPECT_EQ(w.graph.outcome, RateGraph::Outcome::Flat);
  EXPECT_EQ(w.lblY[0]->text(), "6.0");
  EXPECT_EQ(w.lblY[16]->text(), "6.0");
  const QImage img = w.surface().toImage();
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) ASSERT_EQ(img.pixel(x, y), qRgb(0, 0, 0)) << x << "," << y;
}

TEST_F(GraphWindow, ButtonSwitchesBackgroundTwice) {
  GraphQSO w(log);
  EXPECT_EQ(w.Command1->text(), "Black Background");
  EXPECT_EQ(w.surface().toImage().pixel(3, 3), qRgb(0, 0, 0));
  w.Command1->click();
  EXPECT_EQ(w.Command1->text(), "White Background");
  EXPECT_EQ(w.surface().toImage().pixel(3, 3), qRgb(255, 255, 255));
  EXPECT_EQ(w.lines[5]->color, QColor(Qt::black));  // the grid loses its grey
  EXPECT_EQ(w.lblY[0]->palette().color(QPalette::WindowText), QColor(Qt::black));
  EXPECT_EQ(w.lblBnd[2]->palette().color(QPalette::WindowText), QColor(255, 0, 0));
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  w.Command1->click();
  EXPECT_EQ(w.Command1->text(), "Black Background");
  EXPECT_EQ(w.surface().toImage().pixel(3, 3), qRgb(0, 0, 0));
  EXPECT_EQ(w.lines[5]->color, QColor(Qt::white));
}

TEST_F(GraphWindow, WhiteBackgroundGives160TheColourBefore) {
  QsoLog mix = logAt({0, 10, 20, 30, 40});
  mix.append(at(50, "160"));
  mix.append(at(1500, "40"));
  GraphQSO w(mix);
  w.Command1->click();
  EXPECT_EQ(w.graph.RateColor[50], kRateLegend[3].color);  // 160 white on white takes the 20 green
}

TEST_F(GraphWindow, MenuOpensAFreshGraph) {
  ProgramState state;
  state.Log = log;
  test::FakeMainWindow main(&state);
  OutputService out(state);
  out.attach(main);
  EXPECT_TRUE(out.provides(OutputServices::Feature::Graph));
  int shown = 0;
  test::ScopedModalHook hook([&](QWidget* w) {
    ASSERT_NE(qobject_cast<GraphQSO*>(w), nullptr);
    ++shown;
  });
  out.showGraph();
  out.showGraph();
  EXPECT_EQ(shown, 2);
}

}  // namespace
}  // namespace fd
