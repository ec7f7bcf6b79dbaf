#pragma once
// The printer as a text device: pages of text lines in one fixed-pitch face
// ("Courier New", 11 points). Column n stands at the left margin plus n - 1
// average character widths; lines are one line-spacing apart. The Qt
// implementation draws with QPainter on a QPrinter (the system's default
// printer, or a PDF file for tests); the recording one keeps the pages.
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

#include "platform/safefile.h"

namespace fd {

class PagePrinter {
 public:
  virtual ~PagePrinter() = default;
  virtual FileResult begin() = 0;             // starts the job
  virtual int linesPerPage() const = 0;       // known after begin
  virtual FileResult newPage() = 0;
  virtual void drawLine(int row, const QString& text) = 0;  // row on the current page, from 0
  virtual FileResult end() = 0;               // releases the job
  virtual void abort() = 0;                   // drops it
};

// Puts the pages on paper. A page that holds more lines than the paper
// continues on a new sheet, so no line is drawn off a page. No pages: no job
// is started at all. On a failure the job is aborted and the reason returned.
FileResult printPages(PagePrinter& printer, const std::vector<QStringList>& pages);

class QtPagePrinter final : public PagePrinter {
 public:
  static std::unique_ptr<QtPagePrinter> toPrinter(const QString& printerName);
  // Letter pages in a PDF file, written under a temporary name and renamed
  // when complete.
  static std::unique_ptr<QtPagePrinter> toPdf(const QString& path);
  ~QtPagePrinter() override;

  FileResult begin() override;
  int linesPerPage() const override;
  FileResult newPage() override;
  void drawLine(int row, const QString& text) override;
  FileResult end() override;
  void abort() override;

  // Where the columns fall, in points from the paper's left edge: column n
  // at leftMarginPoints() + (n - 1) * charWidthPoints().
  double leftMarginPoints() const;
  double charWidthPoints() const;

 private:
  QtPagePrinter();
  struct Impl;
  std::unique_ptr<Impl> d;
};

class RecordingPrinter final : public PagePrinter {
 public:
  int lines = 62;        // a Letter page at 11 points
  bool failAtStart = false;
  int failAtPage = 0;    // the sheet (from 1) whose start fails; 0 never
  std::vector<QStringList> pages;
  bool begun = false, ended = false, aborted = false;

  FileResult begin() override;
  int linesPerPage() const override { return lines; }
  FileResult newPage() override;
  void drawLine(int row, const QString& text) override;
  FileResult end() override;
  void abort() override { aborted = true; }
};

// The printer new print jobs go to: the system's default printer. No
// printer set up gives nullptr and the reason. Tests install a factory.
using PrinterFactory = std::function<std::unique_ptr<PagePrinter>(QString& error)>;
std::unique_ptr<PagePrinter> makePrinter(QString& error);
void setPrinterFactory(PrinterFactory f);  // empty: back to the default printer
// The default printer's name ("" when none); tests replace the question.
void setDefaultPrinterQuery(std::function<QString()> q);  // empty: ask CUPS

}  // namespace fd
