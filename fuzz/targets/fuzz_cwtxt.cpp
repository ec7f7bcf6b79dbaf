// cw.txt: whatever the file holds, what the restore placed is written and
// restored again to the same values.
#include <cstddef>
#include <cstdint>

#include "fuzzsupport.h"
#include "keying/cwsettings.h"

using namespace fd;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::ensureApp();
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  CWSettings first;
  const CWRestore r1 = restoreCwTxt(bytes, first);
  fuzz::check(r1.linesPlaced >= 0 && r1.linesPlaced <= 18, "at most eighteen lines are placed");
  fuzz::check(!r1.complete || r1.linesPlaced == 18, "a complete restore placed every line");
  if (r1.keyingType) fuzz::check(*r1.keyingType >= 0 && *r1.keyingType <= 255, "the key line fits its byte");
  fuzz::check(first.repeatMs >= 0, "the repeat interval is one the timer takes");

  const int keyingType = r1.keyingType.value_or(0);
  const QByteArray written = cwTxtBytes(first, keyingType);
  CWSettings second;
  const CWRestore r2 = restoreCwTxt(written, second);
  fuzz::check(r2.linesPlaced >= r1.linesPlaced, "a written file restores at least as far");
  const int placed = r1.linesPlaced;
  for (int line = 1; line <= 13 && line <= placed; ++line)
    fuzz::check(second.Text[line] == first.Text[line], "each message and box text comes back");
  if (placed >= 14) fuzz::check(second.txtSpace == first.txtSpace, "the spacing box comes back");
  if (placed >= 15) fuzz::check(r2.keyingType == keyingType, "the key line comes back");
  if (placed >= 16) fuzz::check(second.Text[14] == first.Text[14], "the parallel address comes back");
  if (placed >= 17) fuzz::check(second.Check1 == first.Check1, "the check box comes back");
  if (placed >= 18) fuzz::check(second.txtCWLoop == first.txtCWLoop, "the repeat box comes back");
  if (r1.complete) {
    fuzz::check(r2.complete && second.repeatMs == first.repeatMs, "the repeat interval comes back");
    fuzz::check(cwTxtBytes(second, *r2.keyingType) == written, "a written file is written again the same");
  }
  return 0;
}
