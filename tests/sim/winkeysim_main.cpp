// The keyer simulator as a program for the end-to-end test:
//   fdwinkeysim DEVICE LOGFILE [MS_PER_CHAR]
// answers on DEVICE (one end of a socat pair) and appends every command, as
// hex, one per line, to LOGFILE.
#include <QCoreApplication>
#include <QFile>

#include "winkeysim.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc < 3) return 2;
  fd::sim::WinKeySim sim(QString::fromLocal8Bit(argv[1]));
  if (!sim.ok()) return 1;
  if (argc > 3) sim.msPerChar = QByteArray(argv[3]).toInt();
  const QString logPath = QString::fromLocal8Bit(argv[2]);
  sim.onCommand = [logPath](const QString& c) {
    QFile f(logPath);
    if (f.open(QIODevice::Append)) f.write(c.toLatin1() + '\n');
  };
  return app.exec();
}
