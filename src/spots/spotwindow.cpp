// The service's side of the spotting window: created on first showing,
// destroyed when unloaded or closed with its close box.
#include <QTimer>

#include "platform/forms.h"
#include "spots/packetspotfrm.h"
#include "spots/spotservice.h"

namespace fd {

PacketSpotfrm* SpotService::spotWindow() const { return packetSpot_.data(); }

PacketSpotfrm* SpotService::loadSpotWindow() {
  if (!packetSpot_) {
    packetSpot_ = new PacketSpotfrm(*this, s, main, main ? main->window() : nullptr);
    packetSpot_->onClosedByUser = [this] {
      // Destroyed once its close event is over.
      PacketSpotfrm* w = packetSpot_.data();
      packetSpot_.clear();
      w->hide();
      w->deleteLater();
    };
  }
  return packetSpot_.data();
}

void SpotService::showSpottingSetup() {
  PacketSpotfrm* w = loadSpotWindow();
  w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
  showModeless(w);
  w->Form_Activate();
}

void SpotService::unload(SideWindow w) {
  if (w == SideWindow::PacketSpotfrm && packetSpot_) {
    packetSpot_->Form_Unload();
    packetSpot_->hide();
    delete packetSpot_.data();
  }
}

}  // namespace fd
