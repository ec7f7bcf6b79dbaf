// fakecluster PORT [FILE [EVERY_MS]]: a cluster on 127.0.0.1:PORT for the
// end-to-end test and for trying the program by hand. After the login it
// sends the captured lines, then the lines of FILE (if given) in one burst,
// then (with EVERY_MS) a new 40 m spot every EVERY_MS ms, each noted on
// stderr ("sent CALL"); the client's text is written to stdout.
#include <QCoreApplication>
#include <QFile>
#include <QTimer>
#include <cstdio>

#include "fakecluster.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: fakecluster PORT [FILE]\n");
    return 2;
  }
  fd::sim::FakeCluster cluster;
  if (!cluster.listen(static_cast<quint16>(QByteArray(argv[1]).toUInt()))) {
    std::fprintf(stderr, "fakecluster: cannot listen\n");
    return 1;
  }
  QByteArray burst;
  if (argc > 2) {
    QFile f(QString::fromLocal8Bit(argv[2]));
    if (f.open(QIODevice::ReadOnly)) burst = f.readAll();
  }
  const int everyMs = argc > 3 ? QByteArray(argv[3]).toInt() : 0;
  int spots = 0;
  QTimer stream;
  QObject::connect(&stream, &QTimer::timeout, [&] {
    // Columns as a node sends them: the kHz in 16-24, the call in 27-39.
    const QByteArray call = "W" + QByteArray::number(spots % 10) + "ST" + QByteArray::number(spots);
    cluster.write(QString::asprintf("DX de K1TTT:   %9.1f  %-13s%-30s%04dZ\r\n", 7001.0 + spots % 290,
                                    call.constData(), "stream", 1200 + spots % 60)
                      .toLatin1());
    std::fprintf(stderr, "sent %s\n", call.constData());
    std::fflush(stderr);
    ++spots;
  });
  qsizetype seen = 0;
  bool loggedIn = false;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (cluster.received.size() > seen) {
      std::fwrite(cluster.received.constData() + seen, 1, static_cast<size_t>(cluster.received.size() - seen), stdout);
      std::fflush(stdout);
      seen = cluster.received.size();
    }
    if (!loggedIn && cluster.received.contains("\r\n")) {
      loggedIn = true;
      cluster.write("Hello " + cluster.loginCall().toLatin1() + ", this is a test node\r\n");
      for (const QByteArray& l : fd::sim::FakeCluster::capturedLines()) cluster.write(l);
      if (!burst.isEmpty()) cluster.write(burst);
      if (everyMs > 0) stream.start(everyMs);
    }
  });
  poll.start(20);
  return app.exec();
}
