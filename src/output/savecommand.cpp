#include "output/savecommand.h"

#include <QRegularExpression>
#include <QStringList>

#include "platform/platform.h"

namespace fd {

QString qtFileFilter(const QString& filter) {
  static const QRegularExpression kPattern(QStringLiteral(R"(\*(\.[^\s,;|()]+)?)"));
  QStringList patterns;
  for (auto it = kPattern.globalMatch(filter); it.hasNext();) {
    const QString p = it.next().captured(0);
    for (const QString& v : {p.toLower(), p.toUpper()})
      if (!patterns.contains(v)) patterns << v;
  }
  QString description = filter.section(u'|', 0, 0);
  const qsizetype paren = description.indexOf(u'(');
  if (paren >= 0) description.truncate(paren);
  description = description.trimmed();
  if (patterns.isEmpty()) return description;
  if (description.isEmpty()) return patterns.join(u' ');
  return description + QStringLiteral(" (") + patterns.join(u' ') + u')';
}

QString askSaveFileName(const QString& proposedPath, const QString& filter) {
  return dialogs().saveFile(QStringLiteral("Save As"), proposedPath, qtFileFilter(filter));
}

bool reportWrite(const FileResult& r, const QString& title) {
  if (r.ok) return true;
  dialogs().beep();
  dialogs().message(title, r.error, Buttons::Ok);
  return false;
}

}  // namespace fd
