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
    app.setFont(uiFont());

    メニュ* menu = startUp(QDate::currentDate());
    if (!menu) return 1;
    menu->show();
    return app.exec();
}
