// jikanwari-newdb [--demo | --large | --from-fet FILE.fet [--year Y] [--reduced OUT.fet]]
//                 PATH-OR-URI
// jikanwari-newdb --from FILE URI
// Creates a new 時間割 database, a file or a database on a server (a libpq connection URI or
// string): every table and index and the standard item labels; --demo adds a sample school for
// the current business year, --large a big school for the benchmarks, --from-fet a school read
// from a FET file (its masters and the generator's demand). --from moves a school from its file
// to a new server database in one step.

#include <cstdio>

#include <QCoreApplication>
#include <QDate>
#include <QFileInfo>

#include "context/school_context.h"
#include "data/dates.h"
#include "data/database.h"
#include "data/new_database.h"
#include "data/school_move.h"
#include "newdb/fet_import.h"
#include "newdb/sample_school.h"

namespace {

void say(const QString& text) {
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

int usage() {
    say(QStringLiteral(
        "使い方: jikanwari-newdb [--demo | --large | --from-fet FETファイル [--year 年度] "
        "[--reduced FETファイル]] ファイル名または接続先\n"
        "       jikanwari-newdb --from ファイル名 接続先\n"
        "  新しい時間割データベースを作ります（既存のファイルは変更しません）。\n"
        "  接続先はサーバーのデータベース（例: postgresql://server/school）です。\n"
        "  --demo      見本の学校を入れます\n"
        "  --large     性能測定用の大きな学校を入れます\n"
        "  --from-fet  FET のファイルから教員・学年・組・科目・担当と自動作成の時数・不可時間を"
        "取り込みます\n"
        "  --year      取り込む年度（省略時は今の年度）。業務年度として登録します\n"
        "  --reduced   取り込んだ内容だけを FET のファイルに書き出します（FET との比較用）\n"
        "  --from      学校をファイルからサーバーへ移します（全表を一度に）"));
    return 2;
}

void report(const QString& fetPath, int year, const fet::ImportSummary& s) {
    say(QStringLiteral("「%1」を %2 年度として取り込みました：%3 曜日 × %4 時限、教員 %5 人、"
                       "学年 %6、組 %7、科目 %8、授業 %9 コマ（作成時数 %10 行、選択・合同 %11）")
            .arg(QFileInfo(fetPath).fileName())
            .arg(year)
            .arg(s.days)
            .arg(s.periods)
            .arg(s.teachers)
            .arg(s.grades)
            .arg(s.classes)
            .arg(s.subjects)
            .arg(s.lessons)
            .arg(s.lines)
            .arg(s.blocks));
    if (s.leftOut.isEmpty()) {
        say(QStringLiteral("取り込まなかったものはありません。"));
    } else {
        say(QStringLiteral("取り込まなかったもの:"));
        for (const QString& line : s.leftOut) say("  " + line);
    }
    if (s.grades > SchoolContext::kMaxGrades || s.classes > SchoolContext::kMaxClasses)
        say(QStringLiteral("注意: 画面で選べるのは %1 学年、1 学部 %2 組までです"
                           "（自動作成はすべての組を対象にします）。")
                .arg(SchoolContext::kMaxGrades)
                .arg(SchoolContext::kMaxClasses));
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    bool demo = false, large = false;
    QString path, fetPath, reducedPath, yearText, from;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        auto next = [&](QString& into) {
            if (i + 1 >= args.size() || !into.isEmpty()) return false;
            into = args[++i];
            return true;
        };
        if (a == "--demo")
            demo = true;
        else if (a == "--large")
            large = true;
        else if (a == "--from-fet" || a == "--year" || a == "--reduced" || a == "--from") {
            if (!next(a == "--from-fet" ? fetPath
                      : a == "--year"   ? yearText
                      : a == "--from"   ? from
                                        : reducedPath))
                return usage();
        } else if (a.startsWith("-") || !path.isEmpty())
            return usage();
        else
            path = a;
    }
    const bool fromFet = !fetPath.isEmpty();
    if (path.isEmpty() || int(demo) + int(large) + int(fromFet) > 1) return usage();
    if (!fromFet && (!yearText.isEmpty() || !reducedPath.isEmpty())) return usage();
    if (!from.isEmpty()) {
        if (demo || large || fromFet || !isServerLocation(path)) return usage();
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
    bool yearOk = true;
    const int year =
        yearText.isEmpty() ? businessYearOf(QDate::currentDate()) : yearText.toInt(&yearOk);
    if (!yearOk || year < 1900 || year > 9999) {
        say(QStringLiteral("年度は 4 桁の西暦で指定して下さい：%1").arg(yearText));
        return 2;
    }

    const bool server = isServerLocation(path);
    fet::ImportSummary imported;
    try {
        // All or nothing: a failure leaves no new file and no tables on the server.
        NewDatabase made(path);
        if (demo) fillSampleSchool(QDate::currentDate());
        if (large) fillLargeSchool(businessYearOf(QDate::currentDate()));
        if (fromFet) imported = fet::importFet(fetPath, year, reducedPath);
        made.commit();
        Database::close();
    } catch (const DbError& e) {
        Database::close();
        say(e.message());
        return 1;
    }
    if (fromFet) report(fetPath, year, imported);
    say(QStringLiteral("「%1」を作成しました。")
            .arg(server ? path : QFileInfo(path).absoluteFilePath()));
    return 0;
}
