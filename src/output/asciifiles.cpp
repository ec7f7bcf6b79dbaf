// "Write ASCII Log File (ASCIILog.txt)" and "Write ASCII Dupe File".
#include <QWidget>

#include "core/sharedprefs.h"
#include "output/asciilog.h"
#include "output/outputservice.h"
#include "output/savecommand.h"
#include "platform/platform.h"

namespace fd {

namespace {
const QString kBlank = QStringLiteral(" ");
}

void OutputService::asciiLog() { mnuAsciiLog_Click(); }
void OutputService::asciiDupe() { mnuAsciiDupe_Click(); }

void OutputService::mnuAsciiLog_Click() {
  main->setStatus(QStringLiteral("Writing ASCII Log File."));
  if (QWidget* w = main->window()) w->repaint();
  // The status text goes on success and failure alike, a cancel included.
  if (!writeAsciiFile(QStringLiteral("-ASCIILog.txt"), true, [this] { return asciiLogText(s.Log, stationOf(s)); }))
    main->setStatus(kBlank);
}

void OutputService::mnuAsciiDupe_Click() {
  writeAsciiFile(QStringLiteral("-ASCIIDup.txt"), false, [this] { return asciiDupeText(s.Log, stationOf(s)); });
}

bool OutputService::writeAsciiFile(const QString& suffix, bool blankOnFailure, const std::function<TextWriter()>& text) {
  s.MyCall = s.MyCall.trimmed();
  const QString proposed = s.FieldDayDir + u'/' + CallToFileStem(s.MyCall) + suffix;
  const QString path = askSaveFileName(proposed, QStringLiteral("ADIF Files (*.txt) | *.txt"));
  if (path.isEmpty()) return false;  // cancelled: nothing more
  const FileResult r = text().writeTo(path);
  if (!r.ok) {
    if (blankOnFailure) main->setStatus(kBlank);
    reportWrite(r);
    return true;
  }
  main->setStatus(kBlank);
  dialogs().beep();
  dialogs().message(QStringLiteral("File Successfully written."),
                    QStringLiteral("The file has been successfully written to:\r\n\r\n") + path, Buttons::Ok);
  return true;
}

}  // namespace fd
