#pragma once
// SectionMap: the outline map with every worked section's areas painted,
// repainted in new colours every minute. Modeless; closing it unloads it.
#include <QWidget>
#include <QImage>
#include <QTimer>
#include <array>

#include "core/state.h"
#include "output/sectionmap.h"

class QLabel;

namespace fd {

// Picture1: shows the map image at its top left.
class MapPicture : public QWidget {
 public:
  explicit MapPicture(QWidget* parent) : QWidget(parent) {}
  QImage image;

 protected:
  void paintEvent(QPaintEvent*) override;
};

// A plain window in a dialog frame, not a QDialog: Esc would hide a dialog
// and leave it loaded, painting unseen; only closing unloads it.
class SectionMap : public QWidget {
  Q_OBJECT
 public:
  explicit SectionMap(const ProgramState& state, QWidget* parent = nullptr);

  MapPicture* Picture1 = nullptr;
  QLabel* Label1 = nullptr;
  std::array<QWidget*, 94> lblCounty{};  // invisible spots carrying the section as tooltip
  QTimer Timer1;
  RandomSource random;  // seeded from the clock at load; tests put a fixed sequence here

  void Form_Load();
  void Timer1_Timer();

 private:
  const ProgramState& s_;
};

}  // namespace fd
