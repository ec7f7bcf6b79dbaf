#pragma once
// Numbers as the program shows and writes them: a double with at most 15
// significant digits, a single with at most 7, trailing zeros and a bare
// point dropped, "." always as the decimal point (7.1 - 0.001 shows "7.099").
#include <QString>

namespace fd::numtext {

QString fromDouble(double v);
QString fromSingle(float v);

}  // namespace fd::numtext
