#pragma once
// The log side of the read-back: the polled frequency picks the log's band
// (bandOfFrequency of core/bands.h) and fills CurFreq; the polled mode picks
// CW or phone. Through the main-window interface only.
#include <QString>

#include "core/bands.h"
#include "core/mainwindow.h"
#include "core/state.h"

namespace fd::rig {

// "#####.##0": 14.025 -> "14.025", 7.2 -> "7.200"; "." always.
QString curFreqText(float mhz);
// "###.####0": five decimals, as the rig window shows it.
QString freqLabelText(float mhz);

// Sets CurFreq (only from a frequency above 0: a radio that never answered
// puts nothing into a contact) and runs the band command on a change of band.
void BandFreqConversion(MainWindow& w, const ProgramState& s, const float& frequencyValue);
// Runs the CW or phone command when the mode is one of them and differs.
void ModeSelection(MainWindow& w, const ProgramState& s, const QString& strMode);

}  // namespace fd::rig
