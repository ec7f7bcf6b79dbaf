#pragma once
// "PackSpot.txt": the spotting window's settings, fourteen values one per
// line (CR LF): texts in double quotes, numbers bare, #TRUE# / #FALSE#.
//   1 baud  2 parity  3 data bits  4 stop bits  5 port number (0-255)
//   6 power line  7 transport  8 "Convert to Hex" (0/1)  9 handshaking (0-255)
//   10 "List DX Only" (0/1)  11 list display (truth)  12 TNC command character
//   13 telnet port  14 telnet host
#include <QByteArray>
#include <QString>
#include <optional>

namespace fd {

struct SpotSettings {
  QString Baud, Parity, DataBits, StopBits;
  int PortNumber = 0;
  QString PowerLine, Transport;
  int ConvToHex = 0;
  int Handshake = 0;
  int ListDXOnly = 0;
  bool OptList = false;
  QString Hex, TelnetPort, TelnetHost;

  static constexpr int kValues = 14;

  QByteArray toFile() const;
  // The values in order up to the first that is missing or not of its type;
  // `read` is how many were read (kValues for a whole file).
  static SpotSettings readValues(const QByteArray& bytes, int& read);
  // nullopt when fewer than fourteen values are there or one is not of its type.
  static std::optional<SpotSettings> fromFile(const QByteArray& bytes);
};

}  // namespace fd
