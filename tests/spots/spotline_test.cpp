// The spot line, the serial line splitter and the telnet line assembly.
#include <QStringList>
#include <gtest/gtest.h>

#include "fakecluster.h"
#include "spots/spotintake.h"
#include "spots/spotline.h"

namespace fd {
namespace {

struct Posted {
  QString freq, call, line;
};

class Intake : public ::testing::Test {
 protected:
  void SetUp() override {
    intake.post = [this](const QString& f, const QString& c, const QString& l) { posted.push_back({f, c, l}); };
  }
  SpotIntake intake;
  std::vector<Posted> posted;
};

TEST(SpotLine, CapturedNodeLines) {
  const auto lines = sim::FakeCluster::capturedLines();
  const struct { bool spot; const char* freq; const char* call; } expect[] = {
      {true, "3525.0", "E51DWC"},   {true, "3525.1", "E51DWC"},   {true, "7046.5", "EI55WAW"},
      {true, "7093.0", "OT6V/P"},   {true, "7026.0", "9M2PUL"},   {true, "1816.5", "ON7PQ"},
      {true, ":   7019.", "IZ5CPK"}, {true, "7025.3", "AC2K"},   {true, "144200.0", "W1AW/KH6"},
      {true, "14025.0", "ja1abc"},  {false, "", ""},              {false, "", ""},
  };
  ASSERT_EQ(lines.size(), static_cast<qsizetype>(std::size(expect)));
  for (size_t i = 0; i < std::size(expect); ++i) {
    const QString l = QString::fromLatin1(lines[static_cast<qsizetype>(i)]);
    EXPECT_EQ(spotline::isSpotLine(l), expect[i].spot) << i;
    if (!expect[i].spot) continue;
    const auto f = spotline::fields(l);
    EXPECT_EQ(f.freq, QString::fromLatin1(expect[i].freq)) << i;
    EXPECT_EQ(f.call, QString::fromLatin1(expect[i].call)) << i;
  }
  EXPECT_FALSE(spotline::isPlainDecimal(QStringLiteral(":   7019.")));
}

TEST(SpotLine, ShortLinesAndTrims) {
  // The call field loses its line end; the record keeps the blank-only trim.
  auto f = spotline::fields(QStringLiteral("DX de K1TTT:     14025.0  K1AB\r\n"));
  EXPECT_EQ(f.call, QStringLiteral("K1AB"));
  EXPECT_EQ(f.freq, QStringLiteral("14025.0"));
  f = spotline::fields(QStringLiteral("DX de K1TTT:     14025.0"));
  EXPECT_EQ(f.call, QString());
  f = spotline::fields(QStringLiteral("DX"));
  EXPECT_EQ(f.freq, QString());
  QString rec;
  EXPECT_FALSE(spotline::record(QStringLiteral("DX"), rec));
  ASSERT_TRUE(spotline::record(QStringLiteral("DX de X \r\n"), rec));
  EXPECT_EQ(rec, QStringLiteral("de X \r\n"));
  EXPECT_FALSE(spotline::isSpotLine(QStringLiteral(" DX de K1TTT:     14025.0  K1AB")));
  EXPECT_TRUE(spotline::isSpotLine(QStringLiteral("Dx")));
}

TEST_F(Intake, ALineWaitsForItsLineFeedAndTheFirstLineIsTaken) {
  intake.receiveSerial(QStringLiteral("DX de K1TTT:     14025.0  K1AB"));
  EXPECT_TRUE(posted.empty());
  EXPECT_EQ(intake.monitor(), QString());
  intake.receiveSerial(QStringLiteral("C        cw\r"));
  EXPECT_TRUE(posted.empty());
  intake.receiveSerial(QStringLiteral("\nDX de K1T"));
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].call, QStringLiteral("K1ABC"));
  EXPECT_EQ(posted[0].line, QStringLiteral("DX de K1TTT:     14025.0  K1ABC        cw\r\n"));
  EXPECT_EQ(intake.monitor(), posted[0].line);
  EXPECT_EQ(intake.RxBuffer, QStringLiteral("\nDX de K1T"));
}

TEST_F(Intake, DuplicateTestOverTheMonitorsTail) {
  const QString spot = QStringLiteral("DX de K1TTT:     14025.0  K1ABC        cw\r\n");
  intake.receiveSerial(spot);
  intake.receiveSerial(spot.toLower());
  EXPECT_EQ(posted.size(), 1u);  // letter case ignored
  // More than 800 characters of other text: shown and posted again.
  for (int i = 0; i < 10; ++i) intake.receiveSerial(QStringLiteral("chat line %1 ").arg(i) + QString(80, u'x') + QStringLiteral("\r\n"));
  intake.receiveSerial(spot);
  EXPECT_EQ(posted.size(), 2u);
  EXPECT_EQ(intake.monitor().count(spot), 2);
  // The window starts at the monitor's length less 800, counted from 1: a
  // copy that begins there is in it, one a character earlier is not.
  const struct { int before; size_t posts; } rows[] = {{0, 0}, {1, 1}};
  for (const auto& r : rows) {
    posted.clear();
    intake.setMonitor(QString(100, u'-') + spot + QString(801 - spot.size() + r.before, u'x'));
    intake.receiveSerial(spot);
    EXPECT_EQ(posted.size(), r.posts) << r.before;
  }
}

