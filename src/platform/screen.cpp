#include "platform/screen.h"

#include <QGuiApplication>
#include <QScreen>

namespace fd {
namespace {
QScreen* primary() { return QGuiApplication::primaryScreen(); }
double px(double pixels, double dpi) { return pixels * 1440.0 / dpi; }
}  // namespace

double QtScreen::dpi() const {
  QScreen* s = primary();
  return s && s->logicalDotsPerInch() > 0 ? s->logicalDotsPerInch() : 96.0;
}
double QtScreen::widthTwips() const { return primary() ? px(primary()->geometry().width(), dpi()) : 9600; }
double QtScreen::heightTwips() const { return primary() ? px(primary()->geometry().height(), dpi()) : 7200; }
double QtScreen::workWidthTwips() const {
  return primary() ? px(primary()->availableGeometry().width(), dpi()) : widthTwips();
}
double QtScreen::workHeightTwips() const {
  return primary() ? px(primary()->availableGeometry().height(), dpi()) : heightTwips();
}
double QtScreen::workLeftTwips() const { return primary() ? px(primary()->availableGeometry().x(), dpi()) : 0; }
double QtScreen::workTopTwips() const { return primary() ? px(primary()->availableGeometry().y(), dpi()) : 0; }

}  // namespace fd
