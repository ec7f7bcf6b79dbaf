#pragma once
// The spotting subsystem: spot intake, the band maps and the spot list.
// The service owns the spot store and the spotting window; the main window
// reaches it through SpotServices, and it reaches the main window through
// MainWindow and its spot view.
#include <QDateTime>
#include <QPointer>
#include <functional>
#include <memory>

#include "core/mainwindow.h"
#include "core/services.h"
#include "core/spotview.h"
#include "core/state.h"
#include "spots/agwseam.h"
#include "spots/spotstore.h"

namespace fd {

class PacketSpotfrm;
class SpectrumMap;

class SpotService final : public SpotServices {
 public:
  explicit SpotService(ProgramState& state);
  ~SpotService() override;
  void attach(MainWindow& w) override;
  bool provides(Feature f) const override;
  void showSpottingSetup() override;
  void showSpectrumMap() override;
  SpectrumMap* spectrumMap() const;  // null when not loaded
  void unload(SideWindow w) override;

  // ---- the main window's band map and spot list (bandmapview.cpp) ----
  bool bandMapVisible() const override;
  bool spotListVisible() const override;
  void bandMapScale() override;
  void displayBandMapLabels() override;
  void refreshBandMap() override;
  // Opens, switches or closes the spot area by the setup window's choice.
  void PacketResize(const QString& transport, bool optList);
  void lblDXSpot_MouseDown(int index, int button);
  void lblDXSpot_MouseMove(int index);
  void lblDX_Click();
  void txtDX_Click();
  void wireSpotArea();  // the spot area's mouse events to the handlers

  // ---- spot posting (spotposting.cpp) ----
  // Every accepted spot of every link ends here (call, kHz text, record).
  void BandMapSpots(QString call, QString freq, QString record);
  // A burst handled in one pass redraws once, at its end.
  void beginBurst();
  void endBurst();
  // Steps 8 and 9 of a posting: the band maps, when shown.
  void redrawMaps();
  static constexpr int kMaxListRows = 200;

  // ---- the spotting window (spotwindow.cpp) ----
  PacketSpotfrm* spotWindow() const;  // null when not loaded
  PacketSpotfrm* loadSpotWindow();

  ProgramState& s;
  MainWindow* main = nullptr;
  SpotStore store;
  AgwSeam* agwSeam = nullptr;  // the AGW link the window closes (null: none)

 private:
  // Parented to the main window, which may destroy it first.
  QPointer<PacketSpotfrm> packetSpot_;
  QPointer<SpectrumMap> spectrum_;
  SpotView* view() const { return main ? main->spotView() : nullptr; }
  int burstDepth_ = 0;
  bool redrawPending_ = false;
};

}  // namespace fd
