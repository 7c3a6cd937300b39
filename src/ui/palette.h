#pragma once

#include <QColor>

// The 16-colour palette the screens and prints name colours by: 0 black, 1 dark blue, 9 light
// blue, 10 light green, 12 light red, 13 light magenta, 14 light yellow, 15 bright white.
QColor paletteColor(int number);

namespace colour {
constexpr int kBlack = 0;
constexpr int kDarkBlue = 1;
constexpr int kLightBlue = 9;
constexpr int kLightGreen = 10;
constexpr int kLightRed = 12;
constexpr int kLightMagenta = 13;
constexpr int kLightYellow = 14;
constexpr int kWhite = 15;
}  // namespace colour
