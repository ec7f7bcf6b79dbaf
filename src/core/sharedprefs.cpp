#include "core/sharedprefs.h"

#include <QFileInfo>

#include "platform/cp1252.h"

namespace fd {

const QString kSharedPrefsDeclaration = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>");

void ReadSharedPrefs(ProgramState& s, const QString& path) {
  s.PrefsPath = path;
  s.PrefsXml = kSharedPrefsDeclaration;
  if (!QFileInfo(path).isFile()) return;  // the file comes into being at the first save
  QByteArray bytes;
  if (!readWholeFile(path, bytes).ok) return;
  // Only a line end is dropped here, never content: a file another program
  // wrote without the final CR LF must survive our read and rewrite.
  if (bytes.endsWith("\r\n")) bytes.chop(2);
  else if (bytes.endsWith('\n') || bytes.endsWith('\r')) bytes.chop(1);
  if (bytes.isEmpty()) return;
  s.PrefsXml = cp1252::decode(bytes);
}

namespace {

bool isLineEnd(QChar c) { return c == u'\r' || c == u'\n'; }

// "<" and ">" would make or end an element inside the value, a line end would
// split its line: none of them is written.
QString storedValue(const QString& value) {
  QString v = value;
  v.removeIf([](QChar c) { return c == u'<' || c == u'>' || isLineEnd(c); });
  return v;
}

// Where the element's line holds `open`: at the start of a line (after CR or
// LF, or straight after the declaration), after any blanks. The same text
// elsewhere is another element's value and not ours. -1 when there is none.
qsizetype findElement(const QString& xml, const QString& open) {
  const qsizetype declEnd = xml.startsWith(kSharedPrefsDeclaration) ? kSharedPrefsDeclaration.size() : 0;
  for (qsizetype p = xml.indexOf(open); p >= 0; p = xml.indexOf(open, p + 1)) {
    qsizetype q = p;
    while (q > 0 && (xml[q - 1] == u' ' || xml[q - 1] == u'\t')) --q;
    if (q == 0 || q == declEnd || isLineEnd(xml[q - 1])) return p;
  }
  return -1;
}

}  // namespace

FileResult SetPrefTag(ProgramState& s, const QString& tag, const QString& value, std::uint8_t save) {
  const QString TAG = tag.toUpper();
  if (TAG.isEmpty()) return {};  // no element has an empty name
  const QString open = u'<' + TAG + u'>';
  const QString close = QStringLiteral("</") + TAG + u'>';
  const QString v = storedValue(value);
  QString& xml = s.PrefsXml;
  const qsizetype p = findElement(xml, open);  // exact: a lower-case element of another program is not ours
  if (p < 0) {
    xml += QStringLiteral("\r\n") + open + v + close;
  } else {
    const qsizetype valueStart = p + open.size();
    qsizetype lineEnd = valueStart;
    while (lineEnd < xml.size() && !isLineEnd(xml[lineEnd])) ++lineEnd;
    // The old value ends at the last closing tag on its line (a value an
    // earlier writer let hold its own closing tag goes whole). With no
    // closing tag it runs to the end of the line, and we close it there.
    const qsizetype last = lineEnd - close.size();
    const qsizetype e = last >= valueStart ? xml.lastIndexOf(close, last) : -1;
    if (e >= valueStart) xml = xml.left(valueStart) + v + xml.mid(e);
    else xml = xml.left(valueStart) + v + close + xml.mid(lineEnd);
  }
  if (save == 1) return WriteSharedPrefs(s, s.PrefsPath);
  return {};
}

FileResult WriteSharedPrefs(ProgramState& s, const QString& path) {
  s.PrefsPath = path;
  return writeWholeFile(path, cp1252::encode(s.PrefsXml + QStringLiteral("\r\n")));
}

QString CallToFileStem(const QString& call) {
  qsizetype n = 0;
  while (n < call.size()) {
    const char16_t c = call[n].unicode();
    const bool digit = c >= u'0' && c <= u'9';
    const bool capital = c >= u'A' && c <= u'Z';
    if (!digit && !capital) break;
    ++n;
  }
  return n == 0 ? QStringLiteral("YourCall") : call.left(n);
}

}  // namespace fd
