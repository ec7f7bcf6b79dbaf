// mnuADIFExport_Click: three questions, the save dialog, the file.
#include "output/adif.h"
#include "output/outputservice.h"
#include "core/title.h"
#include "output/savecommand.h"
#include "platform/platform.h"

namespace fd {

void OutputService::mnuADIFExport_Click() {
  Dialogs& d = dialogs();
  adif::ExportTexts texts;
  texts.power = d.input(QStringLiteral("Please enter your transmitter output power."),
                        QStringLiteral("Please enter the power value that you would like to record.  This is an "
                                       "optional value that will be included in each QSO record and displayed in "
                                       "Tolva's power output column."),
                        QStringLiteral("100"));
  texts.comment = d.input(QStringLiteral("Please enter a comment."),
                          QStringLiteral("Please enter a comment that you would like to appear on each QSO record.  "
                                         "This is an optional description that will be displayed in Tolva's "
                                         "Comments column."),
                          QStringLiteral("ARRL Field Day Contest"));
  texts.phone = d.input(QStringLiteral("Mode?"),
                        QStringLiteral("Please enter the mode designation that you would like to use for phone "
                                       "contacts.  Be sure to designate PH if you are transferring to another "
                                       "contest program!"),
                        QStringLiteral("PH"))
                    .toUpper();
  const QString name =
      askSaveFileName(s.FieldDayDir + QStringLiteral("/Field Day.adi"), QStringLiteral("ADIF Files (*.adi) | *.adi"));
  if (name.isEmpty()) return;  // cancelled
  const QByteArray bytes = adif::exportFile(s.Log.records(), texts, kProgramTitle, clock().localNow().date());
  if (!reportWrite(writeWholeFile(name, bytes))) return;
  d.message(QStringLiteral("File Written Successfully."),
            QStringLiteral("The file was successfully written to the directory:\r\n\r\n") + name + u'.', Buttons::Ok);
}

}  // namespace fd
