#pragma once
// Line breaks for a text that holds folder paths: a path is a word to keep
// whole, not a run of places to break at.
#include <QString>
#include <QStringList>
#include <functional>

namespace fd {

// The lines of text no wider than width, as advance measures them. Lines
// break at blanks (the blank at a break is not drawn). A word wider than the
// width breaks after a "/" inside it, as late as fits, never after its first
// character; with no such "/", after the last character that fits.
QStringList wrapAtBlanksAndSlashes(const QString& text, int width, const std::function<int(const QString&)>& advance);

}  // namespace fd
