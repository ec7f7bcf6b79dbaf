#include "output/sectionmap.h"

#include <QDir>
#include <QFile>
#include <QHelpEvent>
#include <QLabel>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>
#include <set>

#include "fakemainwindow.h"
#include "mapgen/geodata.h"
#include "mapgen/mapgen.h"
#include "output/outputservice.h"
#include "output/sectionmap_window.h"
#include "testenv.h"

namespace fd {
namespace {

const QRgb kWhite = qRgb(255, 255, 255), kBlack = qRgb(0, 0, 0);

QRgb px(const QImage& img, QPoint p) { return img.pixel(p) | 0xff000000u; }

int labelIndex(const char* section) {
  for (size_t k = 0; k < kMapLabels.size(); ++k)
    if (QLatin1String(kMapLabels[k].section) == QLatin1String(section)) return static_cast<int>(k);
  return -1;
}
QPoint seedOf(const char* section) { return labelCentre(kMapLabels[static_cast<size_t>(labelIndex(section))]); }

// Triple j (1-based) is (j, 100 + j, 200 - j) / 254 read back as whole numbers.
struct Sequence {
  std::vector<double> values;
  size_t next = 0;
  explicit Sequence(int triples, int offset = 0) {
    for (int j = 1; j <= triples; ++j)
      for (int v : {j + offset, 100 + j, 200 - j}) values.push_back((v + 0.5) / 254.0);
  }
  RandomSource source() {
    return [this] { return values[next++ % values.size()]; };
  }
};
QRgb triple(int j, int offset = 0) { return qRgb(j + offset, 100 + j, 200 - j); }

int sectionRow(const ProgramState& s, const QString& name) {
  for (int j = 1; j <= s.SecTotal; ++j)
    if (s.SecName[j] == name) return j;
  return 0;
}

// Pixels reached by a fill of a fresh copy from p.
std::vector<QPoint> reach(const QImage& img, QPoint p) {
  QImage copy = img.convertToFormat(QImage::Format_RGB32);
  const QRgb mark = qRgb(1, 2, 3);
  floodFill(copy, p, mark);
  std::vector<QPoint> out;
  for (int y = 0; y < copy.height(); ++y)
    for (int x = 0; x < copy.width(); ++x)
      if (px(copy, {x, y}) == mark) out.emplace_back(x, y);
  return out;
}

// The generator's drawing from the boundary data, made once for the tests
// that need it. The data comes with `scripts/install-deps test` (make
// test); without it the tests fail with the generator's message.
const mapgen::MapBuild& generated() {
  static const mapgen::MapBuild map = mapgen::build();
  return map;
}

TEST(SectionMapPicture, CommittedPictureEqualsTheGenerator) {
  const QImage committed(QStringLiteral(FD_SOURCE_DIR "/src/output/sectionmap.png"));
  ASSERT_FALSE(committed.isNull());
  EXPECT_EQ(committed.size(), QSize(kMapWidth, kMapHeight));
  QFile f(QStringLiteral(FD_SOURCE_DIR "/src/output/sectionmap.png"));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray head = f.read(26);
  EXPECT_EQ(head.at(24), 8);  // 24-bit: eight bits per channel,
  EXPECT_EQ(head.at(25), 2);  // red, green and blue, no alpha
  ASSERT_EQ(generated().error.toStdString(), "") << "run `scripts/install-deps test` for the map data; "
                                                 << mapgen::versionNote().toStdString();
  const QImage& drawn = generated().picture;
  ASSERT_EQ(drawn.size(), committed.size()) << mapgen::versionNote().toStdString();
  for (int y = 0; y < kMapHeight; ++y)
    for (int x = 0; x < kMapWidth; ++x)
      ASSERT_EQ(px(committed, {x, y}), px(drawn, {x, y}))
          << x << "," << y << ": " << mapgen::versionNote().toStdString()
          << "; with the data of the picture's versions, run build/mapgen src/output/sectionmap.png";
  // Black outlines on white, nothing else.
  for (int y = 0; y < kMapHeight; ++y)
    for (int x = 0; x < kMapWidth; ++x) ASSERT_TRUE(px(committed, {x, y}) == kWhite || px(committed, {x, y}) == kBlack);
  // The compiled-in copy is the same picture.
  EXPECT_EQ(loadSectionMapPicture(), committed.convertToFormat(QImage::Format_RGB32));
}

// What a fill from each label's centre reaches in the committed picture:
// its pixels, and the areas the data puts there.
struct LabelFill {
  bool white = false;
  std::vector<QPoint> reached;
  QSet<QString> areas;  // names of the data's anchors reached
  QSet<int> meantFor;   // labels whose own place is reached
  QSet<int> labels;     // other labels' centres reached
};

std::vector<LabelFill> labelFills(const QImage& img, const mapgen::MapBuild& map) {
  std::vector<LabelFill> out;
  for (size_t k = 0; k < kMapLabels.size(); ++k) {
    LabelFill f;
    const QPoint c = labelCentre(kMapLabels[k]);
    f.white = px(img, c) == kWhite;
    if (f.white) f.reached = reach(img, c);
    QSet<QPair<int, int>> at;
    for (const QPoint& p : f.reached) at.insert({p.x(), p.y()});
    for (const mapgen::Anchor& a : map.anchors)
      if (at.contains({a.at.x(), a.at.y()})) {
        f.areas.insert(a.area);
        if (a.label >= 0) f.meantFor.insert(a.label);
      }
    for (size_t o = 0; o < kMapLabels.size(); ++o) {
      const QPoint oc = labelCentre(kMapLabels[o]);
      if (o != k && at.contains({oc.x(), oc.y()})) f.labels.insert(static_cast<int>(o));
    }
    out.push_back(f);
  }
  return out;
}

// Every label's fill stays in one closed area that the data gives to the
// label's section and to no other; labels of one section sit on different
// areas (the four Ontario sections share one, and "NWT" lies on an NT
// area); a Canadian label lies on the very area it names (Anticosti for the
// second QC label, Prince Edward Island for a MAR one). Writes the table of
// labels to sectionmap-labels.txt beside the tests.
TEST(SectionMapPicture, EveryLabelFillsAnAreaOfItsOwnSection) {
  ASSERT_EQ(generated().error.toStdString(), "");
  const QImage img = loadSectionMapPicture();
  const std::vector<LabelFill> fills = labelFills(img, generated());
  std::set<int> placed;
  for (const mapgen::Anchor& a : generated().anchors)
    if (a.label >= 0) placed.insert(a.label);
  QFile table(QStringLiteral("sectionmap-labels.txt"));
  ASSERT_TRUE(table.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text));
  table.write("label section inside pixels\n");
  for (size_t k = 0; k < kMapLabels.size(); ++k) {
    const LabelFill& f = fills[k];
    const QString own = mapgen::areaOfLabel(static_cast<int>(k));
    bool sharesFairly = true;
    for (int o : f.labels) {
      const bool ontario = own == QLatin1String("ON") && mapgen::areaOfLabel(o) == own;
      const bool nwt = (k == 90 || o == 90) && mapgen::areaOfLabel(o) == own;
      sharesFairly = sharesFairly && (ontario || nwt);
    }
    const bool inside = f.white && f.areas == QSet<QString>{own} && sharesFairly &&
                        (!placed.count(static_cast<int>(k)) || f.meantFor.contains(static_cast<int>(k)));
    table.write(QStringLiteral("%1 %2 %3 %4\n")
                    .arg(k, 5)
                    .arg(QLatin1String(kMapLabels[k].section), -7)
                    .arg(inside ? QStringLiteral("yes") : QStringLiteral("no"), -6)
                    .arg(f.reached.size(), 6)
                    .toLatin1());
    EXPECT_TRUE(f.white) << k << " " << kMapLabels[k].section << ": centre on an outline";
    EXPECT_EQ(f.areas, QSet<QString>{own}) << k << " " << kMapLabels[k].section << " reaches " << f.areas.values().join(' ').toStdString();
    EXPECT_TRUE(sharesFairly) << k << " " << kMapLabels[k].section << " shares its area with another label";
    if (placed.count(static_cast<int>(k))) EXPECT_TRUE(f.meantFor.contains(static_cast<int>(k))) << k << " misses its own area";
    for (const QPoint& p : f.reached)  // closed: the frame is never reached
      ASSERT_FALSE(p.x() == 0 || p.y() == 0 || p.x() == kMapWidth - 1 || p.y() == kMapHeight - 1) << k;
  }
  // Each of the four Ontario labels reaches the other three.
  for (int k : {74, 91, 92, 93}) EXPECT_EQ(fills[static_cast<size_t>(k)].labels.size(), 3u) << k;
  EXPECT_TRUE(fills[90].areas.contains(QStringLiteral("NT")));
}

// A map, not a mosaic: over the lower 48 states the filled areas follow the
// land areas the county data gives. The insets are drawn to their own scale
// and stay out.
TEST(SectionMapPicture, AreasFollowTheLand) {
  ASSERT_EQ(generated().error.toStdString(), "");
  const std::map<QString, double>& land = generated().landKm2;
  const std::vector<LabelFill> fills = labelFills(loadSectionMapPicture(), generated());
  std::map<QString, double> pixels;  // per section, its labels' areas
  for (size_t k = 0; k < kMapLabels.size(); ++k)
    if (land.count(QLatin1String(kMapLabels[k].section))) pixels[QLatin1String(kMapLabels[k].section)] += static_cast<double>(fills[k].reached.size());
  ASSERT_EQ(pixels.size(), land.size());
  auto sum = [](const std::map<QString, double>& m, std::initializer_list<const char*> names) {
    double s = 0;
    for (const char* n : names) s += m.at(QLatin1String(n));
    return s;
  };
  // Montana and Rhode Island: more than 100 to 1 on the land.
  ASSERT_GT(land.at(QStringLiteral("MT")), 100 * land.at(QStringLiteral("RI")));
  EXPECT_GE(pixels.at(QStringLiteral("MT")), 30 * pixels.at(QStringLiteral("RI")));
  // Texas, its three sections together, is larger than any other state.
  const double texas = sum(pixels, {"NTX", "STX", "WTX"});
  const std::map<QString, std::vector<const char*>> divided = {
      {QStringLiteral("CA"), {"EB", "LAX", "ORG", "SB", "SCV", "SDG", "SF", "SJV", "SV"}},
      {QStringLiteral("FL"), {"NFL", "SFL", "WCF"}}, {QStringLiteral("MA"), {"EMA", "WMA"}},
      {QStringLiteral("NJ"), {"NNJ", "SNJ"}}, {QStringLiteral("NY"), {"ENY", "NLI", "NNY", "WNY"}},
      {QStringLiteral("PA"), {"EPA", "WPA"}}, {QStringLiteral("WA"), {"EWA", "WWA"}}};
  std::set<QString> inDivided;
  for (const auto& [state, sections] : divided) {
    double s = 0;
    for (const char* n : sections) s += pixels.at(QLatin1String(n)), inDivided.insert(QLatin1String(n));
    EXPECT_GT(texas, s) << state.toStdString();
  }
  for (const auto& [section, px] : pixels)
    if (!inDivided.count(section) && section != QLatin1String("NTX") && section != QLatin1String("STX") && section != QLatin1String("WTX"))
      EXPECT_GT(texas, px) << section.toStdString();
  // Any two sections whose land differs threefold or more keep that order.
  for (const auto& [a, landA] : land)
    for (const auto& [b, landB] : land)
      if (landA >= 3 * landB) EXPECT_GT(pixels.at(a), pixels.at(b)) << a.toStdString() << " and " << b.toStdString();
}

// A user's gmt settings (a gmt.conf in the home folder, in ~/.gmt or in
// GMT_USERDIR, GMT_* variables) change nothing the generator reads.
TEST(SectionMapPicture, UsersGmtSettingsDoNotReachTheLines) {
  auto flat = [](const std::vector<mapgen::GeoLine>& lines) {
    std::vector<double> v;
    for (const mapgen::GeoLine& l : lines) {
      v.push_back(static_cast<double>(l.size()));
      for (const mapgen::LonLat& p : l) v.insert(v.end(), {p.lon, p.lat});
    }
    return v;
  };
  const QStringList args = {QStringLiteral("-R-70/-60/44/48"), QStringLiteral("-Dl"), QStringLiteral("-N1")};
  QString error;
  std::vector<double> plain;
  {
    const test::ScopedEnv noUserDir("GMT_USERDIR", std::nullopt);
    const auto lines = mapgen::readGmtCoast(args, &error);
    ASSERT_TRUE(lines) << error.toStdString();
    plain = flat(*lines);
  }
  QTemporaryDir home;
  ASSERT_TRUE(QDir(home.path()).mkpath(QStringLiteral(".gmt")) && QDir(home.path()).mkpath(QStringLiteral("user")));
  for (const char* conf : {"gmt.conf", ".gmt/gmt.conf", "user/gmt.conf"}) {
    QFile f(home.filePath(QLatin1String(conf)));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("FORMAT_FLOAT_OUT = %.1lf\n");
  }
  const test::ScopedEnv homeEnv("HOME", QFile::encodeName(home.path()));
  const test::ScopedEnv userDir("GMT_USERDIR", QFile::encodeName(home.filePath(QStringLiteral("user"))));
  const test::ScopedEnv shareDir("GMT_SHAREDIR", QByteArray("/nonexistent"));
  const auto lines = mapgen::readGmtCoast(args, &error);
  ASSERT_TRUE(lines) << error.toStdString();
  EXPECT_EQ(flat(*lines), plain);
}

TEST(SectionMapPicture, UnreadablePictureIsBlankWhite) {
  const QImage img = loadSectionMapPicture(QStringLiteral(":/nothing-here.png"));
  EXPECT_EQ(img.size(), QSize(kMapWidth, kMapHeight));
  EXPECT_EQ(px(img, {200, 200}), kWhite);
}

TEST(SectionMapFill, SameColourDoesNothingAndBlackIsDrawnAgain) {
  QImage img(5, 5, QImage::Format_RGB32);
  img.fill(qRgb(10, 20, 30));
  floodFill(img, {2, 2}, qRgb(10, 20, 30));  // would never end if it ran
  EXPECT_EQ(px(img, {0, 0}), qRgb(10, 20, 30));
  floodFill(img, {9, 9}, kWhite);  // outside: nothing
  std::vector<double> v = {0.001, 0.002, 0.003, 0.5, 0.6, 0.7};
  size_t i = 0;
  EXPECT_EQ(drawFillColour([&] { return v[i++]; }), qRgb(127, 152, 177));
  EXPECT_EQ(i, 6u);
  EXPECT_EQ(drawFillColour([] { return 0.9999; }), qRgb(253, 253, 253));  // never white
  std::vector<double> black = {0.0, 0.001, 0.003, 0.5, 0.0, 0.0};
  i = 0;
  EXPECT_EQ(drawFillColour([&] { return black[i++]; }), qRgb(127, 0, 0));
}

class SectionMapTick : public ::testing::Test {
 protected:
  void SetUp() override {
    fillSectionTable(s);
    base = loadSectionMapPicture();
    img = base;
  }
  void work(const char* name) { ++s.SecWorked[static_cast<size_t>(sectionRow(s, QString::fromLatin1(name)))]; }
  QRgb colourOf(const char* name, int offset = 0) { return triple(sectionRow(s, QString::fromLatin1(name)), offset); }
  void tick(Sequence& seq) { paintWorkedSections(img, s, seq.source()); }
  void expectOutlinesIntact() {
    for (int y = 0; y < kMapHeight; ++y)
      for (int x = 0; x < kMapWidth; ++x)
        if (px(base, {x, y}) == kBlack) ASSERT_EQ(px(img, {x, y}), kBlack) << x << "," << y;
  }
  test::FakePlatform fake;
  ProgramState s;
  QImage base, img;
  Sequence seq{83};
};

TEST_F(SectionMapTick, OnlyTheWorkedSectionIsPaintedInItsTriple) {
  work("CT");
  tick(seq);
  EXPECT_EQ(seq.next, 3u * 83);  // three numbers per section, worked or not
  EXPECT_EQ(px(img, seedOf("CT")), colourOf("CT"));
  for (const char* other : {"WMA", "NLI", "ENY"}) EXPECT_EQ(px(img, seedOf(other)), kWhite) << other;
  expectOutlinesIntact();
}

TEST_F(SectionMapTick, AllAreasOfASectionShareItsColour) {
  work("NT");
  tick(seq);
  for (int k : {77, 80, 81, 82, 83}) EXPECT_EQ(px(img, labelCentre(kMapLabels[static_cast<size_t>(k)])), colourOf("NT")) << k;
}

TEST_F(SectionMapTick, OntarioEndsInTheLastWorkedInTableOrder) {
  work("ONN");
  work("ONE");
  tick(seq);
  const char* later = sectionRow(s, "ONE") > sectionRow(s, "ONN") ? "ONE" : "ONN";
  for (int k : {74, 92, 93}) EXPECT_EQ(px(img, labelCentre(kMapLabels[static_cast<size_t>(k)])), colourOf(later)) << k;
}

TEST_F(SectionMapTick, DxAndEmptyLogsPaintNothing) {
  ++s.SecWorked[0];  // a DX contact has no section row
  tick(seq);
  EXPECT_EQ(img, base);
}

TEST_F(SectionMapTick, AllWorkedColoursEverySeedAndTheNextTickBringsNewColours) {
  for (int j = 1; j <= s.SecTotal; ++j) ++s.SecWorked[static_cast<size_t>(j)];
  tick(seq);
  for (size_t k = 0; k < kMapLabels.size(); ++k)
    if (k != 90) EXPECT_NE(px(img, labelCentre(kMapLabels[k])), kWhite) << kMapLabels[k].section;
  EXPECT_EQ(px(img, seedOf("PAC")), colourOf("PAC"));
  expectOutlinesIntact();
  Sequence second(83, 20);
  tick(second);
  EXPECT_EQ(px(img, seedOf("PAC")), colourOf("PAC", 20));
  EXPECT_EQ(px(img, seedOf("AK")), colourOf("AK", 20));
  expectOutlinesIntact();
}

class SectionMapWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    fillSectionTable(state);
    out.attach(main);
  }
  SectionMap* open() {
    out.showSectionMap();
    SectionMap* w = out.sectionMap;
    if (w) w->random = seq.source();
    return w;
  }
  test::FakePlatform fake;
  ProgramState state;
  test::FakeMainWindow main{&state};
  OutputService out{state};
  Sequence seq{83};
};

