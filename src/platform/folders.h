#pragma once
// Where the Windows design looked for folders, on Linux:
// the profile folder is USERPROFILE if set, else $HOME, else the home folder of
// the user's password entry; "My Documents" under it is the "Documents" folder;
// APPDATA if set, else $XDG_CONFIG_HOME, else $HOME/.config. "\" becomes "/",
// and a folder that exists with another case keeps the spelling found on disk.
#include <QString>

namespace fd::folders {

QString profileFolder();   // never empty
QString appDataFolder();   // never empty
// Turns a Windows-style path into the local one (separators, "My Documents",
// case of existing components).
QString localPath(const QString& windowsStylePath);
// A folder or file of that name is present (name compared without case).
bool entryPresent(const QString& path);

}  // namespace fd::folders
