#include "ui/fonts.h"

#include <algorithm>

#include <QFontDatabase>

void installFontSubstitutions() {
    // Qt looks at substitutes only for a family it cannot find. An English-language Windows
    // knows the MS fonts by their English names only; a Debian machine has the IPA fonts.
    const QStringList proportional{QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic")};
    QFont::insertSubstitutions(QStringLiteral("ＭＳＰ ゴシック"), proportional);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"), proportional);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"),
                               {QStringLiteral("MS Gothic"), QStringLiteral("IPAGothic")});
}

QStringList uiFontFamilies() {
    // Windows' own UI fonts first (Yu Gothic UI from Windows 8.1 on), then the IPA fonts this
    // program's Debian package installs, then what other Linux machines have.
    return {QStringLiteral("Yu Gothic UI"),    QStringLiteral("Meiryo UI"),
            QStringLiteral("Meiryo"),          QStringLiteral("MS UI Gothic"),
            QStringLiteral("IPAPGothic"),      QStringLiteral("IPAGothic"),
            QStringLiteral("Noto Sans CJK JP")};
}

QFont captionFont(QFont font) {
    const QString first = font.families().value(0, font.family());
    if (QFontDatabase::families().contains(first, Qt::CaseInsensitive))
        font.setStyleStrategy(QFont::StyleStrategy(font.styleStrategy() | QFont::NoFontMerging));
    return font;
}

QFont uiFont() {
    QStringList families = uiFontFamilies();
    // One look at the installed families: QFontDatabase::hasFamily asks the system's font
    // configuration about each name it is given (fontconfig's substitution rules on Linux), which
    // for the missing ones made up a fifth of the program's start-up.
    const QStringList known = QFontDatabase::families();
    const auto installed = std::find_if(families.begin(), families.end(), [&](const QString& f) {
        return known.contains(f, Qt::CaseInsensitive);
    });
    // Installed or not, the preferred one leads; the rest follow for missing characters.
    if (installed != families.end()) families.move(installed - families.begin(), 0);
    QFont font;
    font.setFamilies(families);
    font.setPointSize(10);
    return font;
}
