#pragma once
// The program's own pictures, drawn in code: the logo, the banner that joins
// it, and the tower alone for small places.
#include <QPixmap>
#include <QSize>

namespace fd {

QPixmap builtInLogo(const QSize& size);
QPixmap builtInBanner(const QSize& size);
QPixmap builtInTower(const QSize& size);

}  // namespace fd
