#include "platform/platform.h"

namespace fd {

Platform& platform() {
  static Platform p{std::make_unique<QtDialogs>(), std::make_unique<SystemClock>(), std::make_unique<QtScreen>()};
  return p;
}

}  // namespace fd
