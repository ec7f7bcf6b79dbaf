#pragma once
// The twelve bands with a frequency range: the radio link picks the log's
// band by them, and the save step keeps a contact's frequency in its band.
#include <QString>

namespace fd {

// The band of a frequency in MHz, "" when it lies in none of the ranges
// (exclusive at both ends, compared in single precision).
QString bandOfFrequency(float mhz);
// Whether a band designator is one of the twelve (SAT and the rest are not).
bool bandHasRange(const QString& band);

}  // namespace fd
