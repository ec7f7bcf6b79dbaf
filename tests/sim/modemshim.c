/* A preload shim for the end-to-end test: answers and logs the modem-line
 * calls a program makes on a serial device (a pseudo-terminal refuses them).
 * Each line of $FD_MODEM_LOG: monotonic ns, then "SET", "BIS" or "BIC" and
 * the bits (TIOCM_RTS 4, TIOCM_DTR 2). TIOCMGET answers with the last state. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <time.h>

static int lines;

static void note(const char* what, int bits) {
  const char* path = getenv("FD_MODEM_LOG");
  if (!path) return;
  FILE* f = fopen(path, "a");
  if (!f) return;
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  fprintf(f, "%lld %s %d\n", (long long)t.tv_sec * 1000000000LL + t.tv_nsec, what, bits);
  fclose(f);
}

int ioctl(int fd, unsigned long request, ...) {
  va_list ap;
  va_start(ap, request);
  void* arg = va_arg(ap, void*);
  va_end(ap);
  static int (*real)(int, unsigned long, ...);
  if (!real) real = (int (*)(int, unsigned long, ...))dlsym(RTLD_NEXT, "ioctl");
  switch (request) {
    case TIOCMSET: lines = *(int*)arg; note("SET", lines); break;
    case TIOCMBIS: lines |= *(int*)arg; note("BIS", *(int*)arg); break;
    case TIOCMBIC: lines &= ~*(int*)arg; note("BIC", *(int*)arg); break;
    case TIOCMGET: {
      int rc = real(fd, request, arg);
      if (rc != 0) *(int*)arg = lines;
      return 0;
    }
    default: return real(fd, request, arg);
  }
  real(fd, request, arg);
  return 0; /* the pseudo-terminal's refusal is answered as success */
}
