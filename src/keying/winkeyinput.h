#pragma once
// What the WinKey keyer sends the host, sorted as it arrives: status bytes
// (110xxxxx: bit 0 XOFF, 1 break-in, 2 busy, 3 key down, 4 wait), speed pot
// bytes (10xxxxxx) and everything else, the echoes and answers that opening
// the keyer waits for.
#include <QByteArray>
#include <QByteArrayView>
#include <cstdint>

namespace fd {

class WinKeyInput {
 public:
  // Echoes are read only while opening, so only the first ones count: those
  // past this many are dropped rather than kept for good (a keyer in echo
  // mode sends one for every character).
  static constexpr qsizetype kMaxEchoes = 64;

  // As at open: an idle status, nothing handed over, no echo waiting.
  void reset();
  void take(QByteArrayView bytes);
  // A character went to the keyer; it counts as pending until the next status.
  void handOver() { handedOver_ = true; }

  // 5 while XOFF; 4 while busy; 1 while a character handed over has not been
  // reported on; 0 idle.
  int state() const;
  std::uint8_t statusByte() const { return status_; }
  int speedPot() const { return pot_; }  // -1 until the keyer sent one
  // The oldest echo waiting; false when there is none.
  bool takeEcho(std::uint8_t& b);
  qsizetype echoesWaiting() const { return echoes_.size(); }

 private:
  std::uint8_t status_ = 0xC0;
  bool handedOver_ = false;
  int pot_ = -1;
  QByteArray echoes_;
};

}  // namespace fd
