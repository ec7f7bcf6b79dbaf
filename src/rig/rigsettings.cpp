#include "rig/rigsettings.h"

#include "platform/items.h"
#include "platform/safefile.h"

namespace fd::rig {

QString portSettingsText(const RigSettings& r) {
  return r.Baud.trimmed() + u',' + r.Parity + u',' + r.DataBits + u',' + r.StopBits;
}

QString baudField(const QString& digits) { return digits.left(5).leftJustified(5, u' '); }

void loadRigFile(const QString& path, RigFile& into) {
  into.valuesRead = 0;
  QByteArray bytes;
  if (!readWholeFile(path, bytes).ok) return;
  QList<items::Item> all;
  for (const QString& line : items::lines(QString::fromLatin1(bytes))) {
    const items::Split sp = items::splitItems(line);
    all += sp.items;
  }
  RigSettings& r = into.settings;
  auto text = [&](int i, QString& out, int keep) {
    if (i >= all.size()) return false;
    out = keep > 0 ? all[i].text.left(keep) : all[i].text;
    return true;
  };
  auto num = [&](int i, int& out) {
    if (i >= all.size()) return false;
    const auto n = items::toInteger(all[i].text.trimmed());
    if (!n) return false;
    out = static_cast<int>(*n);
    return true;
  };
  int& k = into.valuesRead;
  QString baud;
  if (!text(0, baud, 5)) return;
  r.Baud = baudField(baud);
  ++k;
  if (!text(1, r.Parity, 1)) return;
  ++k;
  if (!text(2, r.DataBits, 1)) return;
  ++k;
  if (!text(3, r.StopBits, 1)) return;
  ++k;
  if (!text(4, r.ModeRequest, 0)) return;
  ++k;
  if (!text(5, r.FreqRequest, 0)) return;
  ++k;
  if (!text(6, r.PortSettings, 0)) return;
  ++k;
  if (!num(7, r.PortNumber)) return;
  ++k;
  if (!text(8, r.PowerLine, 1)) return;
  ++k;
  if (!text(9, r.PollRate, 1)) return;
  ++k;
  if (!text(10, into.rigType, 0)) return;
  ++k;
  if (!num(11, into.convToHex)) return;
  ++k;
  if (!num(12, into.useFrequency)) return;
  ++k;
  if (!num(13, into.modeBy)) return;
  ++k;
}

bool saveRigFile(const QString& path, const RigFile& f) {
  const RigSettings& r = f.settings;
  const QStringList lines = {
      items::quote(r.Baud),         items::quote(r.Parity),       items::quote(r.DataBits),
      items::quote(r.StopBits),     items::quote(r.ModeRequest),  items::quote(r.FreqRequest),
      items::quote(r.PortSettings), QString::number(r.PortNumber), items::quote(r.PowerLine),
      items::quote(r.PollRate),     items::quote(f.rigType),      QString::number(f.convToHex),
      QString::number(f.useFrequency), QString::number(f.modeBy),
  };
  return writeWholeFile(path, (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toLatin1()).ok;
}

}  // namespace fd::rig
