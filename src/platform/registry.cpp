#include "platform/registry.h"

#include <QSettings>

namespace fd {

namespace {
std::unique_ptr<Registry>& current() {
  static std::unique_ptr<Registry> r = std::make_unique<QtRegistry>();
  return r;
}

// Organisation and application both "Varik_Software": the file is
// Varik_Software/Varik_Software.conf under the configuration folder.
const QString kName = QStringLiteral("Varik_Software");
}  // namespace

QString QtRegistry::GetSetting(const QString& section, const QString& key, const QString& fallback) const {
  QSettings s(kName, kName);
  return s.value(section + u'/' + key, fallback).toString();
}

FileResult QtRegistry::SaveSetting(const QString& section, const QString& key, const QString& value) {
  QSettings s(kName, kName);
  s.setValue(section + u'/' + key, value);
  s.sync();
  if (s.status() != QSettings::NoError)
    return {false, QStringLiteral("The settings file %1 could not be written.").arg(s.fileName())};
  return {};
}

Registry& registry() { return *current(); }

std::unique_ptr<Registry> setRegistry(std::unique_ptr<Registry> r) { return std::exchange(current(), std::move(r)); }

}  // namespace fd
