#include "app/startup.h"

#include <QDir>
#include <QFile>
#include <QTextStream>

#include "app/main_menu.h"
#include "data/database.h"
#include "ui/messages.h"

QString databaseLocation(const QStringList& arguments) {
    const qsizetype at = arguments.indexOf(QStringLiteral("--database"));
    if (at >= 0) {
        if (at + 1 >= arguments.size() || arguments[at + 1].startsWith('-'))
            throw DbError(QStringLiteral("--database の後にデータベースの場所を書いてください"));
        return arguments[at + 1];
    }
    QFile settings(kSettingsFile);
    if (settings.open(QIODevice::ReadOnly | QIODevice::Text)) {
        QTextStream in(&settings);
        while (!in.atEnd()) {
            const QString line = in.readLine().trimmed();
            if (line.startsWith('#')) continue;
            const qsizetype eq = line.indexOf('=');
            if (eq > 0 && line.left(eq).trimmed() == QLatin1String("database")) {
                const QString location = line.mid(eq + 1).trimmed();
                if (!location.isEmpty()) return location;
            }
        }
    }
    return kDatabaseFile;
}

メニュ* startUp(const QDate& today, const QString& location) {
    if (isServerLocation(location)) {
        try {
            Database::open(location);
        } catch (const DbError& e) {
            // The location is not repeated: whatever it holds stays off the screen.
            showExclamation(QStringLiteral("サーバーのデータベースを開けません。\n%1\n\n"
                                           "新しいデータベースは jikanwari-newdb で作成できます。")
                                .arg(e.message()),
                            QStringLiteral("時間割"));
            return nullptr;
        }
        return new メニュ(today);
    }
    try {
        Database::open(location);
    } catch (const DbError& e) {
        if (e.busy()) {
            // The file is fine; it only has to be free. Creating a new one would lose the school.
            showExclamation(
                QStringLiteral("「%1」は他のプログラムが使用中のため、開けませんでした。\n"
                               "そのプログラムを終えてから、もう一度起動してください。")
                    .arg(QDir(QDir::currentPath()).filePath(location)),
                QStringLiteral("時間割"));
            return nullptr;
        }
        showExclamation(
            QStringLiteral("データベース「%1」を開けません。\n%2\n\n"
                           "「%3」に時間割のデータベースが必要です。新しいデータベースは "
                           "jikanwari-newdb で作成できます（例: jikanwari-newdb %1）。")
                .arg(location, e.message(), QDir::currentPath()),
            QStringLiteral("時間割"));
        return nullptr;
    }
    return new メニュ(today);
}
