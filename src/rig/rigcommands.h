#pragma once
// The set commands of each family, built from a frequency in MHz (single
// precision; the number is taken in double precision and rounded half to
// even) or from a mode name. A frequency that does not fit the family's
// digits, or is 0 or less, and a mode the family's table lacks, give nothing.
#include <QByteArray>
#include <QString>
#include <optional>

#include "rig/catparse.h"
#include "rig/rigfamilies.h"

namespace fd::rig {

// The bytes to write, or nullopt when nothing is to be sent (the Pegasus
// writes a file instead: nullopt too).
std::optional<QByteArray> frequencyCommand(const RigFamily& f, float mhz, const cat::Requests& r, int vfo);
std::optional<QByteArray> modeCommand(const RigFamily& f, const QString& mode, const cat::Requests& r);

// Hex digit pairs without separators to bytes; a last lone digit is one
// digit; "" when a pair is not hexadecimal.
QByteArray HexPairsToBytes(const QString& text);

// The two lines of PEGASUS.IN: the frequency, the mode.
QByteArray pegasusCommandFile(float mhz, const QString& mode);

}  // namespace fd::rig
