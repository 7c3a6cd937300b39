#include "ui/fonts.h"

#include <QFont>

void installFontSubstitutions() {
    QFont::insertSubstitution(QStringLiteral("ＭＳＰ ゴシック"), QStringLiteral("IPAPGothic"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic"));
}
