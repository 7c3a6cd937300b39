// The user actions of the large school on both back ends in one run: Arg 0 is the embedded file,
// Arg 1 the database server named by the environment variable JIKANWARI_BENCH_SERVER (a libpq
// connection string; bench/server-bench starts a throwaway server on a Unix socket and sets it).
// Every action should stay under one frame (16 ms) on the server too:
//
//   - the class draw (組時間割 表示);
//   - 時限コマ 表示: the slot grid of a date and period with the stand-by list;
//   - 時限コマ 確定: a self-study stored for one class at that period, and the view drawn again
//     (rolled back after each round, so every round stores the same);
//   - 変更通知 表示: the busiest week's changes collected into the work table;
//   - the move of the whole school from its file to the server (once; at most 10 s).

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>

#include "bench/large_school.h"
#include "changes/change_notice.h"
#include "changes/lesson_change.h"
#include "changes/standby_list.h"
#include "common/school_masters.h"
#include "context/school_context.h"
#include "data/recordset.h"
#include "data/school_move.h"
#include "timetable/slot_grid.h"
#include "timetable/timetable_grid.h"
#include "ui/grid.h"

namespace {

QString serverLocation() {
    return qEnvironmentVariable("JIKANWARI_BENCH_SERVER");
}

QString schoolFile() {
    openLargeSchool();
    static const QString file = QDir::current().absoluteFilePath(kDatabaseFile);
    return file;
}

// The other benchmarks measure the file against raw calls on it: each of these leaves the file
// open again when it ends.
struct BackToFile {
    ~BackToFile() {
        if (Database::isOpen() && db().onServer()) Database::open(schoolFile());
    }
};

// Opens the large school on the chosen back end; false (the benchmark skipped) when no server
// is given. The school moves to the server at the first use, which is timed.
bool useBackEnd(benchmark::State& state) {
    const QString file = schoolFile();
    static double moveSeconds = -1;
    if (state.range(0) == 0) {
        if (db().onServer()) Database::open(file);
    } else {
        const QString server = serverLocation();
        if (server.isEmpty()) {
            state.SkipWithError("JIKANWARI_BENCH_SERVER names no server");
            return false;
        }
        // A schema of this run's own: the move refuses a database that has the tables.
        static const QString location =
            server + QStringLiteral(" options='-csearch_path=jikanwari_bench_%1'")
                         .arg(QCoreApplication::applicationPid());
        if (moveSeconds < 0) {
            Database::close();
            QElapsedTimer t;
            t.start();
            moveSchoolToServer(file, location);
            moveSeconds = t.elapsed() / 1000.0;
        }
        if (!db().onServer()) Database::open(location);
        state.counters["move_s"] = moveSeconds;
    }
    loadMasters();
    return true;
}

const QDate kDate = benchDate();

void BM_Action_ClassDraw(benchmark::State& state) {
    BackToFile back;
    if (!useBackEnd(state)) return;
    school().setToday(kDate);
    WorkContext ctx = classContext();
    Grid grid;
    for (auto _ : state) {
        Operation op;
        GRD時割(ctx, 1, grid);
        op.commit();
    }
}

void BM_Action_PeriodView(benchmark::State& state) {
    BackToFile back;
    if (!useBackEnd(state)) return;
    school().setToday(kDate);
    WorkContext ctx = periodContext();
    Grid lessons, standby;
    for (auto _ : state) {
        Operation op;
        GRDコマ(ctx, 1, lessons);
        GRD待機教員(ctx, standby, kYear, ctx.lessonDateText, ctx.slotWeekday, kBenchPeriod);
        op.commit();
    }
}

void BM_Action_PeriodConfirm(benchmark::State& state) {
    BackToFile back;
    if (!useBackEnd(state)) return;
    school().setToday(kDate);
    WorkContext ctx = periodContext();
    const ChangeKey key{kYear, ctx.lessonDateText, "002", 2, QString(), "7", 3};
    Grid lessons, standby;
    for (auto _ : state) {
        Operation op;  // not committed: the next round stores the same change again
        storeChange(key, selfStudy("007", "教員007", "教員007"), std::nullopt);
        GRDコマ(ctx, 1, lessons);
        GRD待機教員(ctx, standby, kYear, ctx.lessonDateText, ctx.slotWeekday, kBenchPeriod);
    }
}

void BM_Action_Notice(benchmark::State& state) {
    BackToFile back;
    if (!useBackEnd(state)) return;
    const QString monday = dateText(noticeMonday(kDate));
    const QString saturday = dateText(noticeMonday(kDate).addDays(5));
    size_t lines = 0;
    for (auto _ : state) {
        Operation op;
        const std::vector<NoticeLine> found =
            collectNoticeLines(kYear, monday, saturday, NoticeTarget{});
        storeNoticeLines(found);
        op.commit();
        lines = found.size();
    }
    state.counters["changes"] = double(lines);
}

}  // namespace

BENCHMARK(BM_Action_ClassDraw)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Action_PeriodView)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Action_PeriodConfirm)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Action_Notice)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
