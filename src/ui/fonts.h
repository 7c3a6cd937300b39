#pragma once

#include <QFont>
#include <QStringList>

// The screens and prints name the fonts of their original platform. Where those fonts are
// installed (Windows) they are used as they are; elsewhere these map them to the IPA fonts
// installed with the program, so screens and prints look the same on every machine.
void installFontSubstitutions();

// The font the screens are drawn in: the first Japanese UI font this machine has, in the order
// of uiFontFamilies (Windows' own before the IPA fonts), at 10 points. The others in the list
// stay behind it for characters it lacks.
QFont uiFont();
QStringList uiFontFamilies();

// `font` (the UI font) for text that is only the program's own captions: when its first family is
// installed, which has every character they use, drawn without the other fonts standing behind it.
// Qt otherwise asks the system's font configuration for a list of fallback fonts for each script
// (Latin, kanji, kana) the captions use: on Linux half the cost of a menu's first paint.
QFont captionFont(QFont font);

// The font family the screens use for their grids.
inline constexpr const char* kGridFont = "ＭＳ ゴシック";
inline constexpr const char* kPrintFont = "ＭＳＰ ゴシック";
