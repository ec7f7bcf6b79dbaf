#include "output/asciilog.h"

#include "core/state.h"
#include "output/columns_interim.h"
#include "output/dupesheet.h"

namespace fd {

using interim::Lines;

namespace {
void header(Lines& l, const Station& st) {
  l.text(QStringLiteral("     Call Used: ") + st.call + QStringLiteral("  Class: ") + st.cls)
      .at(52, QStringLiteral("ARRL Section: ") + st.section)
      .end()
      .end();
}
}  // namespace

QStringList asciiHeader(const Station& st) {
  Lines l;
  header(l, st);
  return l.take();
}

QStringList asciiLogLines(const QsoLog& log, const Station& st) {
  Lines l;
  header(l, st);
  for (const QsoRecord& r : log.records())
    l.at(1, r.Band).at(6, r.Mode).at(12, r.Date).at(24, r.Time).at(34, r.Call).at(45, r.Class).at(52, r.Section).end();
  return l.take();
}

QStringList asciiDupeLines(const QsoLog& log, const Station& st) {
  Lines l;
  header(l, st);
  for (const DupeGroup& g : dupeGroups(log, kBands)) {
    const QString head = g.band + QStringLiteral("  ") + g.mode;
    l.text(head).end();
    for (const QString& c : g.calls) l.text(c).end();
    l.end();
    l.text(head + QStringLiteral(" Total Contacts ")).number(g.calls.size()).end();
    l.end().end();
  }
  return l.take();
}

}  // namespace fd
