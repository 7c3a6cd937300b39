#pragma once

// The screens and prints name the fonts of their original platform; these map them to the IPA
// fonts installed with the program, so screens and prints look the same on every machine.
void installFontSubstitutions();

// The font family the screens use for their grids.
inline constexpr const char* kGridFont = "ＭＳ ゴシック";
inline constexpr const char* kPrintFont = "ＭＳＰ ゴシック";
