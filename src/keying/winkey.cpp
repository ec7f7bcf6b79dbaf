#include "keying/winkey.h"

#include "platform/serial.h"
#include "platform/wait.h"

namespace fd {

bool WinKey::isOpen() const { return open_ && port_.isOpen(); }

void WinKey::readPending() {
  if (!port_.isOpen()) return;
  QByteArray in;
  port_.input(in);
  in_.take(in);
}

bool WinKey::waitForByte(std::uint8_t& b) {
  // The window stays alive; typed keys wait until the keyer has answered.
  WaitOptions o;
  o.limitMs = kAnswerWaitMs;
  o.input = WaitInput::Hold;
  waitUntil([&] { readPending(); return in_.echoesWaiting() > 0 || !port_.isOpen(); }, o);
  return in_.takeEcho(b);
}

int WinKey::wk_open(int& version, int port, const QString& programFolder) {
  if (open_ && port_.isOpen()) return -8;
  open_ = false;
  port_.close();
  port_.setProgramFolder(programFolder);
  port_.setCommPort(port);
  port_.setSettings(QStringLiteral("1200,N,8,2"));
  port_.setHandshaking(0);
  port_.setDTREnable(true);  // the serial keyer takes its power from DTR
  port_.setRTSEnable(false);
  if (port < 1 || !port_.open()) return -4;
  in_.reset();
  constexpr std::uint8_t probe = 0x55;
  port_.output(QByteArray("\x00\x04", 2) + char(probe));
  std::uint8_t b = 0;
  if (!waitForByte(b)) { port_.close(); return -1; }
  if (b != probe) { port_.close(); return -2; }
  port_.output(QByteArray("\x00\x02", 2));
  if (!waitForByte(b)) { port_.close(); return -3; }
  version = b;
  open_ = true;
  return 0;
}

void WinKey::wk_close() {
  if (!isOpen()) { open_ = false; return; }
  port_.output(QByteArray("\x00\x03", 2));  // written out before the port closes
  port_.close();
  open_ = false;
}

void WinKey::command(std::initializer_list<int> bytes) {
  if (!isOpen()) return;
  QByteArray out;
  for (int v : bytes) out.append(static_cast<char>(v & 0xFF));
  port_.output(out);
}

void WinKey::wk_char(int c) {
  // Control codes are commands to the keyer (Tab sets the pins, Enter the
  // Farnsworth speed...): they never go out as text.
  if (!isOpen() || c < 0x20 || c > 0x7E) return;
  in_.handOver();
  port_.output(QByteArray(1, static_cast<char>(c)));
}

int WinKey::wk_getstatus() {
  if (!isOpen()) return -9;
  readPending();
  return in_.state();
}

}  // namespace fd
