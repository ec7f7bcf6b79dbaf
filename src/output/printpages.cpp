#include "output/printpages.h"

#include "output/columns_interim.h"
#include "output/dupesheet.h"

namespace fd {

using interim::Lines;

namespace {

// Lines gathered page by page. A page end opens a new page only when more
// text follows, so no document ends on an empty page.
class PageBuilder {
 public:
  void add(const QStringList& lines) {
    for (const QString& t : lines) open().append(t);
  }
  void endPage() { open_ = false; }
  PrintPages take() { return std::move(pages_); }

 private:
  QStringList& open() {
    if (!open_) {
      pages_.emplace_back();
      open_ = true;
    }
    return pages_.back();
  }
  PrintPages pages_;
  bool open_ = false;
};

// A print-zone advance from the start of a line: column 15.
QString zone(const QString& t) { return QString(14, u' ') + t; }

}  // namespace

QStringList printedLogHeading(const Station& st) {
  Lines l;
  l.end();
  l.text(QString(35, u' ') + QStringLiteral("ARRL Field Day")).end();
  l.end();
  l.text(QStringLiteral("    Call Used: ") + st.call)
      .at(30, QStringLiteral("Class: ") + st.cls)
      .at(54, QStringLiteral("ARRL Section: ") + st.section)
      .end();
  l.end().end();
  l.at(5, QStringLiteral("Bnd")).at(11, QStringLiteral("Mode")).at(18, QStringLiteral("Date")).at(30, QStringLiteral("Time"))
      .at(41, QStringLiteral("Call")).at(56, QStringLiteral("Class")).at(63, QStringLiteral("Section")).end();
  l.end();
  return l.take();
}

QStringList printedDupeHeading(const Station& st) {
  Lines l;
  l.end().end();
  l.text(QString(27, u' ') + QStringLiteral("ARRL Field Day Dupe Sheet")).end();
  l.end();
  l.text(QStringLiteral("     Call Used: ") + st.call + QStringLiteral("  Class: ") + st.cls)
      .at(52, QStringLiteral("ARRL Section: ") + st.section)
      .end();
  l.end().end();
  return l.take();
}

PrintPages printedLogPages(const QsoLog& log, const Station& st) {
  PageBuilder doc;
  const QStringList heading = printedLogHeading(st);
  int counter = 1;
  for (const QsoRecord& r : log.records()) {
    if (counter == 1) {
      doc.add(heading);
      counter = 10;
    }
    Lines l;
    l.at(5, r.Band).at(11, r.Mode).at(18, r.Date).at(30, r.Time).at(41, r.Call).at(56, r.Class).at(63, r.Section).end();
    doc.add(l.take());
    if (++counter == 54) {
      counter = 1;
      doc.endPage();
    }
  }
  return doc.take();
}

PrintPages printedDupePages(const QsoLog& log, const Station& st) {
  PageBuilder doc;
  const QStringList heading = printedDupeHeading(st);
  int counter = 7;
  doc.add(heading);
  for (const DupeGroup& g : dupeGroups(log, printedDupeBands())) {
    const QString head = g.band + QStringLiteral("  ") + g.mode;
    doc.add({zone(head)});
    for (const QString& c : g.calls) {
      if (++counter > 54) {
        counter = 7;
        doc.endPage();
        doc.add(heading);
      }
      doc.add({zone(c)});
    }
    doc.add({QString(), zone(head + QStringLiteral(" Total Contacts ") + Lines::num(g.calls.size())), QString(), QString()});
    counter += 4;
  }
  return doc.take();
}

}  // namespace fd
