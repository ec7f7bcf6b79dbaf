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
  QString baud;
  // The fourteen values in file order: a text (kept whole, or its first
  // `keep` characters) or a number. A failure stops the read there.
  struct Field {
    QString* text;
    int keep;
    int* number;
  };
  const Field fields[] = {
      {&baud, 5, nullptr},           {&r.Parity, 1, nullptr},        {&r.DataBits, 1, nullptr},
      {&r.StopBits, 1, nullptr},     {&r.ModeRequest, 0, nullptr},   {&r.FreqRequest, 0, nullptr},
      {&r.PortSettings, 0, nullptr}, {nullptr, 0, &r.PortNumber},    {&r.PowerLine, 1, nullptr},
      {&r.PollRate, 1, nullptr},     {&into.rigType, 0, nullptr},    {nullptr, 0, &into.convToHex},
      {nullptr, 0, &into.useFrequency}, {nullptr, 0, &into.modeBy},
  };
  for (const Field& f : fields) {
    const int i = into.valuesRead;
    if (i >= all.size()) return;
    if (f.text) {
      const QString text = items::storedText(all[i].text);
      *f.text = f.keep > 0 ? text.left(f.keep) : text;
    } else {
      const auto n = items::toInteger(all[i].text.trimmed());
      if (!n) return;
      *f.number = static_cast<int>(*n);
    }
    if (i == 0) r.Baud = baudField(baud);
    ++into.valuesRead;
  }
}

FileResult saveRigFile(const QString& path, const RigFile& f) {
  const RigSettings& r = f.settings;
  const QStringList lines = {
      items::quote(r.Baud),         items::quote(r.Parity),       items::quote(r.DataBits),
      items::quote(r.StopBits),     items::quote(r.ModeRequest),  items::quote(r.FreqRequest),
      items::quote(r.PortSettings), QString::number(r.PortNumber), items::quote(r.PowerLine),
      items::quote(r.PollRate),     items::quote(f.rigType),      QString::number(f.convToHex),
      QString::number(f.useFrequency), QString::number(f.modeBy),
  };
  return writeWholeFile(path, (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toLatin1());
}

}  // namespace fd::rig
