// jikanwari-generate FILE YEAR [--department CODE] [--seconds N] [--prefill] [--engine sat|cp]
// Generates the year's standard timetable from the demand stored in FILE, registers it in one
// operation, and prints the score and whatever could not be placed. Exit code 0 when everything
// was placed, 1 when not, 2 for wrong arguments or an unusable file.

#include <cstdio>
#include <map>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>

#include "data/database.h"
#include "generation/checker.h"
#include "generation/cp_solver.h"
#include "generation/demand_store.h"
#include "generation/solver.h"

namespace {

void say(const QString& text) {
    std::fprintf(stdout, "%s\n", text.toLocal8Bit().constData());
    std::fflush(stdout);
}

int usage() {
    std::fprintf(
        stderr, "%s\n",
        QStringLiteral("使い方: jikanwari-generate ファイル名 年度 [--department 学部コード] "
                       "[--seconds 秒数] [--prefill] [--engine sat|cp]\n"
                       "  保存されている作成時数から時間割を作成し、組時間割に登録します。\n"
                       "  --prefill  先に今の組時間割（なければ前年度）から作成時数を作り直します\n"
                       "  全部を置けなかったときは終了コード 1 を返します。")
            .toLocal8Bit()
            .constData());
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QStringList positional;
    QString department;
    double seconds = 60;
    bool prefill = false;
    gen::Engine engine = gen::Engine::Default;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        bool ok = true;
        if (a == "--department" && i + 1 < args.size())
            department = args[++i];
        else if (a == "--seconds" && i + 1 < args.size())
            seconds = args[++i].toDouble(&ok);
        else if (a == "--prefill")
            prefill = true;
        else if (a == "--engine" && i + 1 < args.size()) {
            const QString e = args[++i];
            if (e == "sat")
                engine = gen::Engine::Sat;
            else if (e == "cp")
                engine = gen::Engine::Cp;
            else
                ok = false;
        } else if (a.startsWith('-'))
            ok = false;
        else
            positional << a;
        if (!ok) return usage();
    }
    bool yearOk = false;
    const int year = positional.size() == 2 ? positional[1].toInt(&yearOk) : 0;
    if (!yearOk || seconds <= 0) return usage();
    QString unavailable;
    if (engine == gen::Engine::Cp && !gen::cpSolverAvailable(&unavailable)) {
        std::fprintf(stderr, "%s\n", unavailable.toLocal8Bit().constData());
        return 2;
    }
    if (!QFileInfo::exists(positional[0])) {
        std::fprintf(
            stderr, "%s\n",
            QStringLiteral("「%1」がありません").arg(positional[0]).toLocal8Bit().constData());
        return 2;
    }
    try {
        Database::open(positional[0]);
        if (prefill)
            say(QStringLiteral("作成時数 %1 行を作りました")
                    .arg(gen::prefillDemand(year, department)));
        QStringList warnings;
        const gen::Problem problem = gen::loadProblem(year, department, &warnings);
        for (const QString& w : warnings) say(QStringLiteral("注意: ") + w);
        if (problem.activities.empty()) {
            say(QStringLiteral("作成する授業がありません（作成時数が空です）"));
            Database::close();
            return 1;
        }
        say(QStringLiteral("クラス %1、教員 %2、授業 %3 コマを作成します")
                .arg(problem.groups.size())
                .arg(problem.teachers.size())
                .arg(problem.activities.size()));
        QElapsedTimer clock;
        clock.start();
        gen::SolveOptions options;
        options.seconds = seconds;
        options.engine = engine;
        gen::SolveResult result = gen::solve(problem, options);
        const double took = clock.elapsed() / 1000.0;
        const QStringList broken = gen::checkSolution(problem, result.best);
        int placed = 0;
        for (int s : result.best.start) placed += s >= 0;
        say(QStringLiteral("配置 %1 / %2、評価点 %3、%4 秒")
                .arg(placed)
                .arg(problem.activities.size())
                .arg(result.best.score)
                .arg(took, 0, 'f', 2));
        if (result.firstSeconds >= 0)
            say(QStringLiteral("全部を置く最初の案: %1 秒").arg(result.firstSeconds, 0, 'f', 2));
        // What is left out, once per demand with its count.
        std::map<int, int> left;
        for (size_t i = 0; i < problem.activities.size(); ++i)
            if (result.best.start[i] < 0) ++left[problem.activities[i].demand];
        for (const auto& [demand, count] : left)
            say(QStringLiteral("置けません: %1（%2 コマ）")
                    .arg(demand >= 0 ? problem.demands[demand].label : QString())
                    .arg(count));
        for (const QString& why : result.explanation) say(QStringLiteral("理由: ") + why);
        // The checker judges every placed lesson on its own; only unplaced ones may show up.
        int otherFaults = 0;
        for (const QString& b : broken)
            if (!b.endsWith(QStringLiteral("が置かれていません"))) {
                say(QStringLiteral("検査: ") + b);
                ++otherFaults;
            }
        if (otherFaults) {
            say(QStringLiteral("検査で問題が見つかったため登録しません"));
            Database::close();
            return 1;
        }
        if (placed == 0) {
            // Registering nothing would only empty the classes' timetables.
            say(QStringLiteral("置けた授業がないため登録しません"));
            Database::close();
            return 1;
        }
        gen::registerSolution(problem, result.best);
        say(QStringLiteral("組時間割に登録しました"));
        Database::close();
        return result.complete ? 0 : 1;
    } catch (const DbError& e) {
        Database::close();
        std::fprintf(stderr, "%s\n", e.message().toLocal8Bit().constData());
        return 2;
    }
}