TEST_F(SectionMapWindow, GeometryLabelsAndTooltips) {
  EXPECT_TRUE(out.provides(OutputServices::Feature::SectionMap));
  SectionMap* w = open();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->windowTitle(), " Section Map");
  EXPECT_EQ(w->size(), QSize(484, 455));
  EXPECT_EQ(w->pos(), QPoint((800 - 484) / 2, (600 - 455) / 2));
  EXPECT_EQ(w->Picture1->geometry(), QRect(0, 4, 483, 445));
  EXPECT_EQ(w->Label1->geometry(), QRect(368, 8, 105, 33));
  EXPECT_TRUE(w->Label1->isVisibleTo(w));  // empty log
  EXPECT_EQ(w->lblCounty[90]->toolTip(), "NWT");
  // The tooltip under the pointer in label 37's rectangle.
  const QPoint inPac(420, 330);
  QWidget* spot = w->Picture1->childAt(inPac);
  ASSERT_NE(spot, nullptr);
  QHelpEvent help(QEvent::ToolTip, spot->mapFromParent(inPac), w->Picture1->mapToGlobal(inPac));
  QApplication::sendEvent(spot, &help);
  EXPECT_EQ(QToolTip::text(), "PAC");
  QToolTip::hideText();
  // Overlaps: the later label is on top (ONE, label 93, over ONN, GTA and ONS).
  EXPECT_EQ(w->Picture1->childAt(280, 190), w->lblCounty[93]);
  out.unload(SideWindow::SectionMap);
  EXPECT_TRUE(out.sectionMap.isNull());
}

