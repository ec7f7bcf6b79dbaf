#pragma once
// " HF Spectrum Map": eleven band lines with their scales and the spots of
// the store on them. Shown modally and unloaded afterwards; a right click
// tunes the radio to a spot and takes its call into the call field.
#include <QDialog>
#include <array>

#include "core/mainwindow.h"
#include "core/scaling.h"
#include "core/state.h"
#include "platform/widgets.h"
#include "spots/spectrum.h"
#include "spots/spotstore.h"

namespace fd {

class SpectrumMap : public QDialog {
  Q_OBJECT
 public:
  SpectrumMap(SpotStore& store, ProgramState& state, MainWindow* main, QWidget* parent = nullptr);

  TwipLayout layout;
  std::array<QWidget*, kSpectrumBands> lineHF{};
  std::array<ClickLabel*, kSpectrumBands> lblHFSpots{};
  std::array<ClickLabel*, 5 * kSpectrumBands> lblFreqSpot{};
  std::array<ClickLabel*, SpotStore::kSlots> lblDXSpot{};

  void Form_Load();
  void ResizeSpectrumMap();
  void SetSpectrumScale();
  void BandMapLabelDisplay();
  void lblDXSpot_MouseDown(int index, int button);

 protected:
  void changeEvent(QEvent* e) override;

 private:
  SpotStore& store_;
  ProgramState& s_;
  MainWindow* main_;
};

}  // namespace fd
