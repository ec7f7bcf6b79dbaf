// The Qt printer layer drawn into a PDF and read back with poppler's
// pdftotext and pdfinfo: page counts, headings, and where the columns fall.
#include <QProcess>
#include <QRegularExpression>

#include "files_fixture.h"
#include "output/printpages.h"
#include "platform/printer.h"

namespace fd::test {
namespace {

const Station kStation{"W1AW", "2A", "CT"};

// A poppler tool's output, bounded in time; empty when it cannot run.
QString poppler(const QString& tool, const QStringList& args) {
  QProcess p;
  p.start(tool, args);
  if (!p.waitForFinished(20000)) {
    p.kill();
    p.waitForFinished(2000);
    return {};
  }
  return QString::fromUtf8(p.readAllStandardOutput());
}

int pdfPages(const QString& pdf) {
  const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(poppler("pdfinfo", {pdf}));
  return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QString collapsed(const QString& s) { return s.simplified(); }

class PrintPdfTest : public FilesTest {
 protected:
  // Draws the pages into a PDF; false when the layer failed.
  bool render(const PrintPages& pages, const QString& name, QtPagePrinter** keep = nullptr) {
    auto printer = QtPagePrinter::toPdf(doc(name));
    const bool ok = printPages(*printer, pages).ok;
    if (keep) *keep = printer.release();
    return ok;
  }
};

TEST_F(PrintPdfTest, PagesAndHeadingsReadBack) {
  QsoLog log;
  addMany(log, 45, "20", "CW");
  const PrintPages logPages = printedLogPages(log, kStation);
  ASSERT_TRUE(render(logPages, "log.pdf"));
  EXPECT_FALSE(QFile::exists(doc("log.pdf.part")));
  ASSERT_EQ(pdfPages(doc("log.pdf")), 2);
  const QStringList text = poppler("pdftotext", {"-layout", doc("log.pdf"), "-"}).split(u'\f');
  ASSERT_GE(text.size(), 2);
  for (int p = 0; p < 2; ++p) {
    // pdftotext keeps the words and their order, not the exact blank runs.
    QStringList want, got;
    for (const QString& l : logPages[static_cast<size_t>(p)])
      if (!l.trimmed().isEmpty()) want << collapsed(l);
    for (const QString& l : text[p].split(u'\n'))
      if (!l.trimmed().isEmpty()) got << collapsed(l);
    EXPECT_EQ(got, want) << "page " << p + 1;
  }

  QsoLog group;
  addMany(group, 100, "40", "PH");
  ASSERT_TRUE(render(printedDupePages(group, kStation), "dupe.pdf"));
  EXPECT_EQ(pdfPages(doc("dupe.pdf")), 3);
  const QStringList dupeText = poppler("pdftotext", {"-layout", doc("dupe.pdf"), "-"}).split(u'\f');
  for (int p = 0; p < 3; ++p) EXPECT_TRUE(dupeText[p].contains("ARRL Field Day Dupe Sheet")) << p;
}

TEST_F(PrintPdfTest, ColumnsStandAtWholeCharacterWidths) {
  QsoLog log;
  log.append(qso("K1ABC", "20", "CW"));
  QtPagePrinter* printer = nullptr;
  ASSERT_TRUE(render(printedLogPages(log, kStation), "cols.pdf", &printer));
  std::unique_ptr<QtPagePrinter> keep(printer);
  const QString bbox = poppler("pdftotext", {"-bbox", doc("cols.pdf"), "-"});
  // The words in order with their left edges.
  QList<std::pair<QString, double>> words;
  const QRegularExpression word(QStringLiteral("<word xMin=\"([0-9.]+)\"[^>]*>([^<]*)</word>"));
  for (auto it = word.globalMatch(bbox); it.hasNext();) {
    const auto m = it.next();
    words.append({m.captured(2), m.captured(1).toDouble()});
  }
  auto xOf = [&words](const QString& w, int occurrence) {
    for (const auto& [text, x] : words)
      if (text == w && occurrence-- == 0) return x;
    return -1.0;
  };
  const double left = keep->leftMarginPoints(), cw = keep->charWidthPoints();
  ASSERT_GT(cw, 5.0);
  const struct {
    QString word;
    int occurrence, column;
  } cases[] = {{"Class:", 0, 30}, {"Call", 1, 41}, {"Section", 0, 63}, {"Bnd", 0, 5}, {"K1ABC", 0, 41}};
  for (const auto& c : cases)
    EXPECT_NEAR(xOf(c.word, c.occurrence), left + (c.column - 1) * cw, cw / 2) << c.word.toStdString();
}

TEST_F(PrintPdfTest, EmptyDocumentStartsNoJob) {
  EXPECT_TRUE(render({}, "none.pdf"));
  EXPECT_FALSE(QFile::exists(doc("none.pdf")));
  EXPECT_FALSE(QFile::exists(doc("none.pdf.part")));
}

TEST_F(PrintPdfTest, UnwritableTargetFails) {
  auto printer = QtPagePrinter::toPdf(doc("missing/x.pdf"));
  const FileResult r = printPages(*printer, {{"line"}});
  EXPECT_FALSE(r.ok);
  EXPECT_FALSE(r.error.isEmpty());
}

// Prints both printouts of a 45-record log on the system's default printer;
// runs only when FD_PRINT_ON_DEFAULT_PRINTER is set.
TEST_F(PrintPdfTest, DefaultPrinterOnRequest) {
  if (!qEnvironmentVariableIsSet("FD_PRINT_ON_DEFAULT_PRINTER")) GTEST_SKIP() << "set FD_PRINT_ON_DEFAULT_PRINTER to print";
  addMany(state.Log, 45, "20", "CW");
  svc.mnuPrntlog_Click();
  svc.mnuPrntdupe_Click();
  EXPECT_TRUE(dlg().shown.isEmpty());
}

}  // namespace
}  // namespace fd::test
