#include "common/characters.h"

namespace {

qsizetype unitsOf(const QString& text, qsizetype i) {
    return text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
}

}  // namespace

qsizetype characterCount(const QString& text) {
    qsizetype n = 0;
    for (qsizetype i = 0; i < text.size(); i += unitsOf(text, i)) ++n;
    return n;
}

QString leftCharacters(const QString& text, qsizetype count) {
    qsizetype i = 0;
    for (qsizetype n = 0; n < count && i < text.size(); ++n) i += unitsOf(text, i);
    return text.left(i);
}
