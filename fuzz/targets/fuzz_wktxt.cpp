// WK.txt: whatever the file holds, the values read are written and read again
// the same.
#include <cstddef>
#include <cstdint>

#include "fuzzsupport.h"
#include "keying/winkeysettings.h"

using namespace fd;

namespace {
bool same(const WKSettings& a, const WKSettings& b) {
  return a.port == b.port && a.pinCfg == b.pinCfg && a.mode == b.mode && a.box.txtWKWPM == b.box.txtWKWPM &&
         a.box.txtWeight == b.box.txtWeight && a.box.txtLeadIn == b.box.txtLeadIn && a.box.txtTail == b.box.txtTail &&
         a.box.txtRatio == b.box.txtRatio;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::ensureApp();
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  WKSettings first;
  const WKSettings before = first;
  if (!readWkTxt(bytes, first)) fuzz::check(same(first, before), "a file too short changes nothing");

  const QByteArray written = wkTxtBytes(first);
  WKSettings second;
  fuzz::check(readWkTxt(written, second), "a written file reads");
  fuzz::check(same(second, first), "every value comes back");
  fuzz::check(wkTxtBytes(second) == written, "a written file is written again the same");
  return 0;
}
