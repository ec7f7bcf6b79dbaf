#pragma once
// The settings and backup files the crash-safety test watches, each written
// through the program's own writer with contents that follow a generation
// number (odd generations are longer, so old and new differ in size too), and
// read back through the program's own reader. The log torture program writes
// them; the test checks each is one generation whole.
#include <QString>
#include <optional>

#include "platform/safefile.h"

namespace fd::sim {

// RigCntrl.txt, PackSpot.txt, cw.txt, wave2.txt, WK.txt, LogBkUp.dat and the
// other folder's copy "other/LogBkUp.dat" (copied from LogBkUp.dat).
int settingsFileCount();
QString settingsFileName(int index);

// Writes file `index` of FOLDER as generation `gen`. The copy (the last
// index) takes whatever generation LogBkUp.dat holds; `gen` is ignored.
FileResult writeSettingsFile(const QString& folder, int index, int gen);

// The generation the file holds, read with the program's reader; nullopt
// when it is missing. *damaged is set (and nullopt returned) when the file is
// there but is not one generation whole: a value missing or not the one that
// generation writes.
std::optional<int> readSettingsFile(const QString& folder, int index, bool* damaged);

}  // namespace fd::sim
