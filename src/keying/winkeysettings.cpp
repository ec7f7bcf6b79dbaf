#include "keying/winkeysettings.h"

#include <QStringList>

#include "keying/cwsettings.h"
#include "platform/cp1252.h"
#include "platform/items.h"

namespace fd {

bool readWkTxt(const QByteArray& bytes, WKSettings& s) {
  const QStringList lines = items::lines(cp1252::decode(bytes));
  // Lines 1 to 6 must be there; 7 and 8 only when the file goes on.
  if (lines.size() < 6) return false;
  auto item = [&](int i) { return items::splitItems(lines[i]).items.value(0).text; };
  s.port = static_cast<int>(roundHalfEven(numericValue(item(0)).value_or(0)));
  s.box.txtWKWPM = item(1);
  s.box.txtWeight = item(2);
  s.box.txtLeadIn = item(3);
  s.box.txtTail = item(4);
  s.box.txtRatio = item(5);
  if (lines.size() >= 7) s.pinCfg = static_cast<int>(numericValue(item(6)).value_or(0));
  if (lines.size() >= 8) s.mode = static_cast<int>(numericValue(item(7)).value_or(0));
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
