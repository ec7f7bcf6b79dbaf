// The exact line speed of a terminal (custom speeds such as 56000 included);
// in a file of its own because <asm/termbits.h> clashes with <termios.h>.
#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace fd::sim {

int exactBaud(int fd) {
  struct termios2 t {};
  if (ioctl(fd, TCGETS2, &t) != 0) return 0;
  return static_cast<int>(t.c_ospeed);
}

}  // namespace fd::sim
