#include "output/tolva.h"

#include "output/adif.h"
#include "output/outputservice.h"
#include "output/savecommand.h"
#include "output/textwriter.h"
#include "platform/platform.h"

namespace fd {

namespace tolva {

QByteArray exportFile(const std::vector<QsoRecord>& records) {
  const auto q = [](const QString& t) { return u'"' + t + u'"'; };
  TextWriter w;
  for (const QsoRecord& r : records) {
    // The receiving program's import takes the country from the first letter
    // of the call: V is Canada, every other call (DX included) the USA.
    const bool canada = r.Call.startsWith(u'V');
    const QString country = canada ? QStringLiteral("Canada") : QStringLiteral("USA");
    const QString st = canada ? QString() : adif::sectionState(r.Section);
    w.line(q(r.Call) + u',' + q(r.Date) + u',' + q(r.Band) + u',' + q(r.Mode) + QStringLiteral(",,") + q(r.Time) +
           QStringLiteral(",,,,") + q(country) + u',' + q(st) + QStringLiteral(",,,,,") +
           q(QStringLiteral("ARRL Field Day Contest - Section - ") + r.Section));
  }
  return w.bytes();
}

}  // namespace tolva

void OutputService::mnuTolvaExport_Click() {
  const FileResult r = writeWholeFile(s.progFile(QStringLiteral("LogExp.txt")), tolva::exportFile(s.Log.records()));
  if (!reportWrite(r)) return;
  dialogs().beep();
  dialogs().message(QStringLiteral("Export Successful!"),
                    QStringLiteral("LogExp.txt has been written to this program's working directory (") + s.ProgDir +
                        QStringLiteral(").  Import these contacts into the Tolva program by clicking File, Import, "
                                       "and navigating to this directory from the Tolva program."),
                    Buttons::Ok);
}

}  // namespace fd
