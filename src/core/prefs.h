#pragma once
// fdpref.dat: seventeen values, one a line, CR LF, texts quoted, numbers bare:
//  1 MyCall  2 MyClass  3 MySection  4 UTCOffset  5 CurMode  6 CurBand
//  7 WorkedColor  8 RemainingColor  9 FormSizePct  10 VoiceNavMode  11 RigType
// 12 TaskbarOn  13 ListPrevOn  14 OpInitials  15 BackupPermanent
// 16 BackupOther  17 BackupOtherDir
#include <QByteArray>

#include "core/state.h"
#include "platform/safefile.h"

namespace fd::prefs {

QByteArray format(const ProgramState& s);
// Reads as many of the seventeen values as the text holds, in order; a bare
// number that does not convert or is out of its type's range (a byte above
// 255, a colour beyond 0..16777215) takes that value's start value (0, or 100
// for FormSizePct). Returns the number of lines read (17 for a whole file).
int parse(const QByteArray& text, ProgramState& s);

struct ReadResult {
  bool opened = false;
  int values = 0;
};
ReadResult read(const QString& path, ProgramState& s);
FileResult write(const QString& path, const ProgramState& s);

// SavePref: writes fdpref.dat in the program folder. A failure shows one
// message box and keeps the program running; later failures stay quiet until
// a save succeeds again.
bool SavePref(ProgramState& s);

// A UTC offset that is a finite number within -24..24 (for the windows that
// check what the operator types; the reader does not apply it).
bool validOffset(double hours);

}  // namespace fd::prefs
