#include "platform/printer.h"

#include <QFile>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <cmath>

namespace fd {

FileResult printPages(PagePrinter& printer, const std::vector<QStringList>& pages) {
  if (pages.empty()) return {};
  FileResult r = printer.begin();
  if (!r.ok) {
    printer.abort();
    return r;
  }
  const int capacity = std::max(1, printer.linesPerPage());
  for (size_t p = 0; p < pages.size(); ++p) {
    int row = 0;
    if (p > 0 && !(r = printer.newPage()).ok) break;
    for (const QString& line : pages[p]) {
      if (row == capacity) {
        if (!(r = printer.newPage()).ok) break;
        row = 0;
      }
      printer.drawLine(row++, line);
    }
    if (!r.ok) break;
  }
  if (r.ok) r = printer.end();
  if (!r.ok) printer.abort();
  return r;
}

// ---- Qt ----

struct QtPagePrinter::Impl {
  QPrinter printer{QPrinter::HighResolution};
  QPainter painter;
  QString pdfPath;  // final name; the job writes pdfPath + ".part"
  double spacing = 0, width = 0, ascent = 0;
  int lines = 0;
  bool active = false;
};

QtPagePrinter::QtPagePrinter() : d(std::make_unique<Impl>()) {}
QtPagePrinter::~QtPagePrinter() {
  if (d->active) abort();
}

std::unique_ptr<QtPagePrinter> QtPagePrinter::toPrinter(const QString& printerName) {
  std::unique_ptr<QtPagePrinter> p(new QtPagePrinter);
  p->d->printer.setPrinterName(printerName);
  return p;
}

std::unique_ptr<QtPagePrinter> QtPagePrinter::toPdf(const QString& path) {
  std::unique_ptr<QtPagePrinter> p(new QtPagePrinter);
  p->d->pdfPath = path;
  p->d->printer.setOutputFormat(QPrinter::PdfFormat);
  p->d->printer.setPageSize(QPageSize(QPageSize::Letter));
  p->d->printer.setOutputFileName(path + QStringLiteral(".part"));
  return p;
}

FileResult QtPagePrinter::begin() {
  if (!d->pdfPath.isEmpty()) QFile::remove(d->printer.outputFileName());
  if (!d->painter.begin(&d->printer) || d->printer.printerState() == QPrinter::Error)
    return {false, d->pdfPath.isEmpty()
                       ? QStringLiteral("The printer \"%1\" could not start the job.").arg(d->printer.printerName())
                       : QStringLiteral("The file %1 could not be written.").arg(d->printer.outputFileName())};
  d->active = true;
  QFont f(QStringLiteral("Courier New"));
  f.setStyleHint(QFont::TypeWriter);
  f.setPointSizeF(11);
  d->painter.setFont(f);
  const QFontMetricsF fm(d->painter.font(), &d->printer);
  d->spacing = fm.lineSpacing();
  d->width = fm.averageCharWidth();
  d->ascent = fm.ascent();
  // The painter's origin is the top left of the printable area.
  const QRect area = d->printer.pageLayout().paintRectPixels(d->printer.resolution());
  d->lines = std::max(1, static_cast<int>(std::floor(area.height() / d->spacing)));
  return {};
}

int QtPagePrinter::linesPerPage() const { return d->lines; }
double QtPagePrinter::leftMarginPoints() const { return d->printer.pageLayout().paintRect(QPageLayout::Point).left(); }
double QtPagePrinter::charWidthPoints() const { return d->width * 72.0 / d->printer.resolution(); }

FileResult QtPagePrinter::newPage() {
  if (!d->printer.newPage() || d->printer.printerState() == QPrinter::Error)
    return {false, QStringLiteral("The printer could not start a new page.")};
  return {};
}

void QtPagePrinter::drawLine(int row, const QString& text) {
  // Each run of text is placed at its own column, so the columns hold
  // whatever the face's advance widths are.
  const double y = row * d->spacing + d->ascent;
  qsizetype i = 0;
  while (i < text.size()) {
    while (i < text.size() && text[i] == u' ') ++i;
    qsizetype j = i;
    while (j < text.size() && text[j] != u' ') ++j;
    if (j > i) d->painter.drawText(QPointF(static_cast<double>(i) * d->width, y), text.mid(i, j - i));
    i = j;
  }
}

FileResult QtPagePrinter::end() {
  d->active = false;
  const bool painted = d->painter.end();
  if (!painted || d->printer.printerState() == QPrinter::Error)
    return {false, d->pdfPath.isEmpty() ? QStringLiteral("The printer reported an error.")
                                        : QStringLiteral("The file %1 could not be written.").arg(d->printer.outputFileName())};
  if (!d->pdfPath.isEmpty()) {
    QFile::remove(d->pdfPath);
    if (!QFile::rename(d->printer.outputFileName(), d->pdfPath))
      return {false, QStringLiteral("The file %1 could not be written.").arg(d->pdfPath)};
  }
  return {};
}

void QtPagePrinter::abort() {
  d->active = false;
  d->printer.abort();
  if (d->painter.isActive()) d->painter.end();
  if (!d->pdfPath.isEmpty()) QFile::remove(d->printer.outputFileName());
}

// ---- recording ----

FileResult RecordingPrinter::begin() {
  if (failAtStart) return {false, QStringLiteral("The printer is out of paper.")};
  begun = true;
  pages.emplace_back();
  if (failAtPage == 1) return {false, QStringLiteral("The printer is out of paper.")};
  return {};
}

FileResult RecordingPrinter::newPage() {
  if (failAtPage == static_cast<int>(pages.size()) + 1) return {false, QStringLiteral("The printer is out of paper.")};
  pages.emplace_back();
  return {};
}

void RecordingPrinter::drawLine(int row, const QString& text) {
  QStringList& page = pages.back();
  while (page.size() < row) page << QString();
  page << text;
}

FileResult RecordingPrinter::end() {
  ended = true;
  return {};
}

// ---- which printer ----

namespace {
PrinterFactory& factory() {
  static PrinterFactory f;
  return f;
}
std::function<QString()>& query() {
  static std::function<QString()> q;
  return q;
}
}  // namespace

std::unique_ptr<PagePrinter> makePrinter(QString& error) {
  if (factory()) return factory()(error);
  const QString name = query() ? query()() : QPrinterInfo::defaultPrinter().printerName();
  if (name.isEmpty()) {
    error = QStringLiteral("No printer is set up. Add a printer to the system and make it the default printer.");
    return nullptr;
  }
  return QtPagePrinter::toPrinter(name);
}

void setPrinterFactory(PrinterFactory f) { factory() = std::move(f); }
void setDefaultPrinterQuery(std::function<QString()> q) { query() = std::move(q); }

}  // namespace fd
