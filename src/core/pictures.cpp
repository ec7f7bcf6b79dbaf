#include "core/pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "core/scaling.h"

namespace fd {
namespace {

void paintSky(QPainter& p, const QRect& r) {
  QLinearGradient sky(0, r.top(), 0, r.bottom());
  sky.setColorAt(0, QColor(11, 30, 74));
  sky.setColorAt(1, QColor(31, 79, 143));
  p.fillRect(r, sky);
}

// A lattice tower with its signal going out on both sides, in the box given.
void paintTower(QPainter& p, const QRectF& box) {
  const double w = box.width(), h = box.height();
  const QPointF top(box.center().x(), box.top() + h * 0.18);
  const double base = box.top() + h * 0.9, half = w * 0.18;
  p.setPen(QPen(QColor(210, 215, 225), std::max(1.0, w / 80)));
  p.drawLine(top, QPointF(top.x() - half, base));
  p.drawLine(top, QPointF(top.x() + half, base));
  for (int i = 1; i <= 5; ++i) {
    const double y = top.y() + (base - top.y()) * i / 6.0;
    const double dx = half * (y - top.y()) / (base - top.y());
    p.drawLine(QPointF(top.x() - dx, y), QPointF(top.x() + dx, y));
  }
  p.setPen(QPen(QColor(255, 236, 140), std::max(1.0, w / 64)));
  const double step = std::min(w * 0.16, h * 0.08);
  for (int i = 1; i <= 3; ++i) {
    const double r = step * i;
    const QRectF arc(top.x() - r, top.y() - r, 2 * r, 2 * r);
    p.drawArc(arc, -40 * 16, 80 * 16);
    p.drawArc(arc, 140 * 16, 80 * 16);
  }
  p.setBrush(QColor(255, 80, 60));
  p.setPen(Qt::NoPen);
  p.drawEllipse(top, w / 36, w / 36);
}

}  // namespace

QPixmap builtInLogo(const QSize& size) {
  QPixmap pm(size);
  const double w = size.width(), h = size.height();
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  paintSky(p, pm.rect());
  paintTower(p, QRectF(0, 0, w * 0.4, h));

  QFont big = designFont(QStringLiteral("Arial"), 10, true);
  big.setPixelSize(std::max(8, static_cast<int>(h * 0.24)));
  p.setFont(big);
  p.setPen(Qt::white);
  const QRectF textArea(w * 0.36, h * 0.12, w * 0.62, h * 0.4);
  p.drawText(textArea, Qt::AlignLeft | Qt::AlignBottom, QStringLiteral("VARIK"));
  QFont small = designFont(QStringLiteral("Arial"), 10, false);
  small.setPixelSize(std::max(6, static_cast<int>(h * 0.1)));
  small.setLetterSpacing(QFont::PercentageSpacing, 130);
  p.setFont(small);
  p.setPen(QColor(200, 210, 230));
  p.drawText(QRectF(w * 0.365, h * 0.54, w * 0.62, h * 0.16), Qt::AlignLeft | Qt::AlignTop,
             QStringLiteral("SOFTWARE"));
  return pm;
}

QPixmap builtInTower(const QSize& size) {
  QPixmap pm(size);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  paintSky(p, pm.rect());
  paintTower(p, QRectF(pm.rect()));
  return pm;
}

QPixmap builtInBanner(const QSize& size) {
  QPixmap pm(size);
  const double w = size.width(), h = size.height();
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient band(0, 0, 0, h);
  band.setColorAt(0, QColor(255, 196, 60));
  band.setColorAt(1, QColor(224, 140, 20));
  p.fillRect(pm.rect(), band);
  QFont f = designFont(QStringLiteral("Arial"), 10, true);
  f.setPixelSize(std::max(6, static_cast<int>(h * 0.5)));
  p.setFont(f);
  p.setPen(QColor(40, 24, 0));
  p.drawText(QRectF(0, 0, w, h), Qt::AlignCenter, QStringLiteral("Field Day Log"));
  return pm;
}

}  // namespace fd
