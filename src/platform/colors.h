#pragma once
// Colours are stored as red + 256 * green + 65536 * blue.
#include <QColor>
#include <cstdint>

namespace fd {

using ColorValue = std::int32_t;

QColor toQColor(ColorValue v);
ColorValue fromQColor(const QColor& c);
constexpr ColorValue rgbValue(int r, int g, int b) { return r + 256 * g + 65536 * b; }

inline constexpr ColorValue kStatusNormal = rgbValue(0, 192, 192);    // &HC0C000
inline constexpr ColorValue kStatusDupe = rgbValue(255, 0, 0);
inline constexpr ColorValue kLightYellow = rgbValue(255, 255, 192);   // &HC0FFFF
inline constexpr ColorValue kGridDarkRed = 128;
inline constexpr ColorValue kNavy = rgbValue(0, 0, 128);              // 8388608
inline constexpr ColorValue kLightGrey = rgbValue(192, 192, 192);     // 12632256
// The main window's band and mode labels while the radio's port is lost;
// none of that window's own colours.
inline constexpr ColorValue kRadioLost = rgbValue(255, 128, 0);

}  // namespace fd
