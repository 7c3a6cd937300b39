#include <QApplication>
#include <QDate>

#include "app/main_menu.h"
#include "app/startup.h"
#include "ui/fonts.h"
#include "ui/language.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    installFontSubstitutions();
    installJapaneseTranslations();
    QFont font(QStringLiteral("IPAPGothic"));
    font.setPointSize(10);
    app.setFont(font);

    メニュ* menu = startUp(QDate::currentDate());
    if (!menu) return 1;
    menu->show();
    return app.exec();
}
