// The keying service's side of the Zell RTTY link: the menu entry, the two
// boxes the main window feeds, and the unload.
#include "keying/keyingservice.h"

namespace fd {

void KeyingService::connectZell() {
  if (!frmDigitalSource) frmDigitalSource = std::make_unique<DigitalSource>(s, main, zellServerName);
  frmDigitalSource->ConnectWithZell();
  if (s.DigLinkUp == 1) frmDigitalSource->SendToZell();  // the same texts again: nothing new is sent
}

void KeyingService::setDigitalCall(const QString& text) {
  if (frmDigitalSource) frmDigitalSource->setText(QStringLiteral("txtBUrCall"), text);
}

void KeyingService::setDigitalKey(const QString& text) {
  if (frmDigitalSource) frmDigitalSource->setText(QStringLiteral("txtBField8"), text);
}

void KeyingService::unloadZell() { frmDigitalSource.reset(); }

}  // namespace fd
