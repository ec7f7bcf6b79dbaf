// The log book: loading fdlog.dat with its counts and score, the lines it does
// not take, append, rewrite and "&New".
#include <map>

#include "log/logbook.h"
#include "log/logfile.h"
#include "testenv.h"

namespace fd {
namespace {

using test::recordLine;

constexpr ColorValue kWorked = rgbValue(255, 0, 0);
constexpr ColorValue kRemaining = rgbValue(0, 0, 255);

QByteArray rec(const QString& call, const QString& sec, const QString& mode, const char* end = "\r\n") {
  QByteArray l = recordLine(call, "2A", sec, "2024/06/22", "18:05:00", "20", mode, "AB");
  l.chop(2);
  return l + end;
}

class FoundLogBook : public test::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    state.WorkedColor = kWorked;
    state.RemainingColor = kRemaining;
  }
  int messages() const {
    int n = 0;
    for (const auto& s : fake->dialogs->shown) n += s.kind == QLatin1String("message");
    return n;
  }
  QString lastText() const { return fake->dialogs->shown.isEmpty() ? QString() : fake->dialogs->shown.last().text; }

  test::RecordingLogView view;
  LogBook book{state, &view};
};

TEST_F(FoundLogBook, LoadTable) {
  struct Case {
    const char* name;
    QByteArray file;
    int count, cw, dig, ph;
    std::map<int, int> worked;  // section row -> contacts
    int kept;
  };
  const Case cases[] = {
      {"empty", "", 0, 0, 0, 0, {}, 0},
      {"modes and sections",
       rec("W1A", "CT", "CW") + rec("W1B", "CT", "PH") + rec("W1C", "CT", "DIG") + rec("K1D", "DX", "CW") +
           rec("K1E", "XYZ", "PH") + rec("K1F", "ENY", "RTTY") + rec("K1G", "ct", "cw"),
       7, 2, 1, 2, {{1, 3}, {9, 1}}, 0},
      {"LF-only lines and blank lines", "\r\n" + rec("W1A", "MDC", "PH", "\n") + "\n\n" + rec("W1B", "GTA", "CW", "\n"),
       2, 1, 0, 1, {{16, 1}, {83, 1}}, 0},
      {"cut last line", rec("W1A", "CT", "CW") + "\"K1Z\",\"2A\",\"CT\",\"2024/0", 1, 1, 0, 0, {{1, 1}}, 1},
      {"tenth item cut", rec("W1A", "CT", "CW") + rec("W1B", "CT", "CW").chopped(3), 2, 2, 0, 0, {{1, 2}}, 0},
      {"nine items", "\"W1A\",\"2A\",\"VT\",\"2024/06/22\",\"18:05:00\",\"20\",\"PH\",\"AB\",\"\"\r\n", 1, 0, 0, 1,
       {{6, 1}}, 0},
      {"non-empty tenth item", rec("W1A", "VT", "PH").replace(",\"\"\r\n", ",\"junk\"\r\n"), 1, 0, 0, 1, {{6, 1}}, 0},
      {"broken lines among records",
       "oops\r\n" + rec("W1A", "CT", "CW") + "\"a\",\"b\"\r\n" + rec("W1B", "ME", "PH") +
           rec("W1C", "ME", "PH").replace("\r\n", ",\"x\"\r\n"),
       2, 1, 0, 1, {{1, 1}, {3, 1}}, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    writeFile("fdlog.dat", c.file);
    fake->dialogs->clear();
    state.KeptLinesReported = 0;
    view = test::RecordingLogView{};
    ASSERT_TRUE(book.mnuopen2());
    EXPECT_EQ(state.QsoCount(), c.count);
    EXPECT_EQ(state.CWCount, c.cw);
    EXPECT_EQ(state.DigCount, c.dig);
    EXPECT_EQ(state.PhCount, c.ph);
    EXPECT_EQ(view.cw, c.cw);
    EXPECT_EQ(view.dig, c.dig);
    EXPECT_EQ(view.ph, c.ph);
    EXPECT_EQ(view.score, 2 * c.cw + 2 * c.dig + c.ph);
    EXPECT_EQ(view.listsFilled, 1);
    EXPECT_EQ(view.statsRun, 1);
    EXPECT_EQ(state.KeptLines.size(), c.kept);
    EXPECT_EQ(messages(), c.kept > 0 ? 1 : 0);
    // Every row first in the remaining colour, a worked row once more, when its count reaches 1.
    EXPECT_EQ(view.paints, kSecTotal + static_cast<int>(c.worked.size()));
    for (int row = 1; row <= kSecTotal; ++row) {
      const auto it = c.worked.find(row);
      const int n = it == c.worked.end() ? 0 : it->second;
      EXPECT_EQ(state.sectionWorked(row), n) << "row " << row;
      EXPECT_EQ(book.worked(row), n) << "row " << row;
      EXPECT_EQ(view.sectionColor[row], n > 0 ? kWorked : kRemaining) << "row " << row;
    }
  }
}

TEST_F(FoundLogBook, RecordsKeepTheirFieldsAndOrder) {
  writeFile("fdlog.dat", recordLine("W1AW", "2A", "CT", "2024/06/22", "18:05:00", "20", "CW", "AB", "14.025") +
                             recordLine("K2X", "1E", "DX", "2024/06/23", "01:00:59", "SAT", "DIG", "", ""));
  ASSERT_TRUE(book.mnuopen2());
  ASSERT_EQ(state.QsoCount(), 2);
  EXPECT_EQ(state.Log.rec(1), (QsoRecord{"W1AW", "2A", "CT", "2024/06/22", "18:05:00", "20", "CW", "AB", "14.025"}));
  EXPECT_EQ(state.Log.rec(2), (QsoRecord{"K2X", "1E", "DX", "2024/06/23", "01:00:59", "SAT", "DIG", "", ""}));
}

TEST_F(FoundLogBook, MissingFileShowsErrorAndAnEmptyLog) {
  writeFile("fdlog.dat", rec("W1A", "CT", "CW"));
  ASSERT_TRUE(book.mnuopen2());
  ASSERT_TRUE(QFile::remove(path("fdlog.dat")));
  EXPECT_FALSE(book.mnuopen2());
  ASSERT_EQ(fake->dialogs->shown.size(), 1);
  EXPECT_EQ(fake->dialogs->shown[0].title, QStringLiteral("File Error"));
  EXPECT_EQ(fake->dialogs->shown[0].text, QStringLiteral("Error opening file."));
  EXPECT_EQ(state.QsoCount(), 0);
  EXPECT_EQ(state.CWCount, 0);
  EXPECT_EQ(state.sectionWorked(1), 0);
  EXPECT_EQ(view.sectionColor[1], kRemaining);
  // The list and totals follow the empty memory log, so no row names a record that is gone.
  EXPECT_EQ(view.cw, 0);
  EXPECT_EQ(view.listsFilled, 2);
}

TEST_F(FoundLogBook, EqualColoursNeverMakeEverySectionWorked) {
  state.WorkedColor = state.RemainingColor = 0;
  writeFile("fdlog.dat", rec("W1A", "CT", "CW"));
  ASSERT_TRUE(book.mnuopen2());
  EXPECT_EQ(state.sectionWorked(1), 1);
  for (int row = 2; row <= kSecTotal; ++row) EXPECT_EQ(state.sectionWorked(row), 0);
  EXPECT_EQ(state.sectionWorked(0), 0);
  EXPECT_EQ(state.sectionWorked(84), 0);
}

TEST_F(FoundLogBook, MoreThan14000RecordsLoadTheFirst14000AndKeepTheRest) {
  QByteArray file;
  for (int i = 1; i <= 14001; ++i) file += rec(QStringLiteral("K%1").arg(i), "CT", "PH");
  writeFile("fdlog.dat", file);
  ASSERT_TRUE(book.mnuopen2());
  EXPECT_EQ(state.QsoCount(), 14000);
  EXPECT_EQ(state.Log.rec(14000).Call, QStringLiteral("K14000"));
  EXPECT_EQ(state.PhCount, 14000);
  ASSERT_EQ(state.KeptLines.size(), 1);
  EXPECT_EQ(messages(), 1);
  EXPECT_TRUE(lastText().contains(QStringLiteral("14000"))) << lastText().toStdString();

  // The same state on the next load is not reported again.
  ASSERT_TRUE(book.mnuopen2());
  EXPECT_EQ(messages(), 1);

  // A 14001st record is refused, in memory and in the file.
  const FileResult r = book.appendRecord(QsoRecord{"N0NE", "1A", "CT", "2024/06/22", "19:00:00", "20", "PH", "", ""});
  EXPECT_FALSE(r.ok);
  EXPECT_FALSE(r.error.isEmpty());
  EXPECT_EQ(state.QsoCount(), 14000);
  EXPECT_EQ(readFile("fdlog.dat"), file);

  // A rewrite keeps the record past the limit at the end of the file.
  state.Log.remove(1);
  ASSERT_TRUE(book.rewrite().ok);
  ASSERT_TRUE(book.mnuopen2());
  EXPECT_EQ(state.QsoCount(), 14000);
  EXPECT_EQ(state.Log.rec(1).Call, QStringLiteral("K2"));
  EXPECT_EQ(state.Log.rec(14000).Call, QStringLiteral("K14001"));
  EXPECT_TRUE(state.KeptLines.isEmpty());
}

TEST_F(FoundLogBook, UnreadLinesAreReportedOnceAndAgainWhenTheirCountChanges) {
  const QByteArray good = rec("W1A", "CT", "CW");
  writeFile("fdlog.dat", good + "bad one\r\n" + "bad two\r\n");
  ASSERT_TRUE(book.mnuopen2());
  EXPECT_EQ(messages(), 1);
  EXPECT_EQ(lastText(), QStringLiteral("2 lines of fdlog.dat could not be read. They are kept in the file unchanged."));
  ASSERT_TRUE(book.mnuopen2());
  EXPECT_EQ(messages(), 1);

  writeFile("fdlog.dat", good + "bad one\r\n" + "bad two\r\n" + "bad three\r\n");
  ASSERT_TRUE(book.mnuopen2());
  EXPECT_EQ(messages(), 2);
  EXPECT_TRUE(lastText().startsWith(QStringLiteral("3 lines of fdlog.dat could not be read.")));

  writeFile("fdlog.dat", good);
  ASSERT_TRUE(book.mnuopen2());
  EXPECT_EQ(messages(), 2);  // nothing left to report
  writeFile("fdlog.dat", good + "bad one\r\n");
  ASSERT_TRUE(book.mnuopen2());
  EXPECT_EQ(messages(), 3);
  EXPECT_TRUE(lastText().startsWith(QStringLiteral("1 line of fdlog.dat could not be read.")));
}

TEST_F(FoundLogBook, RewriteKeepsTheLinesTheLoaderDidNotTake) {
  const QByteArray a = rec("W1A", "CT", "CW"), b = rec("W1B", "ME", "PH");
  writeFile("fdlog.dat", a + "\"half\",\"a line\n" + b + "x,y,z,1,2,3,4,5,6,7,8,9\r\n");
  ASSERT_TRUE(book.mnuopen2());
  ASSERT_EQ(state.QsoCount(), 2);
  state.Log.remove(1);
  ASSERT_TRUE(book.rewrite().ok);
  EXPECT_EQ(readFile("fdlog.dat"), b + "\"half\",\"a line\r\n" + "x,y,z,1,2,3,4,5,6,7,8,9\r\n");
  const int before = messages();
  ASSERT_TRUE(book.mnuopen2());
  EXPECT_EQ(state.QsoCount(), 1);
  EXPECT_EQ(state.KeptLines.size(), 2);
  EXPECT_EQ(messages(), before);
}

TEST_F(FoundLogBook, AppendAfterABrokenLastLineStartsANewLine) {
  const QByteArray broken = "\"K9Z\",\"1A\"";
  writeFile("fdlog.dat", rec("W1A", "CT", "CW") + broken);
  ASSERT_TRUE(book.mnuopen2());
  const QsoRecord r{"N1N", "3A", "ENY", "2024/06/22", "19:00:00", "40", "PH", "CD", ""};
  ASSERT_TRUE(book.appendRecord(r).ok);
  EXPECT_EQ(readFile("fdlog.dat"), rec("W1A", "CT", "CW") + broken + "\r\n" + logfile::formatLine(r));
  EXPECT_EQ(state.QsoCount(), 2);
  ASSERT_TRUE(book.mnuopen2());
  EXPECT_EQ(state.QsoCount(), 2);
  EXPECT_EQ(state.Log.rec(2), r);
}

TEST_F(FoundLogBook, AppendCreatesTheFile) {
  const QsoRecord r{"N1N", "3A", "ENY", "2024/06/22", "19:00:00", "40", "PH", "CD", ""};
  ASSERT_TRUE(book.appendRecord(r).ok);
  EXPECT_EQ(readFile("fdlog.dat"), logfile::formatLine(r));
}

TEST_F(FoundLogBook, FailedAppendTakesTheRecordBackAndLeavesTheFile) {
  const QByteArray file = rec("W1A", "CT", "CW");
  writeFile("fdlog.dat", file);
  ASSERT_TRUE(book.mnuopen2());
  const QsoRecord r{"N1N", "3A", "ENY", "2024/06/22", "19:00:00", "40", "PH", "CD", ""};
  {
    test::ScopedFileSizeLimit full(file.size() + 10);  // the disk fills in the middle of the line
    const FileResult res = book.appendRecord(r);
    EXPECT_FALSE(res.ok);
    EXPECT_FALSE(res.error.isEmpty());
  }
  EXPECT_EQ(state.QsoCount(), 1);
  EXPECT_EQ(readFile("fdlog.dat"), file);
  ASSERT_TRUE(book.appendRecord(r).ok);  // room again: the retry goes through
  EXPECT_EQ(readFile("fdlog.dat"), file + logfile::formatLine(r));
}

TEST_F(FoundLogBook, FailedRewriteLeavesTheOldFileWholeAndSaysSo) {
  const QByteArray file = rec("W1A", "CT", "CW") + rec("W1B", "CT", "CW") + rec("W1C", "CT", "CW");
  writeFile("fdlog.dat", file);
  ASSERT_TRUE(book.mnuopen2());
  state.Log.remove(2);
  {
    test::ScopedFileSizeLimit full(40);
    EXPECT_FALSE(book.rewrite().ok);
  }
  EXPECT_EQ(readFile("fdlog.dat"), file);
  EXPECT_EQ(messages(), 1);
  EXPECT_TRUE(lastText().contains(QStringLiteral("could not be rewritten"))) << lastText().toStdString();
  EXPECT_TRUE(lastText().contains(path("fdlog.dat")));
}

TEST_F(FoundLogBook, NewLogAnswers) {
  struct Case {
    const char* answer;
    bool erases;
  };
  const Case cases[] = {{"yes", true}, {"Yes", true}, {"YES", true}, {" YES", false}, {"YES ", false}, {"", false},
                        {"no", false}};
  const QByteArray file = rec("W1A", "CT", "CW") + rec("W1B", "ME", "PH") + "kept line\r\n";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    writeFile("fdlog.dat", file);
    ASSERT_TRUE(book.mnuopen2());
    state.LastBackupCount = 2;
    state.BackupMinutes = 7;
    fake->dialogs->clear();
    fake->dialogs->inputs.push_back(QString::fromLatin1(c.answer));
    book.NewLog();
    EXPECT_EQ(fake->dialogs->beeps, 1);
    ASSERT_GE(fake->dialogs->shown.size(), 1);
    const auto& box = fake->dialogs->shown[0];
    EXPECT_EQ(box.kind, QStringLiteral("input"));
    EXPECT_EQ(box.title, QStringLiteral("WARNING - Your existing log file will be ERASED!"));
    EXPECT_EQ(box.text, QStringLiteral("Are you sure that you want to start a new log file?  This function will ERASE "
                                       "the existing log file!\r\n\r\nTo verify that you want to start a new log "
                                       "file, please type: YES"));
    EXPECT_EQ(box.defaultAnswer, QString());
    if (c.erases) {
      EXPECT_EQ(readFile("fdlog.dat"), QByteArray());  // kept lines go too
      EXPECT_TRUE(QFile::exists(path("fdlog.dat")));
      EXPECT_EQ(state.QsoCount(), 0);
      EXPECT_EQ(state.CWCount + state.DigCount + state.PhCount, 0);
      EXPECT_EQ(view.score, 0);
      EXPECT_EQ(view.sectionColor[1], kRemaining);
      EXPECT_EQ(state.sectionWorked(1), 0);
      EXPECT_EQ(state.LastBackupCount, 0);
      EXPECT_EQ(state.BackupMinutes, 0);
      EXPECT_TRUE(state.KeptLines.isEmpty());
    } else {
      EXPECT_EQ(readFile("fdlog.dat"), file);
      EXPECT_EQ(state.QsoCount(), 2);
      EXPECT_EQ(state.LastBackupCount, 2);
      EXPECT_EQ(state.BackupMinutes, 7);
    }
  }
}

TEST_F(FoundLogBook, AfterNewLogTheNextContactIsRecordOne) {
  QByteArray file;
  for (int i = 0; i < 500; ++i) file += rec(QStringLiteral("K%1").arg(i), "CT", "CW");
  writeFile("fdlog.dat", file);
  ASSERT_TRUE(book.mnuopen2());
  fake->dialogs->inputs.push_back(QStringLiteral("yes"));
  book.NewLog();
  ASSERT_EQ(state.QsoCount(), 0);
  const QsoRecord r{"N1N", "3A", "ENY", "2024/06/22", "19:00:00", "40", "PH", "CD", ""};
  ASSERT_TRUE(book.appendRecord(r).ok);
  EXPECT_EQ(state.QsoCount(), 1);
  EXPECT_EQ(state.Log.rec(1), r);
  EXPECT_EQ(readFile("fdlog.dat"), logfile::formatLine(r));
}

}  // namespace
}  // namespace fd
