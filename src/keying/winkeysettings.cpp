#include "keying/winkeysettings.h"

#include <QStringList>

#include "keying/cwsettings.h"
#include "platform/cp1252.h"
#include "platform/items.h"

namespace fd {

namespace {
// A number the keyer takes as one byte; another number is the fallback (a
// larger one would not even fit the int it is kept in). Not a number: 0.
int byteValue(const QString& text, int fallback, bool round) {
  const std::optional<double> v = numericValue(text);
  if (!v) return 0;
  if (!(*v >= 0 && *v < 256)) return fallback;
  const int n = static_cast<int>(round ? roundHalfEven(*v) : *v);
  return n > 255 ? fallback : n;
}
}  // namespace

bool readWkTxt(const QByteArray& bytes, WKSettings& s) {
  const QStringList lines = items::lines(cp1252::decode(bytes));
  // Lines 1 to 6 must be there; 7 and 8 only when the file goes on.
  if (lines.size() < 6) return false;
  auto item = [&](int i) { return items::storedText(items::splitItems(lines[i]).items.value(0).text); };
  s.port = byteValue(item(0), 0, true);
  s.box.txtWKWPM = item(1);
  s.box.txtWeight = item(2);
  s.box.txtLeadIn = item(3);
  s.box.txtTail = item(4);
  s.box.txtRatio = item(5);
  if (lines.size() >= 7) s.pinCfg = byteValue(item(6), 6, false);
  if (lines.size() >= 8) s.mode = byteValue(item(7), 0, false);
  return true;
}

QByteArray wkTxtBytes(const WKSettings& s) {
  const QStringList l = {QString::number(s.port),        items::quote(s.box.txtWKWPM),
                         items::quote(s.box.txtWeight),  items::quote(s.box.txtLeadIn),
                         items::quote(s.box.txtTail),    items::quote(s.box.txtRatio),
                         QString::number(s.pinCfg),      QString::number(s.mode)};
  return cp1252::encode(l.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

}  // namespace fd
