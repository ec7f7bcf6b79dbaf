// wave2.txt: whatever the file holds, the values read are written and read
// again the same (the wave file names are written trimmed).
#include <cstddef>
#include <cstdint>

#include "fuzzsupport.h"
#include "keying/phonefrm_settings.h"

using namespace fd;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::ensureApp();
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  WaveSettings first;
  const bool whole = readWave2(bytes, first);
  fuzz::check(first.repeatMs >= 0, "the repeat pause is one the timer takes");
  fuzz::check(first.option >= WaveSettings::RTS && first.option <= WaveSettings::Parallel, "one PTT line is chosen");

  const QByteArray written = writeWave2(first);
  WaveSettings second;
  const bool wholeAgain = readWave2(written, second);
  for (size_t i = 0; i < first.Text.size(); ++i)
    fuzz::check(second.Text[i] == first.Text[i].trimmed(), "each wave file name comes back");
  fuzz::check(second.Text10 == first.Text10, "the port box comes back");
  fuzz::check(second.option == first.option, "the PTT line comes back");
  fuzz::check(second.txtPHLoop == first.txtPHLoop, "the repeat box comes back");
  fuzz::check(second.repeatMs == first.repeatMs, "the repeat pause comes back");
  fuzz::check(second.Text11 == first.Text11, "the parallel address comes back");
  fuzz::check(!whole || wholeAgain, "a whole file is written whole");
  fuzz::check(writeWave2(second) == written, "a written file is written again the same");
  return 0;
}
