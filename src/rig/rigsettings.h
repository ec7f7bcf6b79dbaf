#pragma once
// "RigCntrl.txt": fourteen lines, texts quoted, numbers bare, CR LF:
// baud (5 characters), parity, data bits, stop bits, mode request, frequency
// request, port settings, port number, power line, poll rate, rig type,
// "Convert to Hex", "Use Frequency", mode-by choice (1 Rig, 2 Frequency,
// 3 Don't Use).
#include <QString>

#include "platform/safefile.h"

namespace fd::rig {

struct RigSettings {
  QString Baud = QStringLiteral("56000");
  QString Parity = QStringLiteral("N");
  QString DataBits = QStringLiteral("8");
  QString StopBits = QStringLiteral("1");
  QString ModeRequest;
  QString FreqRequest;
  QString PortSettings = QStringLiteral("56000,N,8,1");
  int PortNumber = 1;
  QString PowerLine = QStringLiteral("N");
  QString PollRate = QStringLiteral("M");
};

struct RigFile {
  RigSettings settings;
  QString rigType;
  int convToHex = 0;
  int useFrequency = 1;
  int modeBy = 1;
  int valuesRead = 0;  // 14 when the whole file was read
};

// PortSettings from the four fields: "4800,N,8,2".
QString portSettingsText(const RigSettings& r);
// Baud digits padded to five characters.
QString baudField(const QString& digits);

// Reads into `into` as far as the file goes (a failure stops the read; what
// was read stays). valuesRead tells how far it got.
void loadRigFile(const QString& path, RigFile& into);
// A whole-file write: a failure leaves the old file whole and says why.
FileResult saveRigFile(const QString& path, const RigFile& f);

}  // namespace fd::rig
