#include "app/state.h"

namespace fd {

void fillSectionTable(ProgramState& s) {
  for (int i = 0; i < kSecTotal; ++i) {
    s.SecName[i + 1] = QString::fromLatin1(kSectionRows[static_cast<size_t>(i)].name);
    s.SecFullName[i + 1] = QString::fromLatin1(kSectionRows[static_cast<size_t>(i)].fullName);
  }
  s.SecTotal = kSecTotal;
}

}  // namespace fd
