#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPushButton>
#include <QRandomGenerator>
#include <gtest/gtest.h>

#include "core/title.h"
#include "log/logfile.h"
#include "output/adif.h"
#include "output/combine.h"
#include "output/combine_window.h"
#include "output_fixture.h"

namespace fd {
namespace {

using test::recordLine;

QsoRecord rec(const QString& call, const QString& date, const QString& time, const QString& band = "20",
              const QString& mode = "CW") {
  return QsoRecord{call, "1A", "CT", date, time, band, mode, "", ""};
}
QStringList calls(const std::vector<QsoRecord>& v) {
  QStringList out;
  for (const auto& r : v) out << r.Call;
  return out;
}

TEST(AdifRead, BandReadBack) {
  const std::pair<const char*, const char*> cases[] = {
      {"20M", "20"},   {"20m", "20"},    {"1.25M", "1.25"}, {"2M", "2"},    {"160M", "160"}, {"70CM", "70"},
      {"70cm", "70"},  {"33CM", "33"},   {"35CM", "33"},    {"23CM", "23"}, {"13CM", "2.3"}, {"9CM", "3.3"},
      {"6CM", "5.6"},  {"6cm", "5.6"},   {"3CM", "3"},      {"SATM", "SAT"}, {"satm", "SAT"}, {"20", "20"},
      {"M", "M"},      {"XYZ", "XYZ"},   {"ABM", "ABM"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(adif::bandFromName(in), out) << in;
}

TEST(AdifRead, BandFromFrequency) {
  const std::pair<const char*, const char*> cases[] = {
      {"14.025", "20"}, {"5.3", ""},    {"10.12", "30"}, {"144.2", "2"},  {"1.8", "160"}, {"7.3", "40"},
      {"446.000", "70"}, {"2400", "2.3"}, {"18.1", "17"}, {"24.9", "12"}, {"junk", ""},    {"14,025", ""},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(adif::bandFromFrequency(in), out) << in;
}

TEST(AdifRead, RecordsSharingALineAndTagsInsideValues) {
  const QByteArray file =
      "<call:4>AAAA <mode:2>cw <eor><call:4>BBBB <eor>\r\n<comment:9>x<eor>yyyy <call:4>CCCC <eor>"
      "<mode:2>CW <eor><call:4>DDDD";  // a record without a call; one without its end
  const auto r = adif::readRecords(file);
  EXPECT_EQ(calls(r), (QStringList{"AAAA", "BBBB", "CCCC"}));
  EXPECT_EQ(r[0].Mode, "CW");
  // No header: read from the first character; a length past the end gives what is there.
  const auto cut = adif::readRecords("<call:9>W1AW<eor>");
  EXPECT_TRUE(cut.empty());  // the value ran to the end, so no <eor> was left
  EXPECT_EQ(calls(adif::readRecords("<call:4:s>W1AW <class:>x <eor>")), QStringList{"W1AW"});
}

TEST(Combine, DuplicateRule) {
  const std::vector<QsoRecord> log = {rec("W1AW", "2024/06/22", "18:00:00", "20", "CW")};
  const std::vector<QsoRecord> file = {rec("w1aw", "2024/06/22", "19:00:00", "20", "CW"),
                                       rec("W1AW", "2024/06/22", "19:00:00", "40", "CW"),
                                       rec("K2XX", "2024/06/22", "19:00:00", "20", "PH"),
                                       rec("K2XX", "2024/06/22", "19:05:00", "20", "ph")};
  const auto kept = combine::dropDuplicates(log, file);
  ASSERT_EQ(kept.size(), 2u);
  EXPECT_EQ(kept[0].Band, "40");
  EXPECT_EQ(kept[1].Call, "K2XX");
}

// The one-by-one insertion the merge must equal.
std::vector<QsoRecord> oneByOne(std::vector<QsoRecord> log, const std::vector<QsoRecord>& incoming) {
  for (const QsoRecord& r : incoming) {
    const QString key = (r.Date + r.Time).toCaseFolded();
    auto it = std::find_if(log.begin(), log.end(), [&](const QsoRecord& o) { return (o.Date + o.Time).toCaseFolded() > key; });
    log.insert(it, r);
  }
  return log;
}

TEST(Combine, InsertionOrder) {
  const std::vector<QsoRecord> log = {rec("A", "2024/06/22", "18:00:00"), rec("B", "2024/06/22", "19:00:00")};
  const std::vector<QsoRecord> file = {rec("X", "2024/06/22", "18:30:00"), rec("Y", "2024/06/22", "19:00:00"),
                                       rec("Z", "2024/06/22", "17:00:00")};
  EXPECT_EQ(calls(combine::merge(log, file)), (QStringList{"Z", "A", "X", "B", "Y"}));

  // Logs not in time order, with equal keys, against the plain insertion.
  QRandomGenerator rng(42);
  for (int round = 0; round < 50; ++round) {
    std::vector<QsoRecord> a, b;
    const auto t = [&] { return QStringLiteral("%1:00:00").arg(rng.bounded(10, 14)); };
    for (int i = 0, n = rng.bounded(0, 12); i < n; ++i) a.push_back(rec(QStringLiteral("O%1").arg(i), "2024/06/22", t()));
    for (int i = 0, n = rng.bounded(0, 12); i < n; ++i) b.push_back(rec(QStringLiteral("N%1").arg(i), "2024/06/22", t()));
    EXPECT_EQ(calls(combine::merge(a, b)), calls(oneByOne(a, b))) << round;
  }
}

class Append : public test::OutputTest {
 protected:
  void seedLog(const QByteArray& lines) {
    writeFile("fdlog.dat", lines);
    ASSERT_TRUE(book.mnuopen2());
  }
};

TEST_F(Append, AdifFileIntoAnEmptyLog) {
  writeFile("docs/in.adi",
            "made by hand\r\n"
            "<ADIF_VER:5>3.1.4 <EOH>\r\n"
            "<CALL:5>k1abc <BAND:4>70cm <MODE:3>ssb <QSO_DATE:8>20240622 <TIME_ON:4>1801 <ARRL_SECT:3>ENY <CLASS:2>3A <eor>\r\n"
            "<call:4>W9XY <freq:6>14.025 <mode:2>cw <qso_date:8>20240623 <time_on:6>010203 <arrl_sect:2>IL <class:2>1D <eor> "
            "<call:4>N0ZZ <band:4>SATM <mode:3>USB <qso_date:8>20240623 <time_on:5>01020 <arrl_sect:2>MN <class:2>2A <eor>\r\n"
            "<comment:11><call:3>XYZ <call:5>VE3AA <band:3>20m <freq:5>5.300 <mode:4>RTTY <qso_date:8>20240623 "
            "<time_on:6>020000 <arrl_sect:3>GTA <class:2>1A <VARIK_FDInitials:2>ab <eor>\r\n");
  EXPECT_TRUE(svc.appendFile(path("docs/in.adi"), true));
  EXPECT_EQ(readFile("fdlog.dat"), "\"k1abc\",\"3A\",\"ENY\",\"2024/06/22\",\"18:01\",\"70\",\"PH\",\"\",\"\",\"\"\r\n"
                                   "\"N0ZZ\",\"2A\",\"MN\",\"2024/06/23\",\"\",\"SAT\",\"USB\",\"\",\"\",\"\"\r\n"
                                   "\"W9XY\",\"1D\",\"IL\",\"2024/06/23\",\"01:02:03\",\"20\",\"CW\",\"\",\"14.025\",\"\"\r\n"
                                   "\"VE3AA\",\"1A\",\"GTA\",\"2024/06/23\",\"02:00:00\",\"20\",\"RTTY\",\"ab\",\"5.300\",\"\"\r\n");
  EXPECT_EQ(main.reloads, 1);
  EXPECT_EQ(state.QsoCount(), 4);
  EXPECT_TRUE(dlg().shown.isEmpty());  // no box after a successful append
}

TEST_F(Append, DuplicatesUntickedTakeEverything) {
  seedLog(recordLine("W1AW", "2A", "CT", "2024/06/22", "18:00:00", "20", "CW"));
  writeFile("in.dat", recordLine("w1aw", "1A", "CT", "2024/06/22", "19:00:00", "20", "CW") +
                          recordLine("W1AW", "1A", "CT", "2024/06/22", "19:01:00", "40", "CW") +
                          recordLine("K2XX", "1A", "CT", "2024/06/22", "19:02:00", "20", "PH") +
                          recordLine("K2XX", "1A", "CT", "2024/06/22", "19:03:00", "20", "PH"));
  EXPECT_TRUE(svc.appendFile("in.dat", false));  // relative to the program folder
  EXPECT_EQ(state.QsoCount(), 5);
}

TEST_F(Append, TheLiveLogByAnyNameIsRefused) {
  seedLog(recordLine("W1AW", "2A", "CT", "2024/06/22", "18:00:00", "20", "CW"));
  const QByteArray before = readFile("fdlog.dat");
  QFile::link(path("fdlog.dat"), path("docs/link.dat"));
  for (const QString& name : {path("fdlog.dat"), QString("fdlog.dat"), QString("./fdlog.dat"), path("docs/../fdlog.dat"),
                              path("docs/link.dat"), " " + path("fdlog.dat") + " "}) {
    dlg().clear();
    EXPECT_FALSE(svc.appendFile(name, false)) << name.toStdString();
    EXPECT_EQ(dlg().titles(), QStringList{"Invalid Request!"});
    EXPECT_EQ(dlg().shown[0].text, "You can not append the same file onto itself.");
    EXPECT_EQ(dlg().beeps, 1);
  }
  EXPECT_EQ(readFile("fdlog.dat"), before);
  EXPECT_EQ(state.QsoCount(), 1);
}

TEST_F(Append, UnreadableAndJunkFiles) {
  seedLog(recordLine("W1AW", "2A", "CT", "2024/06/22", "18:00:00", "20", "CW"));
  const QByteArray before = readFile("fdlog.dat");
  struct Case {
    QString name;
    QByteArray contents;  // empty: no file
    const char* title;
  };
  const Case cases[] = {
      {"missing.dat", {}, "Append Error"},
      {"", {}, "Append Error"},
      {"junk.dat", "this is not a log\r\nnor is this\r\n", "Append Error"},
      {"missing.ADI", {}, "Invalid ADIF File Format."},
      {"junk.adi", "no records here", "Invalid ADIF File Format."},
      {"cut.adi", "<EOH>\r\n<call:4>K1AA <band:3>20m <mode:2>CW", "Invalid ADIF File Format."},  // its only record
  };
  for (const Case& c : cases) {
    if (!c.contents.isEmpty()) writeFile(c.name, c.contents);
    dlg().clear();
    EXPECT_FALSE(svc.appendFile(c.name.isEmpty() ? QString() : path(c.name), true)) << c.name.toStdString();
    EXPECT_EQ(dlg().titles(), QStringList{c.title}) << c.name.toStdString();
    EXPECT_EQ(dlg().beeps, 1);
  }
  EXPECT_EQ(readFile("fdlog.dat"), before);
  EXPECT_EQ(state.QsoCount(), 1);
  EXPECT_EQ(main.reloads, 0);
}

TEST_F(Append, LinesThatAreNotContactsAreLeftOutAndCounted) {
  writeFile("in.dat", recordLine("K1AA", "1A", "CT", "2024/06/22", "18:00:00", "20", "CW") + "damaged line\r\n" +
                          recordLine("K2AA", "1A", "CT", "2024/06/22", "18:01:00", "20", "CW") + "\r\n");
  EXPECT_TRUE(svc.appendFile(path("in.dat"), true));
  EXPECT_EQ(state.QsoCount(), 2);
  ASSERT_EQ(dlg().shown.size(), 1);
  EXPECT_TRUE(dlg().shown[0].text.startsWith("1 line(s)"));
}

// A data file's field may hold a lone CR; the log file cannot keep it, so
// the contact is taken as the file will hold it, and the duplicate rule
// sees that.
TEST_F(Append, ADataFilesContactIsTakenAsTheLogFileHoldsIt) {
  seedLog(recordLine("K3AA", "1A", "CT", "2024/06/22", "18:00:00", "20", "CW"));
  writeFile("in.dat", recordLine("K3\rAA", "1A", "CT", "2024/06/22", "18:05:00", "20", "CW") +
                          recordLine("K4\rBB", "2\rA", "CT", "2024/06/22", "18:06:00", "20", "CW"));
  EXPECT_TRUE(svc.appendFile(path("in.dat"), true));
  ASSERT_EQ(state.QsoCount(), 2);
  EXPECT_EQ(state.Log.records()[1].Call, "K4BB");
  EXPECT_EQ(state.Log.records()[1].Class, "2A");
  EXPECT_EQ(readFile("fdlog.dat"), recordLine("K3AA", "1A", "CT", "2024/06/22", "18:00:00", "20", "CW") +
                                       recordLine("K4BB", "2A", "CT", "2024/06/22", "18:06:00", "20", "CW"));
}

// Records left out are told in one box after the append: those without a
// call, and a last record cut short (text after the last <eor> that holds a
// field).
TEST_F(Append, AdifRecordsLeftOutAreCountedAndTold) {
  const QByteArray head =
      "<ADIF_VER:5>3.1.4 <EOH>\r\n"
      "<call:4>K1AA <band:3>20m <mode:2>CW <qso_date:8>20240622 <time_on:4>1800 <eor>\r\n";
  const QByteArray withoutCall =
      "<band:3>40m <mode:2>CW <qso_date:8>20240622 <time_on:4>1801 <eor>\r\n"
      "<call:0> <band:3>40m <mode:2>CW <eor>\r\n"
      "<eor>\r\n";  // no field at all: not a record
  const QByteArray last = "<call:4>K2AA <band:3>20m <mode:2>CW <qso_date:8>20240622 <time_on:4>1802 <eor>\r\n";
  const QString noCall = "2 record(s) of the file had no call and were left out.";
  const QString cut = "The last record of the file has no <eor> (the file may be cut short) and was left out.";
  const struct {
    const char* name;
    QByteArray file;
    QString box;  // empty: no box
  } cases[] = {
      {"records without a call", head + withoutCall + last, noCall},
      {"and a last record cut short", head + withoutCall + last + "<call:4>K3AA <band:3>20m <mo", noCall + "  " + cut},
      {"a last record without its <eor>", head + last + "<call:4>K3AA <band:3>20m <mode:2>CW\r\n", cut},
      {"a value cut short", head + last + "<call:4>K3", cut},
      {"a last record of no call cut short", head + last + "<band:3>20m", cut},
      {"text after the last <eor> without a field", head + last + "\r\n<app_end>\r\nmade by hand <ca", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    seedLog({});
    dlg().clear();
    writeFile("in.adi", c.file);
    EXPECT_TRUE(svc.appendFile(path("in.adi"), true));
    EXPECT_EQ(state.QsoCount(), 2);
    QStringList boxes;
    for (const auto& b : dlg().shown) boxes << b.title + ": " + b.text;
    EXPECT_EQ(boxes.join("\n").toStdString(),
              c.box.isEmpty() ? "" : ("Append Data or Restore From Backup: " + c.box).toStdString());
    EXPECT_EQ(dlg().beeps, 0);
  }
}

// Tags without a colon, and no colon anywhere: a reader that looked for the
// colon up to the end of the file for each tag took minutes over these 6 MB
// (past the test's time limit); reading inside each tag takes a fraction of
// a second.
TEST_F(Append, LargeFileOfAnotherKindIsRefusedAtOnce) {
  QByteArray page;
  page.reserve(6 * 1024 * 1024 + 64);
  while (page.size() < 6 * 1024 * 1024) page += "<b><b><b><i><i><i><p><p>\r\n";
  writeFile("page.adi", page);
  EXPECT_FALSE(svc.appendFile(path("page.adi"), true));
  EXPECT_EQ(dlg().titles(), QStringList{"Invalid ADIF File Format."});
  EXPECT_EQ(state.QsoCount(), 0);
  EXPECT_EQ(main.reloads, 0);
}

TEST_F(Append, OverTheLimitIsRefusedWithTheCounts) {
  QByteArray log;
  for (int i = 0; i < 13990; ++i) log += recordLine(QStringLiteral("K%1").arg(i), "1A", "CT", "2024/06/22", "18:00:00", "20", "CW");
  seedLog(log);
  QByteArray in;
  for (int i = 0; i < 20; ++i) in += recordLine(QStringLiteral("N%1").arg(i), "1A", "CT", "2024/06/22", "19:00:00", "20", "CW");
  writeFile("in.dat", in);
  EXPECT_FALSE(svc.appendFile(path("in.dat"), true));
  ASSERT_EQ(dlg().titles(), QStringList{"Append Error"});
  EXPECT_TRUE(dlg().shown[0].text.contains("13990"));
  EXPECT_TRUE(dlg().shown[0].text.contains("20 new"));
  EXPECT_TRUE(dlg().shown[0].text.contains("14000"));
  EXPECT_EQ(state.QsoCount(), 13990);
  EXPECT_EQ(readFile("fdlog.dat"), log);
}

TEST_F(Append, FailedRewriteLeavesMemoryAndFileAsTheyWere) {
  QByteArray log;
  for (int i = 0; i < 50; ++i) log += recordLine(QStringLiteral("K%1").arg(i), "1A", "CT", "2024/06/22", "18:00:00", "20", "CW");
  seedLog(log);
  writeFile("in.dat", recordLine("N0NEW", "1A", "CT", "2024/06/22", "17:00:00", "20", "CW"));
  {
    test::ScopedFileSizeLimit limit(1000);
    EXPECT_FALSE(svc.appendFile(path("in.dat"), true));
  }
  EXPECT_EQ(dlg().titles(), QStringList{"Append Error"});
  EXPECT_EQ(readFile("fdlog.dat"), log);
  EXPECT_EQ(state.QsoCount(), 50);
  EXPECT_EQ(state.Log.rec(1).Call, "K0");
  EXPECT_EQ(main.reloads, 0);
}

TEST_F(Append, RoundTripThroughTheAdifExport) {
  const QStringList bands = {"160", "80", "40", "20", "15", "10", "6", "2", "1.25", "70", "33", "23", "SAT", "2.3", "3.3", "5.6"};
  // A frequency inside each band (the export leaves out one of another band).
  const QStringList freqs = {"1.830",   "3.550",   "7.025",    "14.025",   "21.025",   "28.025",   "50.125",   "144.200",
                             "222.100", "432.100", "903.100",  "1296.100", "14.025",   "2304.100", "3456.100", "5760.100"};
  const QStringList sections = {"CT", "DX", "ONS", "PAC", "AK", "MAR", "PR", "GTA"};
  const QStringList modes = {"CW", "DIG", "PH"};
  std::vector<QsoRecord> log;
  int minute = 0;
  for (qsizetype b = 0; b < bands.size(); ++b)
    for (const QString& mode : modes) {
      const QString sec = sections[minute % sections.size()];
      log.push_back(QsoRecord{QStringLiteral("%1%2X").arg(sec == "DX" ? "G4" : sec == "GTA" ? "VE3" : "K1").arg(minute),
                              "2A", sec, "2024/06/22",
                              QStringLiteral("%1:%2%3").arg(18 + minute / 60).arg(minute % 60, 2, 10, QChar('0'))
                                  .arg(minute % 4 == 0 ? "" : ":30"),
                              bands[b], mode, minute % 3 ? "AB" : "", minute % 2 ? freqs[b] : ""});
      ++minute;
    }
  for (const QString designation : {"PH", "SSB"}) {
    writeFile("docs/rt.adi", adif::exportFile(log, {"100", "c", designation}, kProgramTitle, QDate(2024, 6, 23)));
    QFile::remove(path("fdlog.dat"));
    book.mnuopen2();
    ASSERT_TRUE(svc.appendFile(path("docs/rt.adi"), true));
    ASSERT_EQ(state.QsoCount(), static_cast<int>(log.size()));
    for (int i = 0; i < state.QsoCount(); ++i) {
      QsoRecord want = log[static_cast<size_t>(i)];
      if (want.Time.size() == 5) want.Time += ":00";  // "hh:mm" comes back "hh:mm:00"
      EXPECT_EQ(state.Log.rec(i + 1), want) << designation.toStdString() << " record " << i + 1;
    }
  }
}

TEST_F(Append, BackupRestoredIntoAnEmptiedLogIsByteIdentical) {
  QByteArray log;
  for (int i = 0; i < 30; ++i)
    log += recordLine(QStringLiteral("K%1").arg(i), "1A", "CT", "2024/06/22", QStringLiteral("18:%1:00").arg(i, 2, 10, QChar('0')),
                      i % 2 ? "20" : "SAT", i % 3 ? "CW" : "PH", "AB", "14.025");
  // An older record whose frequency lies in another band comes back as stored.
  log += recordLine("K3XX", "2A", "WPA", "2026/12/11", "14:00:43", "10", "PH", "JD", "14.200");
  writeFile("LogBkUp.dat", log);
  seedLog(QByteArray());
  EXPECT_TRUE(svc.appendFile(path("LogBkUp.dat"), true));
  EXPECT_EQ(readFile("fdlog.dat"), log);
}

TEST_F(Append, WindowBrowseCheckAndAppend) {
  Form3 form(state, [this](const QString& n, bool d) { return svc.appendFile(n, d); }, &main.parent);
  form.show();
  EXPECT_EQ(form.windowTitle(), "Append Data or Restore From Backup");
  EXPECT_TRUE(form.Check1->isChecked());
  EXPECT_EQ(form.focusWidget(), static_cast<QWidget*>(form.Text1));
  EXPECT_EQ(form.Label4->text(), "Be very careful!  Improper use of this function will render your database unuseable!");

  form.Text1->setText("kept");
  dlg().files.push_back(QString());
  form.Command3_Click();
  EXPECT_EQ(form.Text1->text(), "kept");
  EXPECT_EQ(dlg().beeps, 1);
  EXPECT_EQ(dlg().shown[0].kind, "open");
  EXPECT_EQ(dlg().shown[0].text, state.FieldDayDir);
  EXPECT_EQ(dlg().shown[0].filter, "*.DAT, *.ADI (*.dat *.DAT *.adi *.ADI)");

  writeFile("docs/b.dat", recordLine("K1AA", "1A", "CT", "2024/06/22", "18:00:00", "20", "CW"));
  dlg().files.push_back(path("docs/b.dat"));
  form.Command3_Click();
  EXPECT_EQ(form.Text1->text(), path("docs/b.dat"));
  EXPECT_EQ(form.focusWidget(), static_cast<QWidget*>(form.Command2));

  // Unticking asks; anything but Yes ticks it again.
  dlg().answers.push_back(Answer::No);
  form.Check1->click();
  EXPECT_TRUE(form.Check1->isChecked());
  dlg().answers.push_back(Answer::Yes);
  form.Check1->click();
  EXPECT_FALSE(form.Check1->isChecked());
  form.Check1->click();  // ticking asks nothing
  EXPECT_TRUE(form.Check1->isChecked());
  EXPECT_EQ(dlg().titles().count("Are you sure"), 2);

  state.BackupMinutes = 7;
  state.LastBackupCount = 3;
  form.Command2_Click();
  EXPECT_EQ(state.QsoCount(), 1);
  EXPECT_EQ(state.BackupMinutes, 0);
  EXPECT_EQ(state.LastBackupCount, 0);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(form.focusWidget(), static_cast<QWidget*>(form.Command1));
  form.Command1_Click();
  EXPECT_FALSE(form.isVisible());
}

}  // namespace
}  // namespace fd
