#include "core/ownfiles.h"

#include "platform/platform.h"
#include "platform/safefile.h"

namespace fd {

namespace {

struct OwnFile {
  QString ProgramState::*folder;
  const char* name;
};

// Every file the program writes whole under a fixed name in its own folders.
// A file written through writeWholeFile or copyWholeFile belongs here.
const OwnFile kOwnFiles[] = {
    {&ProgramState::ProgDir, "fdlog.dat"},     {&ProgramState::ProgDir, "fdpref.dat"},
    {&ProgramState::ProgDir, "LogBkUp.dat"},   {&ProgramState::ProgDir, "LogExp.txt"},
    {&ProgramState::ProgDir, "cw.txt"},        {&ProgramState::ProgDir, "wave2.txt"},
    {&ProgramState::ProgDir, "RigCntrl.txt"},  {&ProgramState::ProgDir, "PackSpot.txt"},
    {&ProgramState::FieldDayDir, "WK.txt"},    {&ProgramState::SharedDir, "SharedUserPreferences.xml"},
};

}  // namespace

int RemoveLeftoverTemporaries(const ProgramState& s) {
  const QDateTime now = clock().utcNow();
  int removed = 0;
  for (QString ProgramState::*folder : {&ProgramState::ProgDir, &ProgramState::FieldDayDir, &ProgramState::SharedDir}) {
    QSet<QString> names;
    for (const OwnFile& f : kOwnFiles)
      if (f.folder == folder) names.insert(QString::fromLatin1(f.name));
    removed += removeStaleTemporaries(s.*folder, names, now);
  }
  return removed;
}

}  // namespace fd
