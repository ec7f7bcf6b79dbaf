#pragma once
// The WinKey keyer's host protocol over the serial layer (1200 baud, 8 data
// bits, no parity, 2 stop bits, no flow control; DTR on to power the keyer,
// RTS off).
//
// Host to keyer:
//   00 04 nn  echo test (answer nn)      00 02  host open (answer: version)
//   00 03     host close                 02 n   speed (0 = the speed pot)
//   03 n      weight                     04 l t PTT lead-in and tail, 10 ms steps
//   09 n      pin configuration          0E n   mode
//   0A        clear buffer               08     backspace
//   15        request status             17 n   dit/dah ratio
//   20-7E     a character to send
// Keyer to host:
//   110xxxxx  status: bit 0 XOFF (buffer over two-thirds full), 1 break-in,
//             2 busy, 3 key down, 4 wait; sent on every change and on 15
//   10xxxxxx  speed pot
//   other     an echo
#include <QByteArray>
#include <QString>
#include <cstdint>

#include "keying/winkeyinput.h"

namespace fd {

class SerialPort;

class WinKey {
 public:
  explicit WinKey(SerialPort& port) : port_(port) {}

  // 0 and the version; -8 already open; -4 the port does not open; -1 no
  // echo; -2 a wrong echo; -3 no version.
  int wk_open(int& version, int port, const QString& programFolder);
  void wk_close();
  void wk_char(int c);  // only 0x20-0x7E go out
  void wk_wpm(int n) { command({0x02, n}); }
  void wk_weight(int n) { command({0x03, n}); }
  void wk_ptt_leadtail(int lead, int tail) { command({0x04, lead, tail}); }
  void wk_ditdah_ratio(int n) { command({0x17, n}); }
  void wk_pincfg(int n) { command({0x09, n}); }
  void wk_setmode(int n) { command({0x0E, n}); }
  void wk_clearbuf() { command({0x0A}); }
  void wk_backspace() { command({0x08}); }
  // 5 while XOFF; 4 while the keyer reports busy; 1 while a character handed
  // over has not been reported on yet; 0 idle; -9 not open. Reads what is
  // pending, never waits.
  int wk_getstatus();
  bool isOpen() const;
  // Opened by wk_open and not closed since, whether or not the port still stands.
  bool hostOpened() const { return open_; }
  int speedPot() const { return in_.speedPot(); }
  // Bound of each answer wait at open.
  static constexpr int kAnswerWaitMs = 400;

 private:
  void command(std::initializer_list<int> bytes);
  void readPending();
  bool waitForByte(std::uint8_t& b);
  SerialPort& port_;
  bool open_ = false;
  WinKeyInput in_;
};

}  // namespace fd
