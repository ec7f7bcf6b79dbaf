// The service's side of the spotting window: created on first showing,
// destroyed when unloaded or closed with its close box.
#include <QTimer>

#include "platform/forms.h"
#include "spots/packetspotfrm.h"
#include "spots/spectrummap.h"
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

SpectrumMap* SpotService::spectrumMap() const { return spectrum_.data(); }

void SpotService::showSpectrumMap() {
  if (spectrum_) return;  // already shown (a second modal showing would nest)
  spectrum_ = new SpectrumMap(store, s, main, main ? main->window() : nullptr);
  showModal(spectrum_.data());
  unload(SideWindow::SpectrumMap);
}

void SpotService::unload(SideWindow w) {
  if (w == SideWindow::SpectrumMap && spectrum_) {
    SpectrumMap* m = spectrum_.data();
    spectrum_.clear();
    m->hide();
    m->deleteLater();  // its modal loop may still be unwinding
    return;
  }
  if (w == SideWindow::PacketSpotfrm && packetSpot_) {
    packetSpot_->Form_Unload();
    packetSpot_->hide();
    delete packetSpot_.data();
  }
}

}  // namespace fd
