#include "platform/folders.h"

#include <QDir>
#include <QFileInfo>
#include <pwd.h>
#include <unistd.h>

namespace fd::folders {
namespace {
QString env(const char* name) { return QString::fromLocal8Bit(qgetenv(name)); }

QString passwdHome() {
  if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir && *pw->pw_dir)
    return QString::fromLocal8Bit(pw->pw_dir);
  return QStringLiteral("/");
}

QString homeFolder() {
  const QString home = env("HOME");
  return home.isEmpty() ? passwdHome() : home;
}

// The entry of `parent` named `name` without regard to case, or `name` itself.
QString matchCase(const QString& parent, const QString& name) {
  QDir dir(parent.isEmpty() ? QStringLiteral("/") : parent);
  if (QFileInfo::exists(dir.filePath(name))) return name;
  const QStringList entries = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  for (const QString& e : entries)
    if (e.compare(name, Qt::CaseInsensitive) == 0) return e;
  return name;
}
}  // namespace

QString profileFolder() {
  const QString p = env("USERPROFILE");
  return localPath(p.isEmpty() ? homeFolder() : p);
}

QString appDataFolder() {
  QString p = env("APPDATA");
  if (p.isEmpty()) p = env("XDG_CONFIG_HOME");
  if (p.isEmpty()) p = homeFolder() + QStringLiteral("/.config");
  return localPath(p);
}

QString localPath(const QString& windowsStylePath) {
  QString p = windowsStylePath;
  p.replace(u'\\', u'/');
  const bool absolute = p.startsWith(u'/');
  const QStringList parts = p.split(u'/', Qt::SkipEmptyParts);
  QString parent = absolute ? QStringLiteral("/") : QDir::currentPath();
  QStringList built;
  for (QString part : parts) {
    if (part.compare(QStringLiteral("My Documents"), Qt::CaseInsensitive) == 0)
      part = QStringLiteral("Documents");
    part = matchCase(parent, part);
    built << part;
    parent = QDir(parent).filePath(part);
  }
  return (absolute ? QStringLiteral("/") : QString()) + built.join(u'/');
}

bool entryPresent(const QString& path) {
  const QString local = localPath(path);
  return QFileInfo::exists(local);
}

}  // namespace fd::folders