TEST_F(Intake, DxOnlyFilter) {
  const QString text = QStringLiteral("WWV de VA6AAA <18>:   SFI=74\r\nDX de K1TTT:     14025.0  K1ABC        cw\r\n");
  intake.receiveSerial(text);
  EXPECT_EQ(intake.monitor(), text);
  SpotIntake only;
  only.dxOnly = true;
  int n = 0;
  only.post = [&](const QString&, const QString&, const QString&) { ++n; };
  only.receiveSerial(text);
  EXPECT_EQ(only.monitor(), QStringLiteral("DX de K1TTT:     14025.0  K1ABC        cw\r\n"));
  EXPECT_EQ(n, 1);
}

TEST_F(Intake, ALongLineWithoutLineFeedIsBounded) {
  intake.receiveSerial(QString(5000, u'x'));
  EXPECT_EQ(intake.RxBuffer, QStringLiteral("\n"));
  intake.receiveSerial(QStringLiteral("x\r") + QString(3000, u'y'));
  intake.receiveSerial(QString(3000, u'y'));
  EXPECT_LE(intake.RxBuffer.size(), SpotIntake::kMaxPartialLine + 1);
  // The link goes on afterwards.
  intake.receiveSerial(QStringLiteral("\nDX de K1TTT:     14025.0  K1ABC\n"));
  EXPECT_EQ(posted.size(), 1u);
}

TEST_F(Intake, TrimMonitorBounds) {
  intake.setMonitor(QString(10000, u'a'));
  intake.TrimMonitor();
  EXPECT_EQ(intake.monitor().size(), 10000);
  intake.appendMonitor(QStringLiteral("b"));
  intake.TrimMonitor();
  EXPECT_EQ(intake.monitor().size(), 9000);
  EXPECT_TRUE(intake.monitor().endsWith(u'b'));
}

TEST_F(Intake, TelnetChunkingPostsEachSpotOnceWhole) {
  const auto lines = sim::FakeCluster::capturedLines();
  QByteArray all;
  for (const QByteArray& l : lines) all += l;
  // Whole lines, two lines per chunk, split lines, one byte at a time.
  const std::vector<int> sizes = {-1, -2, 17, 1};
  for (int size : sizes) {
    posted.clear();
    intake.setMonitor(QString());
    QList<QByteArray> chunks;
    if (size == -1) chunks = lines;
    else if (size == -2)
      for (qsizetype i = 0; i < lines.size(); i += 2) chunks << lines[i] + (i + 1 < lines.size() ? lines[i + 1] : QByteArray());
    else
      for (qsizetype i = 0; i < all.size(); i += size) chunks << all.mid(i, size);
    for (const QByteArray& c : chunks) intake.receiveTelnet(QString::fromLatin1(c));
    ASSERT_EQ(posted.size(), 10u) << size;
    EXPECT_EQ(posted[0].call, QStringLiteral("E51DWC"));
    EXPECT_EQ(posted[9].call, QStringLiteral("ja1abc"));
    EXPECT_EQ(intake.monitor(), QString::fromLatin1(all)) << size;  // raw, as it arrived
  }
  // No duplicate test on this link: the same line twice is posted twice.
  posted.clear();
  intake.receiveTelnet(QString::fromLatin1(lines[0]));
  intake.receiveTelnet(QString::fromLatin1(lines[0]));
  EXPECT_EQ(posted.size(), 2u);
}

TEST_F(Intake, TelnetWithDxOnlyShowsSpotLinesAfterPosting) {
  intake.dxOnly = true;
  intake.receiveTelnet(QStringLiteral("login: "));
  intake.receiveTelnet(QStringLiteral("To ALL de K1TTT: DX test\r\nDX de K1TTT:     14025.0  K1ABC\r\n"));
  EXPECT_EQ(intake.monitor(), QStringLiteral("DX de K1TTT:     14025.0  K1ABC\r\n"));
  EXPECT_EQ(posted.size(), 1u);
  intake.receiveTelnet(QString(5000, u'z'));
  EXPECT_TRUE(intake.telnetPartial().isEmpty());
}

}  // namespace
}  // namespace fd
