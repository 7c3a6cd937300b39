// The whole-school timetable check on the large school: the check itself (every lesson of the
// year against the masters, the terms and each other), the check with its list drawn as the
// screen shows it, and the raw SQL that finds the same double bookings, parallel lessons of one
// elective or split course subject excepted. The check must stay under one second.

#include <benchmark/benchmark.h>

#include "bench/large_school.h"
#include "bench/raw_sql.h"
#include "common/school_masters.h"
#include "context/school_context.h"
#include "data/recordset.h"
#include "timetable/timetable_check.h"
#include "timetable/timetable_check_screen.h"
#include "ui/grid.h"

namespace {

void openSchool() {
    openLargeSchool();
    school().setToday(QDate::currentDate());
    loadMasters();
}

void BM_TimetableCheck_Whole(benchmark::State& state) {
    openSchool();
    size_t problems = 0;
    for (auto _ : state) {
        Operation op;
        problems = checkWholeTimetable(kYear).size();
        op.commit();
    }
    state.counters["problems"] = double(problems);
}

void BM_TimetableCheck_WithList(benchmark::State& state) {
    openSchool();
    Grid grid;
    for (auto _ : state) {
        Operation op;
        const auto problems = checkWholeTimetable(kYear);
        GRD時割チェック(grid, problems);
        op.commit();
        grid.refresh();
    }
}

// A lesson counts as parallel when its course subject is elective or its subject split or
// elective; two parallel lessons of one course subject in one grade are taught together.
void BM_TimetableCheck_DoubleBookings_RawSql(benchmark::State& state) {
    openSchool();
    constexpr const char* kParallel =
        "(COALESCE(%1.科_選択F, 0) <> 0 OR COALESCE(%2.教_展開F, 0) <> 0 OR "
        "COALESCE(%2.教_選択F, 0) <> 0)";
    const QString sql =
        QStringLiteral(
            "SELECT a.組_曜日, a.組_時限, a.組_教員, a.組_学部, a.組_学年, a.組_組, "
            "  b.組_学部, b.組_学年, b.組_組 "
            "FROM 組時間割 a JOIN 組時間割 b ON b.組_年度 = a.組_年度 AND b.組_曜日 = a.組_曜日 "
            "  AND b.組_時限 = a.組_時限 AND b.組_教員 = a.組_教員 AND NOT (b.組_学部 = a.組_学部 "
            "  AND b.組_学年 = a.組_学年 AND b.組_コース = a.組_コース AND b.組_組 = a.組_組) "
            "LEFT JOIN 科目 ka ON ka.科_年度 = a.組_年度 AND ka.科_学部 = a.組_学部 AND "
            "  ka.科_学年 = a.組_学年 AND ka.科_コース = a.組_コース AND ka.科_番号 = a.組_科目 "
            "LEFT JOIN 教科 ya ON ya.教_年度 = a.組_年度 AND ya.教_学部 = a.組_学部 AND "
            "  ya.教_学年 = a.組_学年 AND ya.教_コース = a.組_コース AND "
            "  ya.教_科目番号 = a.組_科目 AND ya.教_教科番号 = a.組_教科 "
            "LEFT JOIN 科目 kb ON kb.科_年度 = b.組_年度 AND kb.科_学部 = b.組_学部 AND "
            "  kb.科_学年 = b.組_学年 AND kb.科_コース = b.組_コース AND kb.科_番号 = b.組_科目 "
            "LEFT JOIN 教科 yb ON yb.教_年度 = b.組_年度 AND yb.教_学部 = b.組_学部 AND "
            "  yb.教_学年 = b.組_学年 AND yb.教_コース = b.組_コース AND "
            "  yb.教_科目番号 = b.組_科目 AND yb.教_教科番号 = b.組_教科 "
            "WHERE a.組_年度 = ?1 AND a.組_教員 <> '' AND NOT (a.組_学部 = b.組_学部 AND "
            "  a.組_学年 = b.組_学年 AND a.組_コース = b.組_コース AND a.組_科目 = b.組_科目 AND "
            "  %1 AND %2) "
            "ORDER BY a.組_曜日, a.組_時限, a.組_教員, a.組_学部, a.組_学年, a.組_組")
            .arg(QString::fromUtf8(kParallel).arg("ka", "ya"),
                 QString::fromUtf8(kParallel).arg("kb", "yb"));
    sqlite3_stmt* s = prepareRaw(sql);
    int rows = 0;
    for (auto _ : state) {
        sqlite3_bind_int(s, 1, kYear);
        rows = readAll(s);
    }
    sqlite3_finalize(s);
    state.counters["double"] = rows;
}

}  // namespace

BENCHMARK(BM_TimetableCheck_Whole)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TimetableCheck_WithList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TimetableCheck_DoubleBookings_RawSql)->Unit(benchmark::kMillisecond);
