// Showing one class of the large school: the timetable grid's drawing (the class's records with
// the names of their course subjects, subjects and teachers, the grid and the slot tables filled),
// next to the raw SQL that reads the same records with the same master names in one joined
// statement.

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include "bench/large_school.h"
#include "context/school_context.h"
#include "data/recordset.h"
#include "timetable/timetable_grid.h"
#include "ui/grid.h"

namespace {

void BM_ShowClass_GridDraw(benchmark::State& state) {
    openLargeSchool();
    school().setToday(QDate::currentDate());
    WorkContext ctx = classContext();
    Grid grid;
    for (auto _ : state) {
        Operation op;
        GRD時割(ctx, 1, grid);
        op.commit();
    }
    state.counters["records"] = 30;
}

void BM_ShowClass_RawSql(benchmark::State& state) {
    openLargeSchool();
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(
        db().handle(),
        "SELECT k.組_曜日, k.組_時限, k.組_教科名, k.組_教科略称, k.組_登録, "
        "ka.科_名称, ka.科_略称, ka.科_選択F, ky.教_名称, ky.教_略称, ky.教_展開F, "
        "t.員_氏名, t.員_表示名 "
        "FROM 組時間割 k "
        "LEFT JOIN 科目 ka ON ka.科_年度 = k.組_年度 AND ka.科_学部 = k.組_学部 AND "
        "  ka.科_学年 = k.組_学年 AND ka.科_コース = k.組_コース AND ka.科_番号 = k.組_科目 "
        "LEFT JOIN 教科 ky ON ky.教_年度 = k.組_年度 AND ky.教_学部 = k.組_学部 AND "
        "  ky.教_学年 = k.組_学年 AND ky.教_コース = k.組_コース AND ky.教_科目番号 = k.組_科目 "
        "  AND ky.教_教科番号 = k.組_教科 "
        "LEFT JOIN 教員 t ON t.員_番号 = k.組_教員 "
        "WHERE k.組_年度 = ? AND k.組_学部 = '002' AND k.組_学年 = 2 AND k.組_コース = '' "
        "AND k.組_組 = '7' AND k.組_選択番号 = 0 "
        "ORDER BY k.組_曜日, k.組_時限, k.組_教員",
        -1, &s, nullptr);
    for (auto _ : state) {
        sqlite3_bind_int(s, 1, kYear);
        int n = 0;
        while (sqlite3_step(s) == SQLITE_ROW) {
            for (int c = 0; c < 13; ++c) {
                const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(s, c));
                QString text = QString::fromUtf8(p, sqlite3_column_bytes(s, c));
                benchmark::DoNotOptimize(text);
            }
            ++n;
        }
        sqlite3_reset(s);
        benchmark::DoNotOptimize(n);
    }
    sqlite3_finalize(s);
}

}  // namespace

BENCHMARK(BM_ShowClass_GridDraw)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ShowClass_RawSql)->Unit(benchmark::kMicrosecond);
