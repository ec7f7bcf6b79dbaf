#include "output/asciilog.h"

#include "core/state.h"
#include "output/dupesheet.h"
#include "output/textlines.h"

namespace fd {

void asciiHeader(TextWriter& w, const Station& st) {
  w.text(QStringLiteral("     Call Used: ") + st.call + QStringLiteral("  Class: ") + st.cls);
  w.column(52);
  w.line(QStringLiteral("ARRL Section: ") + st.section);
  w.line();
}

TextWriter asciiLogText(const QsoLog& log, const Station& st) {
  TextWriter w;
  asciiHeader(w, st);
  for (const QsoRecord& r : log.records()) {
    const std::pair<int, const QString*> fields[] = {{1, &r.Band}, {6, &r.Mode},   {12, &r.Date},   {24, &r.Time},
                                                     {34, &r.Call}, {45, &r.Class}, {52, &r.Section}};
    for (const auto& [col, text] : fields) {
      w.column(col);
      w.text(*text);
    }
    w.lineEnd();
  }
  return w;
}

TextWriter asciiDupeText(const QsoLog& log, const Station& st) {
  TextWriter w;
  asciiHeader(w, st);
  for (const DupeGroup& g : dupeGroups(log, kBands)) {
    const QString head = g.band + QStringLiteral("  ") + g.mode;
    w.line(head);
    for (const QString& c : g.calls) w.line(c);
    w.line();
    w.text(head + QStringLiteral(" Total Contacts "));
    w.number(static_cast<double>(g.calls.size()));
    w.lineEnd();
    w.line();
    w.line();
  }
  return w;
}

QStringList asciiLogLines(const QsoLog& log, const Station& st) { return textLines(asciiLogText(log, st)); }
QStringList asciiDupeLines(const QsoLog& log, const Station& st) { return textLines(asciiDupeText(log, st)); }

}  // namespace fd
