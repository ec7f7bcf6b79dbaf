#include "log/findcall.h"

#include "log/datetime.h"

namespace fd {

namespace findcall {

std::vector<int> matches(const QsoLog& log, const QString& text, bool partial) {
  std::vector<int> found;
  if (text.isEmpty()) return found;
  for (int i = log.count(); i >= 1; --i) {
    const QString& call = log.rec(i).Call;
    if (partial ? call.contains(text, Qt::CaseSensitive) : call == text) found.push_back(i);
  }
  return found;
}

}  // namespace findcall

QStringList listRowTexts(const QsoLog& log, int recNo, bool withOperator) {
  const QsoRecord& r = log.rec(recNo);
  return {QString::number(recNo), r.Call, r.Class, r.Section, datetime::listDate(r.Date),
          datetime::listTime(r.Time), r.Band, r.Mode, withOperator ? r.Initials : QString()};
}

}  // namespace fd
