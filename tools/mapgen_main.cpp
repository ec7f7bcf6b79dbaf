// Writes the section map picture: mapgen OUTPUT.png
#include <QGuiApplication>
#include <cstdio>

#include "output/mapgen.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: mapgen OUTPUT.png\n");
    return 2;
  }
  if (!fd::mapgen::generate().save(QString::fromLocal8Bit(argv[1]), "PNG")) {
    std::fprintf(stderr, "mapgen: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
