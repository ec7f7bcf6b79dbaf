#pragma once
// "SharedUserPreferences.xml" in the shared documents folder: the station's
// address and club details, one element per line after the declaration, no
// root element, nothing escaped, one byte per character. Other programs may
// keep elements of their own there; we change only the elements we are asked
// to set and write every other byte back as it was.
#include <QString>
#include <cstdint>

#include "core/state.h"
#include "platform/safefile.h"

namespace fd {

// The declaration line the file starts with.
extern const QString kSharedPrefsDeclaration;

// Reads the file whole into s.PrefsXml, less its trailing line end (the one
// WriteSharedPrefs adds). A missing, empty or unreadable file starts from the
// declaration line alone. Remembers the path in s.PrefsPath.
void ReadSharedPrefs(ProgramState& s, const QString& path);

// Sets element TAG (the tag upper-cased) to value in s.PrefsXml, appending it
// when missing; with save 1 writes the file to s.PrefsPath at once. The
// element is the line that opens with <TAG> (after any blanks); its old value
// runs to the last </TAG> on that line. The value is written without "<",
// ">" and line ends, which would cut the file's one-element lines. Write
// failures are returned to the caller; the change in memory stays.
FileResult SetPrefTag(ProgramState& s, const QString& tag, const QString& value, std::uint8_t save);

// Writes s.PrefsXml and CR LF to path, replacing the file.
FileResult WriteSharedPrefs(ProgramState& s, const QString& path);

// The own call as a file-name stem: the leading run of "0"-"9" and "A"-"Z",
// or "YourCall" when that run is empty.
QString CallToFileStem(const QString& call);

}  // namespace fd
