#include "core/state.h"

#include <QDir>

namespace fd {

void fillSectionTable(ProgramState& s) {
  for (int i = 0; i < kSecTotal; ++i) {
    s.SecName[i + 1] = QString::fromLatin1(kSectionRows[static_cast<size_t>(i)].name);
    s.SecFullName[i + 1] = QString::fromLatin1(kSectionRows[static_cast<size_t>(i)].fullName);
  }
  s.SecTotal = kSecTotal;
}

QString ProgramState::progFile(const QString& name) const {
  return (ProgDir.isEmpty() ? QDir::currentPath() : ProgDir) + u'/' + name;
}

}  // namespace fd
