// 担当一覧 on the large school: every assignment of the year listed by teacher with its course
// subject, subject, department and grade names, as 表示 does it, next to the raw SQL that reads
// the same records with the course subject and subject names in one joined statement.

#include <benchmark/benchmark.h>

#include <QPushButton>

#include "bench/large_school.h"
#include "bench/raw_sql.h"
#include "common/school_masters.h"
#include "context/school_context.h"
#include "lists/assignment_list_screen.h"
#include "ui/grid.h"

namespace {

void openSchool() {
    openLargeSchool();
    school().setToday(QDate::currentDate());
    school().businessYear = kYear;
    loadMasters();
}

void BM_AssignmentList_Show(benchmark::State& state) {
    openSchool();
    auto* screen = new 担当一覧;
    auto* show = screen->findChild<QPushButton*>("B表示");
    auto* grid = screen->findChild<Grid*>("G担当");
    for (auto _ : state) {
        show->click();
        grid->refresh();
    }
    state.counters["rows"] = grid->rows();
    delete screen;
}

void BM_AssignmentList_RawSql(benchmark::State& state) {
    openSchool();
    sqlite3_stmt* s = prepareRaw(
        "SELECT a.担_氏名, ka.科_名称, ky.教_名称, a.担_学部, a.担_学年, a.担_備考, a.担_教員番号 "
        "FROM 担当 a "
        "LEFT JOIN 科目 ka ON ka.科_年度 = a.担_年度 AND ka.科_学部 = a.担_学部 AND "
        "  ka.科_学年 = a.担_学年 AND ka.科_コース = a.担_コース AND ka.科_番号 = a.担_科目番号 "
        "LEFT JOIN 教科 ky ON ky.教_年度 = a.担_年度 AND ky.教_学部 = a.担_学部 AND "
        "  ky.教_学年 = a.担_学年 AND ky.教_コース = a.担_コース AND "
        "  ky.教_科目番号 = a.担_科目番号 AND ky.教_教科番号 = a.担_教科番号 "
        "WHERE a.担_年度 = ?1 "
        "ORDER BY a.担_年度, a.担_教員番号, a.担_学部, a.担_学年, a.担_コース, a.担_科目番号, "
        "  a.担_教科番号");
    int rows = 0;
    for (auto _ : state) {
        sqlite3_bind_int(s, 1, kYear);
        rows = readAll(s);
    }
    sqlite3_finalize(s);
    state.counters["rows"] = rows;
}

}  // namespace

BENCHMARK(BM_AssignmentList_Show)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AssignmentList_RawSql)->Unit(benchmark::kMicrosecond);
