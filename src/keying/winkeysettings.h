#pragma once
// WK.txt (in FieldDayDir), the WinKey keyer's settings: 8 CR LF lines: port
// (bare), speed, weight, lead-in, tail, ratio (quoted), pin configuration and
// mode (bare); a file of six lines is valid.
#include <QByteArray>
#include <QString>

namespace fd {

// The setup window's boxes, as texts.
struct WKBoxes {
  QString txtWKComPort = QStringLiteral("5"), txtWKWPM = QStringLiteral("18"), txtWeight = QStringLiteral("50");
  QString txtLeadIn = QStringLiteral("0"), txtTail = QStringLiteral("0"), txtRatio = QStringLiteral("50");
};

struct WKSettings {
  int port = 0;
  WKBoxes box;  // the port box is not stored: it shows port
  int pinCfg = 6, mode = 0;
};

// Reads the file's bytes into s; false, and s untouched, when the file has
// fewer than six lines. Pin configuration and mode are read only when their
// lines are there. A number that is not one byte (0-255) reads as the
// default: port 0, pin configuration 6, mode 0.
bool readWkTxt(const QByteArray& bytes, WKSettings& s);
QByteArray wkTxtBytes(const WKSettings& s);

}  // namespace fd
