// zell_peer: the Zell RTTY stand-in as a process, for the end-to-end test.
//   zell_peer <log file> [server name]
// Listens on the server name (default "ZellRTTY.frmDigitalDest", its socket
// file in $TMPDIR, or in /tmp when that path would not fit a socket address),
// appends every line it receives to the log file, and sends every line read
// from its standard input to the connected logger.
#include <QCoreApplication>
#include <QSocketNotifier>
#include <cstdio>
#include <unistd.h>

#include "zellpeer.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: zell_peer <log file> [server name]\n");
    return 2;
  }
  fd::sim::ZellPeer peer(argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("ZellRTTY.frmDigitalDest"));
  if (!peer.listening()) {
    std::fprintf(stderr, "zell_peer: cannot listen\n");
    return 1;
  }
  peer.logPath = QString::fromLocal8Bit(argv[1]);
  QSocketNotifier in(STDIN_FILENO, QSocketNotifier::Read);
  QByteArray pending;
  QObject::connect(&in, &QSocketNotifier::activated, [&] {
    char buf[4096];
    const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
    if (n <= 0) {
      in.setEnabled(false);
      return;
    }
    pending.append(buf, n);
    for (qsizetype lf; (lf = pending.indexOf('\n')) >= 0;) {
      peer.send(pending.left(lf + 1));
      pending.remove(0, lf + 1);
    }
  });
  std::printf("listening\n");
  std::fflush(stdout);
  return app.exec();
}
