// radiosim: a radio on a serial device, for the end-to-end test and for
// trying the program by hand:
//   socat pty,raw,echo=0,link=build/program/ports/com1 pty,raw,echo=0,link=build/radio &
//   radiosim --family Kenwood --device build/radio --freq 14025000 --mode CW
// --log FILE appends each command received, in hex, one a line. A radio that
// falls silent: stop the process (kill -STOP); the device stays open.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QTimer>
#include <cstdio>

#include "radiosim.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QCommandLineParser p;
  p.addHelpOption();
  p.addOption({"family", "radio family", "name", "Kenwood"});
  p.addOption({"device", "serial device", "path"});
  p.addOption({"freq", "frequency in Hz", "hz", "14025000"});
  p.addOption({"mode", "mode", "mode", "CW"});
  p.addOption({"log", "command log file", "file"});
  p.process(app);
  fd::sim::RadioSim sim(p.value("family"));
  sim.hz = p.value("freq").toLongLong();
  sim.mode = p.value("mode");
  if (!sim.openDevice(p.value("device"))) {
    std::fprintf(stderr, "radiosim: cannot open %s\n", qPrintable(p.value("device")));
    return 1;
  }
  const QString logPath = p.value("log");
  qsizetype logged = 0;
  QTimer flush;
  QObject::connect(&flush, &QTimer::timeout, [&] {
    if (logPath.isEmpty() || logged == sim.commands.size()) return;
    QFile f(logPath);
    if (!f.open(QIODevice::Append)) return;
    for (; logged < sim.commands.size(); ++logged) f.write(sim.commands[logged].toHex(' ') + '\n');
  });
  flush.start(50);
  return app.exec();
}
