#include "log/dupecheck.h"

namespace fd::dupecheck {

Scan scan(const QsoLog& log, const QString& call, const QString& band, const QString& mode) {
  Scan out;
  const int n = log.count();
  for (int i = 1; i <= n; ++i) {
    const QsoRecord& r = log.rec(i);
    if (r.Call != call) continue;
    out.matches.append(i);
    if (out.fillClass.isEmpty()) out.fillClass = r.Class;
    if (out.fillSection.isEmpty()) out.fillSection = r.Section;
    if (r.Band == band && r.Mode == mode) {
      out.duplicate = i;
      break;
    }
  }
  return out;
}

QString message(const QsoRecord& r, int recNo) {
  return QStringLiteral("Dupe: ") + r.Call + u' ' + r.Class + u' ' + r.Section + u' ' + r.Date + u' ' + r.Time +
         QStringLiteral(" ON ") + r.Band + u' ' + r.Mode + QStringLiteral("  Rec# ") + QString::number(recNo);
}

QString partialList(const QsoLog& log, const QString& partial, const QString& band, const QString& mode) {
  QString list;
  const int n = log.count();
  const qsizetype len = partial.size();
  for (int i = 1; i <= n; ++i) {
    const QsoRecord& r = log.rec(i);
    // Plain code-unit comparisons: this runs over the whole log on every key.
    if (r.Call.size() >= len && QStringView(r.Call).first(len) == partial && r.Mode == mode && r.Band == band)
      list.prepend(r.Call + QStringLiteral("  "));
    if (list.size() > kPartialCut) break;
  }
  return list;
}

bool callFormOk(const QString& p) {
  auto ok = [](QChar c) { return c >= u'/' && c <= u'9'; };
  return p.size() < 3 || ok(p[1]) || ok(p[2]);
}

}  // namespace fd::dupecheck
