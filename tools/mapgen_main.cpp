// Draws the section map picture from the boundary data:
//   mapgen OUTPUT.png [NOTES.txt]
// NOTES.txt receives the fit and every move made under a label.
#include <QFile>
#include <cstdio>

#include "mapgen/mapgen.h"

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: mapgen OUTPUT.png [NOTES.txt]\n");
    return 2;
  }
  const fd::mapgen::MapBuild map = fd::mapgen::build();
  for (const QString& n : map.notes) std::fprintf(stderr, "%s\n", qPrintable(n));
  if (!map.error.isEmpty()) {
    std::fprintf(stderr, "mapgen: %s\n", qPrintable(map.error));
    return 1;
  }
  if (!map.picture.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
    std::fprintf(stderr, "mapgen: cannot write %s\n", argv[1]);
    return 1;
  }
  if (argc == 3) {
    QFile f(QString::fromLocal8Bit(argv[2]));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 1;
    f.write(map.notes.join(QLatin1Char('\n')).toUtf8() + '\n');
  }
  return 0;
}
