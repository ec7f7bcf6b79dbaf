#pragma once
// The per-user settings store (the classic registry's GetSetting and
// SaveSetting): QSettings under organisation and application
// "Varik_Software", one group per section. Tests put an in-memory store in
// its place.
#include <QHash>
#include <QString>
#include <memory>

namespace fd {

class Registry {
 public:
  virtual ~Registry() = default;
  virtual QString GetSetting(const QString& section, const QString& key, const QString& fallback) const = 0;
  virtual void SaveSetting(const QString& section, const QString& key, const QString& value) = 0;
};

class MemoryRegistry final : public Registry {
 public:
  QString GetSetting(const QString& section, const QString& key, const QString& fallback) const override {
    return values.value(section + u'/' + key, fallback);
  }
  void SaveSetting(const QString& section, const QString& key, const QString& value) override {
    values.insert(section + u'/' + key, value);
  }
  QHash<QString, QString> values;  // "Settings/UserCWSelection" -> "Timer"
};

Registry& registry();
// Puts r in place of the store and returns the old one (tests).
std::unique_ptr<Registry> setRegistry(std::unique_ptr<Registry> r);

}  // namespace fd
