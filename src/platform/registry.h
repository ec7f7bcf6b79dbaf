#pragma once
// The per-user application settings the design keeps in the system registry
// (application "Varik_Software", section "Settings"). The Qt implementation
// keeps them in Varik_Software/Varik_Software.conf in the user's
// configuration folder; tests install the in-memory one.
#include <QMap>
#include <QString>
#include <functional>
#include <memory>

#include "platform/safefile.h"

namespace fd {

class Registry {
 public:
  virtual ~Registry() = default;
  virtual QString get(const QString& key, const QString& defaultValue) const = 0;
  // A failed write is reported, so the caller can tell the operator.
  virtual FileResult set(const QString& key, const QString& value) = 0;
};

class QtRegistry final : public Registry {
 public:
  QString get(const QString& key, const QString& defaultValue) const override;
  FileResult set(const QString& key, const QString& value) override;
};

class MemoryRegistry final : public Registry {
 public:
  QMap<QString, QString> values;
  bool failWrites = false;
  QString get(const QString& key, const QString& defaultValue) const override {
    return values.value(key, defaultValue);
  }
  FileResult set(const QString& key, const QString& value) override {
    if (failWrites) return {false, QStringLiteral("The settings could not be stored.")};
    values[key] = value;
    return {};
  }
};

// The settings store in use: the Qt one until a test installs another.
Registry& registry();
// Installs a store; the returned one is what was installed before.
std::unique_ptr<Registry> setRegistry(std::unique_ptr<Registry> r);

}  // namespace fd