TEST_F(SectionMapWindow, FirstTickRightAfterShowingThenEveryMinute) {
  QsoRecord r;
  r.Section = QStringLiteral("CT");
  state.Log.append(r);
  ++state.SecWorked[static_cast<size_t>(sectionRow(state, "CT"))];
  SectionMap* w = open();
  EXPECT_FALSE(w->Label1->isVisibleTo(w));
  EXPECT_EQ(w->Timer1.interval(), 1);
  EXPECT_TRUE(QTest::qWaitFor([&] { return w->Timer1.interval() == 60000; }, 5000));
  EXPECT_EQ(px(w->Picture1->image, seedOf("CT")), triple(sectionRow(state, "CT")));
  EXPECT_EQ(px(w->Picture1->image, seedOf("ME")), kWhite);
  // A contact saved while the window is open shows at the next tick.
  ++state.SecWorked[static_cast<size_t>(sectionRow(state, "ME"))];
  Sequence next(83);
  w->random = next.source();
  w->Timer1_Timer();
  EXPECT_EQ(px(w->Picture1->image, seedOf("ME")), triple(sectionRow(state, "ME")));
}

TEST_F(SectionMapWindow, DxContactsOnlyHideTheNoteAndPaintNothing) {
  QsoRecord r;
  r.Section = QStringLiteral("DX");
  state.Log.append(r);
  SectionMap* w = open();
  const QImage before = w->Picture1->image;
  w->Timer1_Timer();
  EXPECT_FALSE(w->Label1->isVisibleTo(w));
  EXPECT_EQ(w->Picture1->image, before);
  out.unload(SideWindow::SectionMap);
}

TEST_F(SectionMapWindow, ClosedAndReopenedStartsWhiteAndPaintsAtOnce) {
  ++state.SecWorked[static_cast<size_t>(sectionRow(state, "CT"))];
  SectionMap* w = open();
  w->Timer1_Timer();
  EXPECT_NE(px(w->Picture1->image, seedOf("CT")), kWhite);
  w->close();  // closing unloads it
  EXPECT_TRUE(QTest::qWaitFor([&] { return out.sectionMap.isNull(); }, 5000));
  SectionMap* again = open();
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(px(again->Picture1->image, seedOf("CT")), kWhite);
  EXPECT_TRUE(QTest::qWaitFor([&] { return again->Timer1.interval() == 60000; }, 5000));
  EXPECT_EQ(px(again->Picture1->image, seedOf("CT")), triple(sectionRow(state, "CT")));
  // The menu again only brings it forward.
  out.showSectionMap();
  EXPECT_EQ(out.sectionMap, again);
  out.unload(SideWindow::SectionMap);
}

}  // namespace
}  // namespace fd
