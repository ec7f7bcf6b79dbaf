// Band and mode: the one place where the current band and mode change after
// start. The menus, the band and mode labels and the radio link all run these
// same commands.
#include <QAction>

#include "log/form1.h"

namespace fd {
namespace {

// Band list order: the Band menu, the check-mark pass and the label stepping.
const char* const kBandItems[] = {"mnu160", "mnu80", "mnu40", "mnu20", "mnu15", "mnu10", "mnu6",
                                  "mnu2",   "mnu125", "mnu70", "mnu33", "mnu23", "mnuSatellite"};
constexpr int kSatelliteRow = 13;

}  // namespace

// A failed preferences write has been reported by the writer; the change
// stands and the marks and band map still follow, so what is shown always
// matches the band the next contact gets.
void Form1::BandCommand(int row) {
  if (row < 1 || row > kSatelliteRow) return;
  s.CurBand = kBands[row - 1];
  Label30->setText(s.CurBand);
  SavePref();
  for (int i = 1; i <= kSatelliteRow; ++i)
    if (QAction* a = menuItem(QString::fromLatin1(kBandItems[i - 1]))) a->setChecked(i == row);
  // The satellite band has no band map of its own: the previous band's stays.
  if (row == kSatelliteRow) return;
  if (sv.spots->bandMapVisible() || sv.spots->spotListVisible()) sv.spots->bandMapScale();
  if (sv.spots->bandMapVisible()) sv.spots->displayBandMapLabels();
}

void Form1::ModeCommand(const QString& mode) {
  s.CurMode = mode;
  Label12->setText(s.CurMode);
  SavePref();
  const struct {
    const char* item;
    const char* mode;
  } marks[] = {{"mnuSSB", "PH"}, {"mnuCW", "CW"}, {"mnuDigital", "DIG"}};
  for (const auto& m : marks)
    if (QAction* a = menuItem(QString::fromLatin1(m.item))) a->setChecked(mode == QLatin1String(m.mode));
}

// Left button: the next band; any other: the previous one; both wrap. A band
// that is not in the list (a hand-edited preferences file) does nothing.
void Form1::Label30_MouseDown(int button) {
  const int at = static_cast<int>(kBands.indexOf(s.CurBand));
  if (at < 0) return;
  const int n = static_cast<int>(kBands.size());
  const int target = button == 1 ? (at + 1) % n : (at + n - 1) % n;
  BandCommand(target + 1);
}

void Form1::Label12_Click() {
  if (s.CurMode == QLatin1String("CW")) mnuDigital_Click();
  else if (s.CurMode == QLatin1String("DIG")) mnuSSB_Click();
  else if (s.CurMode == QLatin1String("PH")) mnuCW_Click();
}

// Load step: the labels show the band and mode read from the preferences and
// exactly their menu items are checked (exact text; a value in no list checks none).
void Form1::ShowBandAndMode() {
  Label30->setText(s.CurBand);
  Label12->setText(s.CurMode);
  const int row = static_cast<int>(kBands.indexOf(s.CurBand)) + 1;
  for (int i = 1; i <= kSatelliteRow; ++i)
    if (QAction* a = menuItem(QString::fromLatin1(kBandItems[i - 1]))) a->setChecked(i == row);
  const struct {
    const char* item;
    const char* mode;
  } marks[] = {{"mnuSSB", "PH"}, {"mnuDigital", "DIG"}, {"mnuCW", "CW"}};
  for (const auto& m : marks)
    if (QAction* a = menuItem(QString::fromLatin1(m.item))) a->setChecked(s.CurMode == QLatin1String(m.mode));
}

}  // namespace fd
