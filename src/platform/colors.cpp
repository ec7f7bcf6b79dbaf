#include "platform/colors.h"

namespace fd {

QColor toQColor(ColorValue v) {
  const auto u = static_cast<std::uint32_t>(v);
  return QColor(u & 0xFF, (u >> 8) & 0xFF, (u >> 16) & 0xFF);
}

ColorValue fromQColor(const QColor& c) { return rgbValue(c.red(), c.green(), c.blue()); }

}  // namespace fd
