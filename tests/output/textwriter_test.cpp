#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include "output/outputservice.h"
#include "output/savecommand.h"
#include "output/textwriter.h"
#include "testenv.h"

namespace fd {
namespace {

// Each step of a column layout and the text it leaves ("|" marks a line end).
TEST(ColumnWriter, LaysOutNumbersTextAndColumns) {
  struct Case {
    const char* name;
    std::function<void(LineSink&)> steps;
    QString expected;
  };
  const std::vector<Case> cases = {
      {"zero", [](LineSink& w) { w.number(0); }, " 0 "},
      {"positive", [](LineSink& w) { w.number(12345); }, " 12345 "},
      {"negative takes the blank's place", [](LineSink& w) { w.number(-3); }, "-3 "},
      {"fraction in its shortest form", [](LineSink& w) { w.number(2.5); }, " 2.5 "},
      {"pad to a column", [](LineSink& w) { w.text("ab"); w.column(6); w.text("x"); }, "ab   x"},
      {"column 1 of a fresh line", [](LineSink& w) { w.column(1); w.text("x"); }, "x"},
      {"text ends just before the column",
       [](LineSink& w) { w.column(34); w.text("ABCDEFGHIJK"); w.column(45); w.text("x"); },
       QString(33, u' ') + "ABCDEFGHIJKx"},
      {"text occupies the column: a new line first",
       [](LineSink& w) { w.column(34); w.text("ABCDEFGHIJKL"); w.column(45); w.text("x"); },
       QString(33, u' ') + "ABCDEFGHIJKL|" + QString(44, u' ') + "x"},
      {"columns count from the line's start",
       [](LineSink& w) { w.text("long line"); w.lineEnd(); w.text("a"); w.column(3); w.text("b"); },
       "long line|a b"},
      {"number then column", [](LineSink& w) { w.number(7); w.column(5); w.text("z"); }, " 7  z"},
  };
  for (const auto& c : cases) {
    TextWriter w;
    c.steps(w);
    QString shown = w.content();
    shown.replace("\r\n", "|");
    EXPECT_EQ(shown, c.expected) << c.name;
  }
}

TEST(TextWriter, EndsLinesWithCrLfInOurEightBitTable) {
  TextWriter w;
  w.line(QString::fromUtf8("Caf\u00e9 \u20ac"));
  w.line();
  w.line(QString::fromUtf8("\u4e2d"));  // not in the table
  EXPECT_EQ(w.bytes(), QByteArray("Caf\xe9 \x80\r\n\r\n?\r\n"));
}

class TextWriterFiles : public test::ProgramFolderTest {};

TEST_F(TextWriterFiles, FailedWriteLeavesTheOldFileWhole) {
  writeFile("out.txt", "old contents\r\n");
  TextWriter w;
  for (int i = 0; i < 2000; ++i) w.line("a line of some length to pass the limit");
  {
    test::ScopedFileSizeLimit limit(1000);
    const FileResult r = w.writeTo(path("out.txt"));
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.isEmpty());
  }
  EXPECT_EQ(readFile("out.txt"), QByteArray("old contents\r\n"));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"out.txt"});  // no leftover temporary
  ASSERT_TRUE(w.writeTo(path("out.txt")).ok);
  EXPECT_EQ(readFile("out.txt"), w.bytes());
}

TEST(SaveCommand, FiltersListBothCases) {
  EXPECT_EQ(qtFileFilter("ADIF Files (*.adi) | *.adi"), "ADIF Files (*.adi *.ADI)");
  EXPECT_EQ(qtFileFilter("Log Files (*.dat)"), "Log Files (*.dat *.DAT)");
  EXPECT_EQ(qtFileFilter("*.DAT, *.ADI"), "*.DAT, *.ADI (*.dat *.DAT *.adi *.ADI)");
  EXPECT_EQ(qtFileFilter("Text Files (*.txt) | *.txt"), "Text Files (*.txt *.TXT)");
}

TEST_F(TextWriterFiles, SaveDialogIsRecordedAndFailuresReported) {
  fake->dialogs->files.push_back(path("a.adi"));
  EXPECT_EQ(askSaveFileName(path("Field Day.adi"), "ADIF Files (*.adi) | *.adi"), path("a.adi"));
  ASSERT_EQ(fake->dialogs->shown.size(), 1);
  EXPECT_EQ(fake->dialogs->shown[0].kind, "save");
  EXPECT_EQ(fake->dialogs->shown[0].text, path("Field Day.adi"));
  EXPECT_EQ(fake->dialogs->shown[0].filter, "ADIF Files (*.adi *.ADI)");

  fake->dialogs->clear();
  EXPECT_TRUE(reportWrite({}));
  EXPECT_TRUE(fake->dialogs->shown.isEmpty());
  EXPECT_FALSE(reportWrite({false, "Disk full"}));
  EXPECT_EQ(fake->dialogs->beeps, 1);
  ASSERT_EQ(fake->dialogs->shown.size(), 1);
  EXPECT_EQ(fake->dialogs->shown[0].title, "Unable to write file.");
  EXPECT_EQ(fake->dialogs->shown[0].text, "Disk full");
}

}  // namespace
}  // namespace fd
