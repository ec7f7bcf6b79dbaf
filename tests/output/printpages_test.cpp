// The printed log and dupe sheet: the page model, the printer layer's page
// overflow, and the commands with a recording printer.
#include "files_fixture.h"
#include "output/printpages.h"
#include "platform/printer.h"

namespace fd::test {
namespace {

const Station kStation{"W1AW", "2A", "CT"};

QsoLog logOf(int n, const QString& band = "20", const QString& mode = "CW") {
  QsoLog log;
  addMany(log, n, band, mode);
  return log;
}

// Calls of one page: its lines from column 15 that are neither the group's
// band-and-mode line nor its total.
int callLines(const QStringList& page) {
  int n = 0;
  for (const QString& l : page)
    if (l.size() > 14 && l.left(14).trimmed().isEmpty() && l[14] != u' ' && !l.contains("Total") &&
        !l.endsWith("  CW") && !l.endsWith("  PH"))
      ++n;
  return n;
}

TEST(PrintPages, Headings) {
  EXPECT_EQ(printedLogHeading(kStation),
            QStringList({"", "                                   ARRL Field Day", "",
                         "    Call Used: W1AW          Class: 2A               ARRL Section: CT", "", "",
                         "    Bnd   Mode   Date        Time       Call           Class  Section", ""}));
  EXPECT_EQ(printedDupeHeading(kStation),
            QStringList({"", "", "                           ARRL Field Day Dupe Sheet", "",
                         "     Call Used: W1AW  Class: 2A                    ARRL Section: CT", "", ""}));
}

TEST(PrintPages, LogPages) {
  struct Case {
    int records;
    std::vector<int> linesPerPage;
  };
  const Case cases[] = {{0, {}}, {1, {9}}, {44, {52}}, {45, {52, 9}}, {88, {52, 52}}, {89, {52, 52, 9}}};
  for (const Case& c : cases) {
    const PrintPages pages = printedLogPages(logOf(c.records), kStation);
    std::vector<int> sizes;
    for (const QStringList& p : pages) sizes.push_back(static_cast<int>(p.size()));
    EXPECT_EQ(sizes, c.linesPerPage) << c.records << " records";
    for (const QStringList& p : pages) EXPECT_EQ(p.mid(0, 8), printedLogHeading(kStation));
  }
  QsoLog one;
  one.append(qso("K1ABC", "20", "CW", "2A", "CT", "2024/06/22", "18:00:00"));
  EXPECT_EQ(printedLogPages(one, kStation)[0][8], "    20    CW     2024/06/22  18:00:00   K1ABC          2A     CT");
  // 14000 records: 319 pages, every record once.
  QsoLog full = logOf(QsoLog::kMaxRecords);
  const PrintPages pages = printedLogPages(full, kStation);
  EXPECT_EQ(pages.size(), 319u);
  int records = 0;
  for (const QStringList& p : pages) records += static_cast<int>(p.size()) - 8;
  EXPECT_EQ(records, QsoLog::kMaxRecords);
}

TEST(PrintPages, DupeSheetPages) {
  const QStringList heading = printedDupeHeading(kStation);
  // An empty log: one page with the heading alone.
  EXPECT_EQ(printedDupePages(QsoLog(), kStation), PrintPages({heading}));
  // 48 calls: 47 on the first page, the 48th after the repeated heading.
  PrintPages p = printedDupePages(logOf(48), kStation);
  ASSERT_EQ(p.size(), 2u);
  EXPECT_EQ(p[0].size(), 7 + 1 + 47);
  EXPECT_EQ(p[0][7], "              20  CW");
  EXPECT_EQ(p[1].mid(0, 7), heading);
  EXPECT_EQ(p[1].size(), 7 + 1 + 4);
  EXPECT_EQ(p[1][9], "              20  CW Total Contacts  48 ");
  // 100 calls: 47, 48, 5.
  p = printedDupePages(logOf(100), kStation);
  ASSERT_EQ(p.size(), 3u);
  EXPECT_EQ(callLines(p[0]), 47);
  EXPECT_EQ(callLines(p[1]), 48);
  EXPECT_EQ(callLines(p[2]), 5);
  // Satellite and unknown bands are printed in no group.
  QsoLog other;
  other.append(qso("K1SAT", "SAT", "PH"));
  other.append(qso("K1OUT", "30", "CW"));
  EXPECT_EQ(printedDupePages(other, kStation), PrintPages({heading}));
  // Twelve calls: the total at column 15.
  p = printedDupePages(logOf(12, "40", "PH"), kStation);
  EXPECT_EQ(p[0].mid(7), QStringList({"              40  PH", "              K0AB0", "              K0AB10",
                                       "              K1AB1", "              K1AB11", "              K2AB2",
                                       "              K3AB3", "              K4AB4", "              K5AB5",
                                       "              K6AB6", "              K7AB7", "              K8AB8",
                                       "              K9AB9", "", "              40  PH Total Contacts  12 ", "", ""}));
  // 14000 records in one group: every call printed once.
  p = printedDupePages(logOf(QsoLog::kMaxRecords), kStation);
  int calls = 0;
  for (const QStringList& page : p) calls += callLines(page);
  EXPECT_EQ(calls, QsoLog::kMaxRecords);
}

TEST(PrintPages, OverfullPageContinuesOnANewSheet) {
  // Eleven one-call groups: the counter lets 68 lines onto the first page.
  QsoLog log;
  for (int i = 0; i < 11; ++i) log.append(qso("K1A", kBands[i % 12], kModes[i % 3]));
  for (int i = 0; i < 11; ++i) log.append(qso("K2A", kBands[(i + 4) % 12], "PH"));
  const PrintPages pages = printedDupePages(log, kStation);
  ASSERT_GE(pages[0].size(), 63);
  RecordingPrinter printer;
  ASSERT_TRUE(printPages(printer, pages).ok);
  EXPECT_TRUE(printer.ended);
  QStringList sent, drawn;
  for (const QStringList& p : pages) sent += p;
  for (const QStringList& p : printer.pages) {
    EXPECT_LE(p.size(), printer.lines);
    drawn += p;
  }
  EXPECT_EQ(drawn, sent);  // no line lost
  size_t sheets = 0;
  for (const QStringList& p : pages) sheets += (p.size() + 61) / 62;
  EXPECT_EQ(printer.pages.size(), sheets);
  EXPECT_GT(sheets, pages.size());
  EXPECT_EQ(printer.pages[1], pages[0].mid(62));
}

class PrintCommandTest : public FilesTest {
 protected:
  void SetUp() override {
    FilesTest::SetUp();
    setPrinterFactory([this](QString&) {
      auto p = std::make_unique<RecordingPrinter>();
      p->failAtStart = failAtStart;
      p->failAtPage = failAtPage;
      printer = p.get();
      ++jobs;
      return p;
    });
  }
  void TearDown() override {
    setPrinterFactory({});
    setDefaultPrinterQuery({});
    FilesTest::TearDown();
  }
  RecordingPrinter* printer = nullptr;  // alive while the command runs only
  int jobs = 0;
  bool failAtStart = false;
  int failAtPage = 0;
};

TEST_F(PrintCommandTest, PrintedLogAndDupeSheet) {
  addMany(state.Log, 45, "20", "CW");
  svc.mnuPrntlog_Click();
  EXPECT_EQ(main.calls.mid(0, 2), QStringList({"setStatus Printing ASCII Log File.", "setStatus  "}));
  svc.mnuPrntdupe_Click();
  EXPECT_EQ(main.calls.last(), "setStatus  ");
  EXPECT_EQ(jobs, 2);
  EXPECT_TRUE(dlg().shown.isEmpty());
  EXPECT_EQ(dlg().beeps, 0);
}

TEST_F(PrintCommandTest, EmptyLogSendsNoPrintedLog) {
  svc.mnuPrntlog_Click();
  EXPECT_EQ(jobs, 0);
  EXPECT_EQ(main.status, " ");
  svc.mnuPrntdupe_Click();
  EXPECT_EQ(jobs, 1);  // the dupe sheet's heading page
}

TEST_F(PrintCommandTest, FailuresAreReported) {
  addMany(state.Log, 45, "20", "CW");
  for (const auto& [start, page] : std::vector<std::pair<bool, int>>{{true, 0}, {false, 2}}) {
    failAtStart = start, failAtPage = page;
    dlg().clear();
    main.status = "Printing ASCII Log File.";
    svc.mnuPrntlog_Click();
    EXPECT_EQ(main.status, " ");
    EXPECT_EQ(dlg().titles(), QStringList({"Unable to print."}));
    EXPECT_EQ(dlg().shown[0].text, "The printer is out of paper.");
    EXPECT_EQ(dlg().beeps, 1);
  }
  // No printer set up at all.
  setPrinterFactory({});
  setDefaultPrinterQuery([] { return QString(); });
  dlg().clear();
  svc.mnuPrntdupe_Click();
  EXPECT_EQ(dlg().titles(), QStringList({"Unable to print."}));
  EXPECT_TRUE(dlg().shown[0].text.startsWith("No printer is set up."));
  EXPECT_EQ(main.status, " ");
}

}  // namespace
}  // namespace fd::test
