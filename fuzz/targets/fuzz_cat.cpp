// The radios' CAT answers: the first byte picks the radio family, the rest
// are reads as the serial port hands them over (each a length byte, then that
// many bytes), polled tick by tick as the rig window does; every parser also
// reads the whole input at once. A frequency that reaches CurFreq is finite
// and above 0; the assembly keeps its memory bounded.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <vector>

#include "fuzzsupport.h"
#include "platform/serial.h"
#include "readbackcheck.h"
#include "rig/catparse.h"
#include "rig/rigfamilies.h"
#include "rig/rigpoll.h"

using namespace fd;

namespace {

// The families that poll a serial port (the Pegasus reads a file: fuzz_rigfiles).
const std::vector<const rig::RigFamily*>& serialFamilies() {
  static const std::vector<const rig::RigFamily*> list = [] {
    std::vector<const rig::RigFamily*> out;
    for (const rig::RigFamily& f : rig::families())
      if (f.opensPort || f.send != rig::SendKind::Nothing) out.push_back(&f);
    return out;
  }();
  return list;
}

void everyParser(const QByteArray& a, const cat::Requests& r) {
  using P = void (*)(const QByteArray&, cat::RigValues&);
  static const P plain[] = {cat::ParseIcomMode,        cat::ParseYaesuStatus,         cat::ParseYaesu757Status,
                            cat::ParseYaesu890Status,  cat::ParseYaesu920Status,      cat::ParseYaesu990Status,
                            cat::ParseYaesu1000Status, cat::ParseTenTecPanelFrequency, cat::ParseTenTecPanelMode,
                            cat::ParseOrionFrequency,  cat::ParseOrionMode};
  for (P p : plain) {
    cat::RigValues v;
    p(a, v);
    fuzz::checkReadBack(v.freq);
  }
  using Q = void (*)(const QByteArray&, const cat::Requests&, cat::RigValues&);
  static const Q withRequests[] = {cat::ParseKenwoodFrequency, cat::ParseKenwoodMode, cat::ParseKenwoodIF,
                                   cat::ParseFTdx9000Answer};
  for (Q p : withRequests) {
    cat::RigValues v;
    p(a, r, v);
    fuzz::checkReadBack(v.freq);
    fuzz::check(v.vfo == 10 || (v.vfo >= 0 && v.vfo <= 9), "the VFO is a digit");
  }
  for (int bytes : {4, 5}) {
    cat::RigValues v;
    cat::ParseIcomFrequency(a, bytes, v);
    fuzz::checkReadBack(v.freq);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::ensureApp();
  if (size < 1) return 0;
  // Four times what the poll keeps is enough to show the bound holds.
  size = std::min<size_t>(size, 4 * rig::RigPoll::kKeptLimit);
  const auto& fams = serialFamilies();
  const rig::RigFamily* fam = fams[data[0] % fams.size()];
  const QByteArray rest(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));

  cat::Requests req{QString::fromLatin1(fam->freqRequest), QString::fromLatin1(fam->modeRequest)};
  // A parser never gets more than the kept bytes and a read or two; longer
  // inputs would only slow the run.
  everyParser(rest.left(rig::RigPoll::kKeptLimit + 2 * 255), req);

  FakeSerialPort port;
  port.setCommPort(1);
  port.open();
  rig::RigPoll poll;
  poll.port = &port;
  poll.fam = fam;
  poll.req = req;
  poll.convToHex = fam->convToHex;
  // Each read: a length byte, then the bytes that arrived before the tick.
  size_t at = 0;
  int ticks = 0;
  while (at < static_cast<size_t>(rest.size()) || ticks < 2) {
    if (at < static_cast<size_t>(rest.size())) {
      const size_t n = static_cast<uint8_t>(rest[static_cast<qsizetype>(at)]);
      ++at;
      const size_t take = std::min(n, static_cast<size_t>(rest.size()) - at);
      port.pending += rest.mid(static_cast<qsizetype>(at), static_cast<qsizetype>(take));
      at += take;
    }
    ++ticks;
    if (poll.ReadTickDue == 0) {
      fuzz::check(poll.sendTick(), "a send tick on an open port succeeds");
      port.written.clear();
      continue;
    }
    bool ok = true;
    const std::optional<QByteArray> answer = poll.readTick(ok);
    fuzz::check(ok, "a read tick on an open port succeeds");
    if (!answer) continue;
    // The rig window's read tick: the frequency goes to CurFreq as it stands.
    fuzz::checkReadBack(poll.values.freq);
    const QString m = cat::ModeByFrequency(poll.values.freq);
    fuzz::check(m.isEmpty() || m == u"CW" || m == u"PH", "the mode by frequency is CW or PH");
    // What is parsed at once is at most the kept bytes and one read.
    fuzz::check(answer->size() <= rig::RigPoll::kKeptLimit + 2 * 255, "an answer stays bounded");
  }
  return 0;
}
