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

FileResult SetPrefTag(ProgramState& s, const QString& tag, const QString& value, std::uint8_t save) {
  const QString TAG = tag.toUpper();
  if (TAG.isEmpty()) return {};  // no element has an empty name
  const QString open = u'<' + TAG + u'>';
  const QString close = QStringLiteral("</") + TAG + u'>';
  QString& xml = s.PrefsXml;
  const qsizetype p = xml.indexOf(open);  // exact: a lower-case element of another program is not ours
  if (p < 0) {
    xml += QStringLiteral("\r\n") + open + value + close;
  } else {
    const qsizetype valueStart = p + open.size();
    const qsizetype e = xml.indexOf(close, valueStart);
    if (e >= 0) {
      xml = xml.left(valueStart) + value + xml.mid(e);
    } else {
      // An opening tag with no closing tag: its value runs to the end of its
      // line; we close the element there and keep every later line.
      qsizetype lineEnd = xml.indexOf(u'\r', valueStart);
      const qsizetype lf = xml.indexOf(u'\n', valueStart);
      if (lineEnd < 0 || (lf >= 0 && lf < lineEnd)) lineEnd = lf;
      if (lineEnd < 0) lineEnd = xml.size();
      xml = xml.left(valueStart) + value + close + xml.mid(lineEnd);
    }
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
