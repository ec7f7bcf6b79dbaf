#include "keying/winkeyinput.h"

namespace fd {

void WinKeyInput::reset() {
  echoes_.clear();
  status_ = 0xC0;
  handedOver_ = false;
}

void WinKeyInput::take(QByteArrayView bytes) {
  for (char c : bytes) {
    const auto b = static_cast<std::uint8_t>(c);
    if ((b & 0xE0) == 0xC0) {
      status_ = b;
      handedOver_ = false;  // the keyer has reported since the hand-over
    } else if ((b & 0xC0) == 0x80) {
      pot_ = b & 0x3F;
    } else if (echoes_.size() < kMaxEchoes) {
      echoes_.append(c);
    }
  }
}

int WinKeyInput::state() const {
  if (status_ & 0x01) return 5;
  if (status_ & 0x04) return 4;
  if (handedOver_) return 1;
  return 0;
}

bool WinKeyInput::takeEcho(std::uint8_t& b) {
  if (echoes_.isEmpty()) return false;
  b = static_cast<std::uint8_t>(echoes_.at(0));
  echoes_.remove(0, 1);
  return true;
}

}  // namespace fd
