#include "platform/registry.h"

#include <QSettings>

namespace fd {
namespace {

class QtRegistry final : public Registry {
 public:
  QString GetSetting(const QString& section, const QString& key, const QString& fallback) const override {
    QSettings st(QStringLiteral("Varik_Software"), QStringLiteral("Varik_Software"));
    return st.value(section + u'/' + key, fallback).toString();
  }
  void SaveSetting(const QString& section, const QString& key, const QString& value) override {
    QSettings st(QStringLiteral("Varik_Software"), QStringLiteral("Varik_Software"));
    st.setValue(section + u'/' + key, value);
  }
};

std::unique_ptr<Registry>& current() {
  static std::unique_ptr<Registry> r = std::make_unique<QtRegistry>();
  return r;
}

}  // namespace

Registry& registry() { return *current(); }

std::unique_ptr<Registry> setRegistry(std::unique_ptr<Registry> r) {
  std::swap(current(), r);
  return r;
}

}  // namespace fd
