#pragma once
// The own station as the output files and printouts head it.
#include <QString>

#include "core/state.h"

namespace fd {

struct Station {
  QString call, cls, section;
};

inline Station stationOf(const ProgramState& s) { return {s.MyCall, s.MyClass, s.MySection}; }

}  // namespace fd
