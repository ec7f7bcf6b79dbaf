#include "output/printpages.h"

#include "output/asciilog.h"
#include "output/dupesheet.h"
#include "output/textlines.h"

namespace fd {

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

// Texts at columns on one line.
void columns(TextWriter& w, std::initializer_list<std::pair<int, QString>> fields) {
  for (const auto& [col, text] : fields) {
    w.column(col);
    w.text(text);
  }
  w.lineEnd();
}

QStringList printedLogHeading(const Station& st) {
  TextWriter w;
  w.line();
  w.line(QString(35, u' ') + QStringLiteral("ARRL Field Day"));
  w.line();
  columns(w, {{1, QStringLiteral("    Call Used: ") + st.call},
              {30, QStringLiteral("Class: ") + st.cls},
              {54, QStringLiteral("ARRL Section: ") + st.section}});
  w.line();
  w.line();
  columns(w, {{5, QStringLiteral("Bnd")}, {11, QStringLiteral("Mode")}, {18, QStringLiteral("Date")}, {30, QStringLiteral("Time")},
              {41, QStringLiteral("Call")}, {56, QStringLiteral("Class")}, {63, QStringLiteral("Section")}});
  w.line();
  return textLines(w);
}

QStringList printedDupeHeading(const Station& st) {
  TextWriter w;
  w.line();
  w.line();
  w.line(QString(27, u' ') + QStringLiteral("ARRL Field Day Dupe Sheet"));
  w.line();
  asciiHeader(w, st);  // the file's header line and its empty line
  w.line();
  return textLines(w);
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
    TextWriter w;
    columns(w, {{5, r.Band}, {11, r.Mode}, {18, r.Date}, {30, r.Time}, {41, r.Call}, {56, r.Class}, {63, r.Section}});
    doc.add(textLines(w));
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
    doc.add({QString(), zone(head + QStringLiteral(" Total Contacts ") + columnNumber(static_cast<double>(g.calls.size()))), QString(), QString()});
    counter += 4;
  }
  return doc.take();
}

}  // namespace fd
