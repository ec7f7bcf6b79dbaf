#pragma once
#include <QString>

namespace fd {

// "Varik Software Field Day Log", a blank and the version, padded with blanks
// past the 50th character.
inline const QString kProgramTitle = QStringLiteral("Varik Software Field Day Log 1.0").leftJustified(60, u' ');

}  // namespace fd
