#include <QFile>
#include <gtest/gtest.h>

#include "core/title.h"
#include "output/adif.h"
#include "output/tolva.h"
#include "output_fixture.h"

namespace fd {
namespace {

using test::OutputTest;

TEST(AdifRules, Time) {
  const std::pair<const char*, const char*> cases[] = {
      {"18:01:02", "180102"}, {"18:01", "180100"}, {"9:07", "090700"}, {"1:02:03", "010203"},
      {"", "000000"},         {" 18:01:02 ", "180102"}, {"00:00:00", "000000"}, {"123456789", "123456789"},
      {"W1:AW: :", "00W1AW"},  // an imported non-time: no blank may end the value
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(adif::timeDigits(in), out) << in;
}

// A time that is no time, imported as it stands, comes back from an export
// and a second import as the first import stored it.
TEST(AdifRules, ImportedNonTimeReadsBackAsStored) {
  const auto exportAndRead = [](const std::vector<QsoRecord>& r) {
    return adif::readRecords(adif::exportFile(r, {"100", "c", "PH"}, "Field Day 1.0", QDate(2024, 6, 23)));
  };
  const std::vector<QsoRecord> first = adif::readRecords("<call:4>W1AW <time_on:6>W1AW :<eor>");
  ASSERT_EQ(first.size(), 1u);
  const std::vector<QsoRecord> once = exportAndRead(first), twice = exportAndRead(once);
  ASSERT_EQ(once.size(), 1u);
  ASSERT_EQ(twice.size(), 1u);
  EXPECT_EQ(twice[0].Time, once[0].Time);
}

TEST(AdifRules, Band) {
  const std::pair<const char*, const char*> cases[] = {
      {"160", "160M"}, {"80", "80M"},   {"40", "40M"},   {"20", "20M"},    {"15", "15M"},   {"10", "10M"},
      {"6", "6M"},     {"2", "2M"},     {"1.25", "1.25M"}, {"70", "70CM"}, {"33", "33CM"},  {"23", "23CM"},
      {"2.3", "13CM"}, {"3.3", "9CM"},  {"5.6", "6CM"},  {"6CM", "6CM"},   {"SAT", ""},     {"", ""},
      {"30", "30M"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(adif::bandName(in), out) << in;
}

TEST(AdifRules, DxccAndState) {
  struct Case {
    const char* call;
    const char* section;
    int dxcc;
    const char* state;
  };
  const Case cases[] = {
      {"W1AW", "CT", 291, "CT"},   {"K2XX", "ENY", 291, "NY"},  {"N6AA", "SDG", 291, "CA"},
      {"AA1A", "MDC", 291, "MD"},  {"W1ABC", "DX", 0, ""},      {"AP2XYZ", "DX", 0, ""},
      {"KL7AA", "AK", 6, "AK"},    {"KH6XX", "PAC", 110, "HI"}, {"KP4AA", "PR", 202, ""},
      {"KP2AA", "VI", 285, ""},    {"VE1AA", "MAR", 1, ""},     {"VE3XYZ", "ONS", 1, ""},
      {"VE3AA", "GTA", 1, ""},     {"VE8AA", "NT", 1, ""},      {"VE3BB", "ONN", 1, ""},
      {"VE3CC", "ONE", 1, ""},     {"VA2AA", "QC", 1, ""},      {"VE3XX", "CT", 0, ""},
      {"G4ABC", "CT", 0, ""},      {"", "CT", 0, ""},           {"w1aw", "CT", 0, ""},
  };
  for (const auto& c : cases) {
    const int d = adif::dxcc(c.call, c.section);
    EXPECT_EQ(d, c.dxcc) << c.call << " " << c.section;
    EXPECT_EQ(adif::state(d, c.section), c.state) << c.call << " " << c.section;
  }
  EXPECT_EQ(adif::sectionState("PR"), "");
  EXPECT_EQ(adif::sectionState("DX"), "DX");
  EXPECT_EQ(adif::sectionState("EWA"), "WA");
}

TEST(AdifRules, HeaderTitleFromTheCaption) {
  EXPECT_EQ(adif::programTitle(kProgramTitle), "Varik Software Field Day Log 1.0");
}

class AdifExport : public OutputTest {
 protected:
  void seedGoldenLog() {
    add("W1AW", "2A", "CT", "2024/06/22", "18:01:02", "20", "CW", "JD", "14.025");
    add("VE3XYZ", "3A", "ONS", "2024/06/22", "18:05:30", "70", "PH", "", "446.000");
    add("AP2XYZ", "1A", "DX", "2024/06/22", "19:00:00", "15", "DIG", "ab", "");
    add("KH6XX", "1D", "PAC", "2024/06/22", "", "80", "CW", "", "");
    add("K1ABC", "3F", "ENY", "2024/06/23", "18:01", "SAT", "PH", "JD", "");
    add("KP4AA", "2A", "PR", "2024/13/40", "01:00:00", "2", "DIG", "", "  ");
  }
  void answer(const QStringList& inputs, const QString& file) {
    for (const QString& i : inputs) dlg().inputs.push_back(i);
    dlg().files.push_back(file);
  }
};

TEST_F(AdifExport, GoldenFileAndTheBoxes) {
  seedGoldenLog();
  answer({"100", "ARRL Field Day Contest", "ssb"}, path("docs/Field Day.adi"));
  main.calls.clear();
  svc.mnuADIFExport_Click();

  QFile golden(QStringLiteral(FD_SOURCE_DIR "/tests/output/data/export-basic.adi"));
  ASSERT_TRUE(golden.open(QIODevice::ReadOnly));
  EXPECT_EQ(readFile("docs/Field Day.adi"), golden.readAll());

  const auto& shown = dlg().shown;
  ASSERT_EQ(shown.size(), 5);
  EXPECT_EQ(shown[0].title, "Please enter your transmitter output power.");
  EXPECT_EQ(shown[0].text,
            "Please enter the power value that you would like to record.  This is an optional value that will be "
            "included in each QSO record and displayed in Tolva's power output column.");
  EXPECT_EQ(shown[0].defaultAnswer, "100");
  EXPECT_EQ(shown[1].title, "Please enter a comment.");
  EXPECT_EQ(shown[1].defaultAnswer, "ARRL Field Day Contest");
  EXPECT_EQ(shown[2].title, "Mode?");
  EXPECT_EQ(shown[2].defaultAnswer, "PH");
  EXPECT_EQ(shown[3].kind, "save");
  EXPECT_EQ(shown[3].text, path("docs") + "/Field Day.adi");
  EXPECT_EQ(shown[3].filter, "ADIF Files (*.adi *.ADI)");
  EXPECT_EQ(shown[4].title, "File Written Successfully.");
  EXPECT_EQ(shown[4].text, "The file was successfully written to the directory:\r\n\r\n" + path("docs/Field Day.adi") + ".");
  EXPECT_EQ(dlg().beeps, 0);
  EXPECT_EQ(state.QsoCount(), 6);  // the log is only read
}

TEST_F(AdifExport, CancelledBoxesLeaveTheirItemsOut) {
  add("W1AW", "2A", "CT", "2024/06/22", "18:30:00", "20", "PH", "JD", "14.250");
  answer({"", "", ""}, path("docs/x.adi"));
  svc.mnuADIFExport_Click();
  const QByteArray text = readFile("docs/x.adi");
  const QByteArray record =
      "<Call:4>W1AW <Qso_Date:8:d>20240622 <Band:3>20M <Time_On:6>183000 <DXCC:3>291 <State:2>CT \r\n"
      "<ARRL_SECT:2>CT <CLASS:2>2A \r\n"
      "<Freq:6>14.250 <VARIK_FDInitials:2>JD <Cont:2>NA <eor>\r\n"
      "\r\n";
  EXPECT_TRUE(text.endsWith("<EOH>\r\n" + record)) << text.toStdString();
}

// Older records may hold the radio's last frequency on a band chosen by
// hand. The export writes no frequency that contradicts the band item; what
// it cannot check (SAT, a band outside the frequency table, a blank) stays.
TEST_F(AdifExport, FrequencyOfAnotherBandIsLeftOut) {
  const struct {
    const char* band;
    const char* freq;
    bool written;
  } rows[] = {
      {"10", "14.200", false},  {"10", "28.400", true},  {"40", "5.300", false},   {"40", "abc", false},
      {"SAT", "14.200", true},  {"SAT", "435.100", true}, {"2.3", "2304.100", true}, {"2.3", "14.200", false},
      {"30", "10.120", true},   {"30", "14.200", false}, {"30", "5.300", true},    {"60", "14.200", true},
      {"40", " 7.025 ", true},  {"40", "  ", true},
      // An odd stored band goes out as "15CM", which a reader takes for 15.
      {"15C", "14.025", false}, {"15C", "21.200", true},
  };
  const auto call = [](int i) { return QString("K%1AA").arg(i); };
  int n = 0;
  for (const auto& r : rows) add(call(++n), "2A", "CT", "2024/06/22", "18:00:00", r.band, "CW", "", r.freq);
  answer({"", "", "PH"}, path("docs/f.adi"));
  svc.mnuADIFExport_Click();
  const QByteArray text = readFile("docs/f.adi");
  n = 0;
  for (const auto& r : rows) {
    SCOPED_TRACE(std::string(r.band) + " " + r.freq);
    const QString c = call(++n);
    const qsizetype at = text.indexOf(QString("<Call:%1>%2 ").arg(c.size()).arg(c).toLatin1());
    ASSERT_GE(at, 0);
    const QByteArray record = text.mid(at, text.indexOf("<eor>", at) - at);
    const QByteArray value = QByteArray(r.freq).trimmed();
    EXPECT_EQ(record.contains("<Freq:" + QByteArray::number(value.size()) + ">" + value + " "), r.written);
    EXPECT_EQ(record.contains("<Freq:"), r.written);
  }
}

TEST_F(AdifExport, EmptyLogGivesTheHeaderAlone) {
  answer({"100", "c", "PH"}, path("docs/e.adi"));
  svc.mnuADIFExport_Click();
  const QList<QByteArray> lines = readFile("docs/e.adi").split('\n');
  ASSERT_EQ(lines.size(), 8);  // seven lines and what follows the last line end
  EXPECT_EQ(lines[6], "<EOH>\r");
  EXPECT_EQ(lines[7], "");
}

TEST_F(AdifExport, LengthsCountBytesOfOurTable) {
  add(QString::fromUtf8("W1\u00c9X"), "2A", "CT", "2024/06/22", "18:30:00", "20", "CW");
  answer({"", QString::fromUtf8("caf\u00e9 \u4e2d"), "PH"}, path("docs/b.adi"));
  svc.mnuADIFExport_Click();
  const QByteArray text = readFile("docs/b.adi");
  EXPECT_TRUE(text.contains("<Call:4>W1\xc9X ")) << text.toStdString();
  EXPECT_TRUE(text.contains("<Comment:6>caf\xe9 ?\r\n"));
}

TEST_F(AdifExport, CancelledSaveDialogWritesAndShowsNothing) {
  add("W1AW", "2A", "CT", "2024/06/22", "18:30:00", "20", "CW");
  answer({"100", "c", "PH"}, QString());
  svc.mnuADIFExport_Click();
  EXPECT_EQ(dlg().shown.size(), 4);  // three boxes and the dialog
  EXPECT_EQ(dlg().beeps, 0);
  EXPECT_TRUE(QDir(path("docs")).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST_F(AdifExport, FailedWriteShowsTheReasonAndKeepsTheOldFile) {
  add("W1AW", "2A", "CT", "2024/06/22", "18:30:00", "20", "CW");
  for (int i = 0; i < 200; ++i) add("K1ABC", "2A", "CT", "2024/06/22", "18:30:00", "20", "CW");
  writeFile("docs/old.adi", "old file\r\n");

  // A full disk.
  answer({"100", "c", "PH"}, path("docs/old.adi"));
  {
    test::ScopedFileSizeLimit limit(2000);
    svc.mnuADIFExport_Click();
  }
  EXPECT_EQ(readFile("docs/old.adi"), "old file\r\n");
  EXPECT_EQ(dlg().beeps, 1);
  ASSERT_EQ(dlg().shown.size(), 5);
  EXPECT_EQ(dlg().shown[4].title, "Unable to write file.");
  EXPECT_FALSE(dlg().shown[4].text.isEmpty());
  EXPECT_FALSE(dlg().titles().contains("File Written Successfully."));

  // A folder that does not exist (no write possible there).
  dlg().clear();
  answer({"100", "c", "PH"}, path("missing/x.adi"));
  svc.mnuADIFExport_Click();
  EXPECT_EQ(dlg().beeps, 1);
  EXPECT_EQ(dlg().titles().last(), "Unable to write file.");
  EXPECT_FALSE(QFile::exists(path("missing/x.adi")));
}

class TolvaExport : public OutputTest {};

TEST_F(TolvaExport, GoldenLinesAndTheBox) {
  add("W1AW", "2A", "CT", "2024/06/22", "18:01:02", "20", "CW", "JD", "14.025");
  add("VE3XYZ", "3A", "ONS", "2024/06/22", "19:30:00", "40", "PH");
  add("KP4AA", "2A", "PR", "2024/06/23", "01:00:00", "2", "DIG");
  add("G4ABC", "1A", "DX", "2024/06/22", "20:00:00", "15", "PH");
  add("N3ABC", "1D", "MDC", "2024/06/22", "21:00:00", "10", "CW");
  svc.mnuTolvaExport_Click();
  EXPECT_EQ(readFile("LogExp.txt"),
            "\"W1AW\",\"2024/06/22\",\"20\",\"CW\",,\"18:01:02\",,,,\"USA\",\"CT\",,,,,\"ARRL Field Day Contest - Section - CT\"\r\n"
            "\"VE3XYZ\",\"2024/06/22\",\"40\",\"PH\",,\"19:30:00\",,,,\"Canada\",\"\",,,,,\"ARRL Field Day Contest - Section - ONS\"\r\n"
            "\"KP4AA\",\"2024/06/23\",\"2\",\"DIG\",,\"01:00:00\",,,,\"USA\",\"\",,,,,\"ARRL Field Day Contest - Section - PR\"\r\n"
            "\"G4ABC\",\"2024/06/22\",\"15\",\"PH\",,\"20:00:00\",,,,\"USA\",\"DX\",,,,,\"ARRL Field Day Contest - Section - DX\"\r\n"
            "\"N3ABC\",\"2024/06/22\",\"10\",\"CW\",,\"21:00:00\",,,,\"USA\",\"MD\",,,,,\"ARRL Field Day Contest - Section - MDC\"\r\n");
  EXPECT_EQ(dlg().beeps, 1);
  ASSERT_EQ(dlg().shown.size(), 1);
  EXPECT_EQ(dlg().shown[0].title, "Export Successful!");
  EXPECT_EQ(dlg().shown[0].text,
            "LogExp.txt has been written to this program's working directory (" + dir.path() +
                ").  Import these contacts into the Tolva program by clicking File, Import, and navigating to this "
                "directory from the Tolva program.");
}

TEST_F(TolvaExport, EmptyLogAndAnEmptyCall) {
  svc.mnuTolvaExport_Click();
  EXPECT_TRUE(QFile::exists(path("LogExp.txt")));
  EXPECT_EQ(readFile("LogExp.txt"), "");
  EXPECT_EQ(dlg().titles(), QStringList{"Export Successful!"});
  add("", "2A", "ONS", "2024/06/22", "18:01:02", "20", "CW");
  EXPECT_TRUE(tolva::exportFile(state.Log.records()).contains("\"USA\",\"ONS\""));
}

TEST_F(TolvaExport, UnwritableFolderShowsTheErrorOnly) {
  add("W1AW", "2A", "CT", "2024/06/22", "18:01:02", "20", "CW");
  writeFile("LogExp.txt", "old\r\n");
  {
    test::ScopedFileSizeLimit limit(10);
    svc.mnuTolvaExport_Click();
  }
  EXPECT_EQ(readFile("LogExp.txt"), "old\r\n");
  EXPECT_EQ(dlg().titles(), QStringList{"Unable to write file."});
  EXPECT_EQ(dlg().beeps, 1);
}

TEST_F(AdifExport, ProvidesTheMenuItem) {
  EXPECT_TRUE(svc.provides(OutputServices::Feature::AdifExport));
}

}  // namespace
}  // namespace fd
