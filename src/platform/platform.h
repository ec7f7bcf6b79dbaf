#pragma once
// The program's one handle on the operating system. The real program fills it
// with the Qt implementations; tests put fakes in its place.
#include <memory>

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/screen.h"

namespace fd {

struct Platform {
  std::unique_ptr<Dialogs> dialogs;
  std::unique_ptr<Clock> clock;
  std::unique_ptr<Screen> screen;
};

Platform& platform();  // starts with the real implementations
inline Dialogs& dialogs() { return *platform().dialogs; }
inline Clock& clock() { return *platform().clock; }
inline Screen& display() { return *platform().screen; }  // not screen(): QWidget has one

}  // namespace fd
