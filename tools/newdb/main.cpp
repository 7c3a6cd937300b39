// jikanwari-newdb [--demo | --large] PATH
// Creates a new 時間割 database: every table and index and the standard item labels; --demo adds
// a sample school for the current business year, --large a big school for the benchmarks.

#include <cstdio>

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QFileInfo>

#include "data/dates.h"
#include "data/database.h"
#include "data/new_database.h"
#include "newdb/sample_school.h"

namespace {

void say(const QString& text) {
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

int usage() {
    say(
        QStringLiteral("使い方: jikanwari-newdb [--demo | --large] ファイル名\n"
                       "  新しい時間割データベースを作ります（既存のファイルは変更しません）。\n"
                       "  --demo   見本の学校を入れます\n"
                       "  --large  性能測定用の大きな学校を入れます"));
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    bool demo = false, large = false;
    QString path;
    for (const QString& a : args) {
        if (a == "--demo")
            demo = true;
        else if (a == "--large")
            large = true;
        else if (a.startsWith("-") || !path.isEmpty())
            return usage();
        else
            path = a;
    }
    if (path.isEmpty() || (demo && large)) return usage();

    const bool existed = QFileInfo::exists(path);
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
    say(QStringLiteral("「%1」を作成しました。").arg(QFileInfo(path).absoluteFilePath()));
    return 0;
}
