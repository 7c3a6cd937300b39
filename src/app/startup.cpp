#include "app/startup.h"

#include <QDir>

#include "app/main_menu.h"
#include "data/database.h"
#include "ui/messages.h"

メニュ* startUp(const QDate& today) {
    try {
        Database::open(kDatabaseFile);
    } catch (const DbError& e) {
        if (e.busy()) {
            // The file is fine; it only has to be free. Creating a new one would lose the school.
            showExclamation(
                QStringLiteral("「%1」は他のプログラムが使用中のため、開けませんでした。\n"
                               "そのプログラムを終えてから、もう一度起動してください。")
                    .arg(QDir(QDir::currentPath()).filePath(kDatabaseFile)),
                QStringLiteral("時間割"));
            return nullptr;
        }
        showExclamation(
            QStringLiteral("データベース「%1」を開けません。\n%2\n\n"
                           "「%3」に時間割のデータベースが必要です。新しいデータベースは "
                           "jikanwari-newdb で作成できます（例: jikanwari-newdb %1）。")
                .arg(kDatabaseFile, e.message(), QDir::currentPath()),
            QStringLiteral("時間割"));
        return nullptr;
    }
    return new メニュ(today);
}
