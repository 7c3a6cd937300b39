#include <QApplication>
#include <QDate>

#include "app/main_menu.h"
#include "app/startup.h"
#include "ui/fonts.h"
#include "ui/first_paint.h"
#include "ui/language.h"
#include "ui/messages.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    installFontSubstitutions();
    installJapaneseTranslations();
    app.setFont(uiFont());

    QString location;
    try {
        location = databaseLocation(app.arguments().mid(1));
    } catch (const DbError& e) {
        showExclamation(e.message(), QStringLiteral("時間割"));
        return 2;
    }
    メニュ* menu = startUp(QDate::currentDate(), location);
    if (!menu) return 1;
    menu->show();
    // For start-up measurements: the program ends once the menu has been painted.
    if (qEnvironmentVariableIsSet("JIKANWARI_QUIT_AFTER_PAINT")) quitAfterPaint(*menu);
    return app.exec();
}
