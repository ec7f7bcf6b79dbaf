#include "output/sectionmap.h"

#include <vector>

#include "log/datetime.h"

namespace fd {

const std::array<MapLabel, 94> kMapLabels = {{
    {"WMA", 392, 248, 9, 9},    {"EMA", 402, 246, 9, 9},    {"RI", 400, 250, 9, 9},     {"ME", 400, 200, 17, 25},
    {"VT", 384, 232, 9, 9},     {"NH", 392, 232, 9, 9},     {"CT", 392, 256, 9, 9},     {"NNY", 368, 232, 9, 9},
    {"ENY", 376, 248, 17, 17},  {"NNJ", 384, 272, 9, 9},    {"NLI", 392, 264, 9, 9},    {"EPA", 368, 272, 9, 9},
    {"WNY", 352, 256, 17, 9},   {"WPA", 344, 272, 9, 9},    {"MDC", 368, 288, 9, 9},    {"OH", 312, 280, 25, 17},
    {"MI", 296, 240, 17, 33},   {"VA", 360, 304, 17, 9},    {"IL", 264, 280, 17, 41},   {"MO", 240, 296, 17, 33},
    {"WV", 336, 304, 9, 9},     {"DE", 378, 288, 9, 9},     {"IN", 288, 288, 17, 17},   {"KY", 288, 312, 33, 17},
    {"NC", 352, 328, 17, 9},    {"TN", 280, 336, 41, 9},    {"SC", 336, 344, 17, 17},   {"GA", 320, 360, 17, 17},
    {"NFL", 312, 384, 33, 17},  {"WCF", 344, 408, 9, 9},    {"SFL", 352, 416, 9, 9},    {"AL", 288, 352, 17, 33},
    {"MS", 264, 360, 17, 25},   {"LA", 248, 376, 17, 25},   {"IA", 224, 272, 33, 17},   {"WI", 256, 240, 25, 25},
    {"MN", 224, 216, 25, 41},   {"PAC", 408, 320, 49, 33},  {"ND", 176, 208, 33, 25},   {"AR", 240, 344, 17, 25},
    {"PR", 400, 376, 9, 9},     {"VI", 424, 376, 33, 49},   {"STX", 184, 392, 33, 25},  {"NTX", 200, 368, 25, 17},
    {"WTX", 160, 360, 25, 25},  {"KS", 176, 304, 49, 25},   {"OK", 192, 336, 33, 17},   {"SD", 168, 248, 49, 17},
    {"LAX", 32, 320, 9, 9},     {"NE", 176, 272, 41, 25},   {"NM", 120, 328, 33, 41},   {"AZ", 72, 328, 33, 33},
    {"SDG", 40, 336, 17, 9},    {"CO", 120, 296, 49, 25},   {"WY", 120, 248, 33, 25},   {"MT", 112, 208, 33, 25},
    {"ID", 80, 208, 17, 41},    {"UT", 88, 272, 25, 41},    {"NV", 48, 256, 25, 33},    {"AK", 32, 392, 17, 17},
    {"ORG", 48, 320, 9, 17},    {"SCV", 16, 296, 9, 9},     {"SB", 24, 312, 9, 9},      {"SJV", 32, 288, 9, 9},
    {"EB", 16, 272, 9, 9},      {"SV", 24, 248, 17, 17},    {"SF", 8, 240, 9, 25},      {"OR", 32, 216, 25, 25},
    {"WWA", 32, 184, 17, 17},   {"EWA", 56, 184, 17, 17},   {"BC", 40, 96, 41, 73},     {"AB", 96, 104, 41, 81},
    {"SK", 152, 120, 33, 73},   {"MB", 200, 120, 25, 81},   {"ONN", 256, 152, 57, 65},  {"NL", 408, 128, 33, 17},
    {"QC", 344, 112, 49, 89},   {"NT", 80, 32, 169, 57},    {"MAR", 416, 192, 17, 9},   {"SNJ", 384, 280, 9, 9},
    {"NT", 24, 32, 25, 33},     {"NT", 144, 0, 41, 17},     {"NT", 280, 48, 17, 9},     {"NT", 320, 16, 17, 25},
    {"NL", 456, 152, 17, 17},   {"MAR", 440, 200, 9, 9},    {"MAR", 437, 187, 9, 9},    {"QC", 424, 160, 17, 9},
    {"MI", 280, 232, 9, 9},     {"BC", 24, 152, 17, 17},    {"NWT", 160, 16, 9, 9},     {"GTA", 256, 152, 57, 65},
    {"ONS", 248, 168, 57, 49},  {"ONE", 248, 160, 65, 65},
}};

QPoint labelCentre(const MapLabel& l) {
  return {static_cast<int>(datetime::roundHalfEven(l.left + l.width / 2.0)),
          static_cast<int>(datetime::roundHalfEven(l.top + l.height / 2.0))};
}

QRgb drawFillColour(const RandomSource& random) {
  for (;;) {
    const int r = static_cast<int>(random() * 254);
    const int g = static_cast<int>(random() * 254);
    const int b = static_cast<int>(random() * 254);
    if (r != 0 || g != 0 || b != 0) return qRgb(r, g, b);
  }
}

void floodFill(QImage& image, QPoint seed, QRgb fill) {
  if (!image.rect().contains(seed)) return;
  if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32)
    image = image.convertToFormat(QImage::Format_RGB32);
  const int w = image.width(), h = image.height();
  auto at = [&](int x, int y) -> QRgb& { return reinterpret_cast<QRgb*>(image.scanLine(y))[x]; };
  const QRgb target = at(seed.x(), seed.y());
  fill |= 0xff000000u;
  if ((target | 0xff000000u) == fill) return;
  // Span fill: each popped point fills its whole run on the row and queues
  // the runs above and below.
  std::vector<QPoint> stack{seed};
  while (!stack.empty()) {
    const QPoint p = stack.back();
    stack.pop_back();
    int y = p.y();
    if (at(p.x(), y) != target) continue;
    int x0 = p.x(), x1 = p.x();
    while (x0 > 0 && at(x0 - 1, y) == target) --x0;
    while (x1 < w - 1 && at(x1 + 1, y) == target) ++x1;
    for (int x = x0; x <= x1; ++x) at(x, y) = fill;
    for (int ny : {y - 1, y + 1}) {
      if (ny < 0 || ny >= h) continue;
      bool inRun = false;
      for (int x = x0; x <= x1; ++x) {
        const bool match = at(x, ny) == target;
        if (match && !inRun) stack.emplace_back(x, ny);
        inRun = match;
      }
    }
  }
}

void paintWorkedSections(QImage& image, const ProgramState& s, const RandomSource& random) {
  for (int j = 1; j <= s.SecTotal; ++j) {
    const QRgb colour = drawFillColour(random);
    if (!s.sectionWorked(j)) continue;
    const QString& name = s.SecName[j];
    for (const MapLabel& l : kMapLabels)
      if (name == QLatin1String(l.section)) floodFill(image, labelCentre(l), colour);
  }
}

QImage loadSectionMapPicture(const QString& resource) {
  QImage img(resource);
  if (img.isNull()) {
    img = QImage(kMapWidth, kMapHeight, QImage::Format_RGB32);
    img.fill(Qt::white);
  }
  return img.convertToFormat(QImage::Format_RGB32);
}

}  // namespace fd
