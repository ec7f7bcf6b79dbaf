#pragma once
// The files the program rewrites whole under names of its own, in its own
// folders, and the start-up step that clears what a write cut short by a
// kill left beside them.
#include "core/state.h"

namespace fd {

// Removes the whole-file writer's temporary files ".<name>.saving-XXXXXX" of the
// program's own files, in the program folder, the Field Day documents folder
// and the shared documents folder, when they are more than a minute old by
// the program's clock. Returns how many went; nothing is shown.
int RemoveLeftoverTemporaries(const ProgramState& s);

}  // namespace fd
