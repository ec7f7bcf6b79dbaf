// Bytes from the WinKey keyer: whatever arrives, and in whatever pieces, the
// status follows the last status byte, the speed pot the last pot byte, the
// echoes keep their order, and what waits unread stays bounded.
#include <cstddef>
#include <cstdint>

#include "fuzzsupport.h"
#include "keying/winkeyinput.h"

using namespace fd;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // The first byte cuts the rest into pieces; a character is handed over
  // before each piece.
  const size_t piece = data[0] % 16 + 1;
  const QByteArrayView bytes(reinterpret_cast<const char*>(data) + 1, static_cast<qsizetype>(size - 1));

  WinKeyInput in;
  std::uint8_t status = 0xC0;
  int pot = -1;
  bool pending = false;
  QByteArray echoes;
  for (qsizetype from = 0; from < bytes.size(); from += static_cast<qsizetype>(piece)) {
    const QByteArrayView part = bytes.sliced(from, std::min<qsizetype>(static_cast<qsizetype>(piece), bytes.size() - from));
    in.handOver();
    pending = true;
    in.take(part);
    for (char c : part) {
      const auto b = static_cast<std::uint8_t>(c);
      if ((b & 0xE0) == 0xC0) status = b, pending = false;
      else if ((b & 0xC0) == 0x80) pot = b & 0x3F;
      else echoes.append(c);
    }
    fuzz::check(in.statusByte() == status, "the status is the last status byte");
    fuzz::check(in.speedPot() == pot, "the speed pot is the last pot byte");
    const int want = status & 0x01 ? 5 : status & 0x04 ? 4 : pending ? 1 : 0;
    fuzz::check(in.state() == want, "the state follows the status and the hand-over");
    fuzz::check(in.echoesWaiting() <= WinKeyInput::kMaxEchoes, "unread echoes stay bounded");
  }
  // The echoes read are the first ones that came, in order.
  QByteArray read;
  for (std::uint8_t b; in.takeEcho(b);) read.append(static_cast<char>(b));
  fuzz::check(echoes.startsWith(read), "echoes are read in the order they came");
  fuzz::check(read.size() == echoes.size() || read.size() == WinKeyInput::kMaxEchoes, "only echoes past the bound are dropped");
  in.reset();
  fuzz::check(in.state() == 0 && in.echoesWaiting() == 0, "an open starts idle with nothing waiting");
  return 0;
}
