// jikanwari-newdb [--demo | --large] PATH-OR-URI
// jikanwari-newdb --from FILE URI
// Creates a new 時間割 database, a file or a database on a server (a libpq connection URI or
// string): every table and index and the standard item labels; --demo adds a sample school for
// the current business year, --large a big school for the benchmarks. --from moves a school from
// its file to a new server database in one step.

#include <cstdio>

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QFileInfo>

#include "data/dates.h"
#include "data/database.h"
#include "data/new_database.h"
#include "data/school_move.h"
#include "newdb/sample_school.h"

namespace {

void say(const QString& text) {
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

int usage() {
    say(
        QStringLiteral("使い方: jikanwari-newdb [--demo | --large] ファイル名または接続先\n"
                       "       jikanwari-newdb --from ファイル名 接続先\n"
                       "  新しい時間割データベースを作ります（既存のファイルは変更しません）。\n"
                       "  接続先はサーバーのデータベース（例: postgresql://server/school）です。\n"
                       "  --demo   見本の学校を入れます\n"
                       "  --large  性能測定用の大きな学校を入れます\n"
                       "  --from   学校をファイルからサーバーへ移します（全表を一度に）"));
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    bool demo = false, large = false;
    QString path, from;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == "--demo")
            demo = true;
        else if (a == "--large")
            large = true;
        else if (a == "--from" && i + 1 < args.size() && from.isEmpty())
            from = args[++i];
        else if (a.startsWith("-") || !path.isEmpty())
            return usage();
        else
            path = a;
    }
    if (path.isEmpty() || (demo && large)) return usage();
    if (!from.isEmpty()) {
        if (demo || large || !isServerLocation(path)) return usage();
        try {
            qint64 total = 0;
            for (const auto& [table, count] : moveSchoolToServer(from, path)) total += count;
            Database::close();
            say(QStringLiteral("「%1」の学校を「%2」へ移しました（%3 件）。")
                    .arg(from, path)
                    .arg(total));
            return 0;
        } catch (const DbError& e) {
            Database::close();
            say(e.message());
            return 1;
        }
    }

    const bool server = isServerLocation(path);
    const bool existed = server || QFileInfo::exists(path);
    try {
        createNewDatabase(path);
        if (demo) fillSampleSchool(QDate::currentDate());
        if (large) fillLargeSchool(businessYearOf(QDate::currentDate()));
        Database::close();
    } catch (const DbError& e) {
        Database::close();
        // Only a file this run created is removed; an existing file is never touched.
        if (!existed) QFile::remove(path);
        say(e.message());
        return 1;
    }
    say(QStringLiteral("「%1」を作成しました。")
            .arg(server ? path : QFileInfo(path).absoluteFilePath()));
    return 0;
}
