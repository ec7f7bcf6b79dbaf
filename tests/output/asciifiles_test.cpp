// The ASCII log and dupe-sheet files: golden files, the dupe grouping, the
// save dialog, the boxes and failures.
#include <QFile>

#include "files_fixture.h"
#include "output/asciilog.h"
#include "output/dupesheet.h"

namespace fd::test {
namespace {

QByteArray golden(const char* name) {
  QFile f(QStringLiteral(FD_SOURCE_DIR "/tests/output/golden/") + QString::fromLatin1(name));
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("missing golden file");
}

// Band, mode, date, time, call, class, section.
void fillGoldenLog(QsoLog& log) {
  const std::vector<std::array<const char*, 7>> rows = {
      {"40", "PH", "2024/06/22", "18:01:00", "W3AAA", "1A", "ENY"},
      {"40", "PH", "2024/06/22", "18:02:00", "K1ZZ", "2A", "CT"},
      {"40", "PH", "2024/06/22", "18:03:00", "N2XX", "3A", "NNJ"},
      {"40", "PH", "2024/06/22", "18:04:00", "AA1BB", "1D", "EMA"},
      {"40", "PH", "2024/06/22", "18:05:00", "TEST", "1E", "DX"},
      {"20", "CW", "2024/06/22", "19:00:00", "VE3/W1ABCDEF", "2A", "ONS"},
      {"20", "CW", "2024/06/22", "19:01:00", "W1ABC/VE3XY", "1B", "WMA"},
      {"20", "CW", "2024/06/22", "19:02:00", "k2lc", "1A", "NLI"},
      {"20", "CW", "2024/06/22", "19:03:00", "", "1A", "CT"},
      {"20", "CW", "2024/06/22", "19:04:00", "K0AA", "4A", "MN"},
      {"20", "CW", "2024/06/22", "19:05:00", "W9ZZ", "2A", "WI"},
      {"20", "CW", "2024/06/22", "19:06:00", "N8BB", "1E", "OH"},
      {"20", "CW", "2024/06/22", "19:07:00", "K5CC", "3A", "STX"},
      {"20", "CW", "2024/06/22", "19:08:00", "W4DD", "1D", "GA"},
      {"20", "CW", "2024/06/22", "19:09:00", "AB6EE", "2A", "SV"},
      {"20", "CW", "2024/06/22", "19:10:00", "W2UP", "1A", "ENY"},
      {"20", "CW", "2024/06/22", "19:11:00", "WP4GG", "1A", "PR"},
      {"1.25", "DIG", "2024/06/22", "20:00:00", "N5DIG", "1A", "NTX"},
      {"SAT", "PH", "2024/06/22", "20:30:00", "K4SAT", "2A", "NC"},
      {"30", "CW", "2024/06/23", "01:00:00", "K7OUT", "1A", "AZ"},
      {"20", "PSK125", "2024/06/23", "02:00:00", "K6PSK", "1A", "SCV"},
      {"20", "OLIVIA8", "2024/06/23", "03:00:00", "K6OLV", "1A", "SDG"}
};
  for (const auto& r : rows) log.append(QsoRecord{r[4], r[5], r[6], r[2], r[3], r[0], r[1], {}, {}});
}

class AsciiFilesTest : public FilesTest {};

TEST_F(AsciiFilesTest, GoldenLogAndDupeSheet) {
  fillGoldenLog(state.Log);
  state.MyCall = " W1AW ";
  dlg().files = {doc("W1AW-ASCIILog.txt"), doc("W1AW-ASCIIDup.txt")};
  svc.asciiLog();
  EXPECT_EQ(state.MyCall, "W1AW");  // stays trimmed
  svc.asciiDupe();
  EXPECT_EQ(readAbs(doc("W1AW-ASCIILog.txt")), golden("ascii_log.txt"));
  EXPECT_EQ(readAbs(doc("W1AW-ASCIIDup.txt")), golden("ascii_dupe.txt"));
  ASSERT_EQ(dlg().shown.size(), 4);
  EXPECT_EQ(dlg().shown[0].kind, "save");
  EXPECT_EQ(dlg().shown[0].text, doc("W1AW-ASCIILog.txt"));
  EXPECT_EQ(dlg().shown[0].filter, "ADIF Files (*.txt *.TXT)");
  EXPECT_EQ(dlg().shown[2].text, doc("W1AW-ASCIIDup.txt"));
  for (int i : {1, 3}) {
    EXPECT_EQ(dlg().shown[i].title, "File Successfully written.");
    EXPECT_EQ(dlg().shown[i].text, "The file has been successfully written to:\r\n\r\n" + dlg().shown[i - 1].text);
  }
  EXPECT_EQ(dlg().beeps, 2);
  EXPECT_EQ(main.status, " ");
  EXPECT_TRUE(main.calls.contains("setStatus Writing ASCII Log File."));
  EXPECT_TRUE(svc.provides(OutputServices::Feature::AsciiLog));
  EXPECT_TRUE(svc.provides(OutputServices::Feature::AsciiDupe));
}

TEST_F(AsciiFilesTest, EmptyLogAndProposedName) {
  state.MyCall = " W1AW/3 ";
  dlg().files = {doc("a.txt"), doc("b.txt")};
  svc.asciiLog();
  svc.asciiDupe();
  EXPECT_EQ(dlg().shown[0].text, doc("W1AW-ASCIILog.txt"));
  EXPECT_EQ(dlg().shown[2].text, doc("W1AW-ASCIIDup.txt"));
  const QByteArray header = "     Call Used: W1AW/3  Class: 2A                  ARRL Section: CT\r\n\r\n";
  EXPECT_EQ(readAbs(doc("a.txt")), header);
  EXPECT_EQ(readAbs(doc("b.txt")), header);
}

TEST_F(AsciiFilesTest, CancelAndUnwritableTarget) {
  addMany(state.Log, 3, "20", "CW");
  dlg().files = {QString(), QString()};
  svc.asciiLog();
  svc.asciiDupe();
  EXPECT_EQ(dlg().titles(), QStringList({"Save As", "Save As"}));  // no box after a cancel
  EXPECT_EQ(dlg().beeps, 0);
  EXPECT_EQ(main.status, " ");
  EXPECT_TRUE(QDir(state.FieldDayDir).entryList(QDir::Files | QDir::Hidden).isEmpty());

  // A folder that does not exist, then a full disk over an older file.
  dlg().clear();
  dlg().files = {doc("nowhere/x.txt"), doc("old.txt")};
  QFile old(doc("old.txt"));
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write(QByteArray(200, 'o'));
  old.close();
  addMany(state.Log, 500, "40", "PH");
  svc.asciiLog();
  EXPECT_EQ(main.status, " ");
  {
    ScopedFileSizeLimit limit(1000);
    svc.asciiDupe();
  }
  EXPECT_EQ(dlg().titles(), QStringList({"Save As", "Unable to write file.", "Save As", "Unable to write file."}));
  EXPECT_FALSE(dlg().shown[1].text.isEmpty());
  EXPECT_FALSE(dlg().shown[3].text.isEmpty());
  EXPECT_EQ(dlg().beeps, 2);
  EXPECT_EQ(readAbs(doc("old.txt")), QByteArray(200, 'o'));
  EXPECT_FALSE(QFile::exists(doc("nowhere/x.txt")));
}

TEST(DupeGroups, SortKeyAndMatching) {
  QsoLog log;
  for (const char* c : {"W3AAA", "K1ZZ", "N2XX", "AA1BB", "TEST", "", "k1aa", "K1AB"}) log.append(qso(c, "20", "CW"));
  log.append(qso("K9X", "20", "cw"));    // mode matched exactly
  log.append(qso("K9Y", "30", "CW"));    // no such band
  log.append(qso("K9Z", "SAT", "DIG"));
  const auto groups = dupeGroups(log, kBands);
  ASSERT_EQ(groups.size(), 2u);
  EXPECT_EQ(groups[0].band, "20");
  EXPECT_EQ(groups[0].calls, QStringList({"", "TEST", "AA1BB", "K1AB", "K1ZZ", "k1aa", "N2XX", "W3AAA"}));
  EXPECT_EQ(groups[1].band, "SAT");
  EXPECT_TRUE(dupeGroups(log, printedDupeBands()).size() == 1);  // the printout has no satellite group
}

TEST(DupeGroups, FullLogGroupsAddUp) {
  QsoLog log;
  const QStringList modes = {"CW", "DIG", "PH", "RTTY"};
  const QStringList bands = kBands + QStringList{"30"};
  for (int i = 0; i < QsoLog::kMaxRecords; ++i)
    log.append(qso(QStringLiteral("K%1X%2").arg(i % 10).arg(i), bands[i % bands.size()], modes[i % modes.size()]));
  int inGroups = 0, expected = 0;
  for (const DupeGroup& g : dupeGroups(log, kBands)) inGroups += static_cast<int>(g.calls.size());
  for (const QsoRecord& r : log.records()) expected += kBands.contains(r.Band) && kModes.contains(r.Mode);
  EXPECT_EQ(inGroups, expected);
  // The file holds every group: its total lines add up the same.
  int totals = 0;
  for (const QString& l : asciiDupeLines(log, {"W1AW", "2A", "CT"}))
    if (l.contains(" Total Contacts ")) totals += l.section(u' ', -2, -2).toInt();
  EXPECT_EQ(totals, expected);
  EXPECT_EQ(asciiLogLines(log, {"W1AW", "2A", "CT"}).size(), QsoLog::kMaxRecords + 2);
}

}  // namespace
}  // namespace fd::test
