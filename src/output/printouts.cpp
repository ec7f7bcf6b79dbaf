// The printed log and the printed dupe sheet. Their menu items stay off; the
// commands are here for when they are switched on.
#include <QWidget>

#include "output/outputservice.h"
#include "output/printpages.h"
#include "platform/platform.h"
#include "platform/printer.h"

namespace fd {

namespace {
const QString kBlank = QStringLiteral(" ");
}

void OutputService::mnuPrntlog_Click() {
  main->setStatus(QStringLiteral("Printing ASCII Log File."));
  if (QWidget* w = main->window()) w->repaint();
  const bool ok = printDocument(printedLogPages(s.Log, stationOf(s)));
  if (ok) main->setStatus(kBlank);
}

void OutputService::mnuPrntdupe_Click() {
  const bool ok = printDocument(printedDupePages(s.Log, stationOf(s)));
  if (ok) main->setStatus(kBlank);
}

// A failed job is aborted and reported, never left looking done.
bool OutputService::printDocument(const std::vector<QStringList>& pages) {
  if (pages.empty()) return true;  // nothing to print: no job at all
  QString error;
  FileResult r;
  if (std::unique_ptr<PagePrinter> printer = makePrinter(error))
    r = printPages(*printer, pages);
  else
    r = {false, error};
  if (r.ok) return true;
  main->setStatus(kBlank);
  dialogs().beep();
  dialogs().message(QStringLiteral("Unable to print."), r.error, Buttons::Ok);
  return false;
}

}  // namespace fd
