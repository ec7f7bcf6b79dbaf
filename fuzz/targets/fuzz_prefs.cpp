// fdpref.dat: any bytes read, written and read again give the same values.
#include <cstddef>
#include <cstdint>

#include "core/prefs.h"
#include "fuzzsupport.h"

using namespace fd;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::ensureApp();
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  // One state each, reset to the start values before every run (a state
  // reserves room for a whole log, too costly to build per input).
  static ProgramState first, second;
  static const QByteArray startValues = prefs::format(ProgramState());
  prefs::parse(startValues, first);
  prefs::parse(startValues, second);
  prefs::parse(bytes, first);
  const QByteArray written = prefs::format(first);
  fuzz::check(prefs::parse(written, second) == 17, "a written file holds all seventeen values");
  fuzz::check(prefs::format(second) == written, "read, write, read gives the same values");
  return 0;
}
