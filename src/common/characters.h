#pragma once

#include <QString>

// Lengths of texts as the user counts them: in characters, so that 𠮷 or an emoji (two UTF-16
// units) counts once and is never cut in half.
qsizetype characterCount(const QString& text);
QString leftCharacters(const QString& text, qsizetype count);
