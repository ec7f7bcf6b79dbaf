#pragma once
// Esc and the close box, window by window: the one table every window of the
// program takes its frame and its Esc from.
//
// Phone Setup, the rig window, Backup Options and CW Setup keep what the
// operator set: Esc is their Done (and so is their close box; CW Setup asks
// for none). The spotting setup keeps Esc for the TNC's command-mode key (a
// colon in the AGW send box), the CW strings window hands it to the main
// window. Every other window takes Esc as its Cancel, or as its close box
// where it has no Cancel. Windows shown without blocking as windows of their
// own may go behind the main window; the section map stays above it.
#include <QString>
#include <functional>
#include <span>

#include "platform/forms.h"

namespace fd {

struct NamedWindowRule {
  const char* window;  // the window's class name, also its object name
  WindowRule rule;
};

std::span<const NamedWindowRule> windowRules();

// The named window's rule applied (see applyWindowRule), its object name set.
void applyWindowRule(QWidget* window, const char* name, std::function<void()> action = {});

}  // namespace fd
