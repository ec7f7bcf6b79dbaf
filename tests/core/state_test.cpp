// The program state's start values, the section table and the log's bound.
#include <QDir>
#include <QSet>

#include "core/state.h"
#include "testenv.h"

namespace fd {
namespace {

TEST(FoundState, StartValues) {
  const ProgramState s;
  EXPECT_EQ(s.QsoCount(), 0);
  EXPECT_EQ(s.CurBand, QStringLiteral("40"));
  EXPECT_EQ(s.CurMode, QStringLiteral("PH"));
  EXPECT_EQ(s.PartialOn, 1);
  EXPECT_EQ(s.FormSizePct, 100);
  EXPECT_EQ(s.SecTotal, 0);  // until the load step fills the table
  EXPECT_EQ(s.LastBackupCount, 0);
  EXPECT_EQ(s.CWSending, 0);
  EXPECT_TRUE(s.CurFreq.isEmpty());
  EXPECT_EQ(s.score(), 0);
}

TEST(FoundState, SectionTable) {
  ProgramState s;
  fillSectionTable(s);
  EXPECT_EQ(s.SecTotal, 83);
  EXPECT_TRUE(s.SecName[0].isEmpty());
  EXPECT_TRUE(s.SecName[84].isEmpty());
  EXPECT_EQ(s.SecName[1], QStringLiteral("CT"));
  EXPECT_EQ(s.SecFullName[1], QStringLiteral("Connecticut"));
  EXPECT_EQ(s.SecName[16], QStringLiteral("MDC"));
  EXPECT_EQ(s.SecFullName[16], QStringLiteral("Maryland-DC"));
  EXPECT_EQ(s.SecName[71], QStringLiteral("NL"));
  EXPECT_EQ(s.SecFullName[71], QStringLiteral("Newfoundland-Labrador"));
  EXPECT_EQ(s.SecName[83], QStringLiteral("GTA"));
  EXPECT_EQ(s.SecFullName[83], QStringLiteral("Greater Toronto Area"));
  QSet<QString> names;
  for (int i = 1; i <= s.SecTotal; ++i) {
    names.insert(s.SecName[i]);
    EXPECT_EQ(sectionRow(s.SecName[i]), i);
  }
  EXPECT_EQ(names.size(), 83);  // no abbreviation twice

  struct Case {
    const char* entry;
    bool valid;
  };
  for (const Case& c : {Case{"MDC", true}, Case{"DX", true}, Case{"GTA", true}, Case{"md", false},
                        Case{"mdc", false}, Case{"dx", false}, Case{"", false}, Case{"MDC ", false}}) {
    EXPECT_EQ(isValidSection(QString::fromLatin1(c.entry)), c.valid) << c.entry;
  }
  EXPECT_EQ(sectionRow(QStringLiteral("DX")), 0);  // DX has no row
}

TEST(FoundState, LogHoldsAtMost14000Records) {
  QsoLog log;
  for (int i = 1; i <= QsoLog::kMaxRecords; ++i) ASSERT_TRUE(log.append(QsoRecord{QString::number(i)}));
  const auto* first = &log.rec(1);
  EXPECT_TRUE(log.full());
  EXPECT_FALSE(log.append(QsoRecord{"N0NE"}));
  EXPECT_EQ(log.count(), 14000);
  EXPECT_EQ(log.rec(14000).Call, QStringLiteral("14000"));
  EXPECT_EQ(&log.rec(1), first);  // the slots never moved: room was there from the start
  log.clear();
  log.removeLast();  // harmless on an empty log
  EXPECT_EQ(log.count(), 0);
}

TEST(FoundState, ProgramFilesNeverFromAnEmptyFolder) {
  ProgramState s;
  EXPECT_EQ(s.progFile(QStringLiteral("fdlog.dat")), QDir::currentPath() + QStringLiteral("/fdlog.dat"));
  s.ProgDir = QStringLiteral("/opt/fd");
  EXPECT_EQ(s.progFile(QStringLiteral("fdlog.dat")), QStringLiteral("/opt/fd/fdlog.dat"));
}

}  // namespace
}  // namespace fd
