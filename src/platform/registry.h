#pragma once
// The per-user settings store (GetSetting and SaveSetting by section and
// key). The Qt implementation keeps them with QSettings under organisation and
// application "Varik_Software" (Varik_Software/Varik_Software.conf in the
// user's configuration folder), one group per section; tests install the
// in-memory one.
#include <QHash>
#include <QString>
#include <memory>

#include "platform/safefile.h"

namespace fd {

class Registry {
 public:
  virtual ~Registry() = default;
  virtual QString GetSetting(const QString& section, const QString& key, const QString& fallback) const = 0;
  // A failed write is reported, so the caller can tell the operator.
  virtual FileResult SaveSetting(const QString& section, const QString& key, const QString& value) = 0;

  // The program's own values live in section "Settings".
  QString get(const QString& key, const QString& fallback) const {
    return GetSetting(QStringLiteral("Settings"), key, fallback);
  }
  FileResult set(const QString& key, const QString& value) { return SaveSetting(QStringLiteral("Settings"), key, value); }
};

class QtRegistry final : public Registry {
 public:
  QString GetSetting(const QString& section, const QString& key, const QString& fallback) const override;
  FileResult SaveSetting(const QString& section, const QString& key, const QString& value) override;
};

class MemoryRegistry final : public Registry {
 public:
  QHash<QString, QString> values;  // "Settings/UserCWSelection" -> "Timer"
  bool failWrites = false;
  QString GetSetting(const QString& section, const QString& key, const QString& fallback) const override {
    return values.value(section + u'/' + key, fallback);
  }
  FileResult SaveSetting(const QString& section, const QString& key, const QString& value) override {
    if (failWrites) return {false, QStringLiteral("The settings could not be stored.")};
    values.insert(section + u'/' + key, value);
    return {};
  }
};

// The settings store in use: the Qt one until a test installs another.
Registry& registry();
// Installs a store; the returned one is what was installed before.
std::unique_ptr<Registry> setRegistry(std::unique_ptr<Registry> r);

}  // namespace fd
