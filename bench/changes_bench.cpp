// The two views of a morning with an absent teacher, on the large school, each next to the raw
// SQL that reads the same records:
//
//   - the period view: the slot grid of one date and period (standard lessons, the date's
//     changes, the events in force) and the stand-by list (teachers free then, in kana order,
//     with their assignments, subject names and the cover lessons each has taken in the term
//     and the week);
//   - one teacher's dated week: the teacher's standard lessons with their subject names, the
//     week's changes and the events overlapping it.
//
// Both should stay within 3x of the raw SQL and under one frame (16 ms).

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QWidget>

#include "common/school_masters.h"
#include "bench/large_school.h"
#include "bench/raw_sql.h"
#include "changes/lesson_change.h"
#include "changes/standby_list.h"
#include "changes/teacher_week.h"
#include "context/school_context.h"
#include "data/recordset.h"
#include "timetable/slot_grid.h"
#include "ui/grid.h"

namespace {

const QDate kDate = benchDate();
const QString kDateText = dateText(kDate);
constexpr int kPeriod = kBenchPeriod;
const QString kTeacher = QStringLiteral("007");

void openSchool() {
    openLargeSchool();
    school().setToday(kDate);
    loadMasters();
}

// ----------------------------------------------------------------------------- the period view

void BM_PeriodView_Build(benchmark::State& state) {
    openSchool();
    WorkContext ctx = periodContext();
    Grid lessons, standby;
    size_t rows = 0;
    for (auto _ : state) {
        Operation op;
        GRDコマ(ctx, 1, lessons);
        rows = GRD待機教員(ctx, standby, kYear, kDateText, ctx.slotWeekday, kPeriod).size();
        op.commit();
    }
    state.counters["standby"] = double(rows);
}

void BM_PeriodView_RawSql(benchmark::State& state) {
    openSchool();
    sqlite3_stmt* lessons = prepareRaw(
        "SELECT 組_学部, 組_学年, 組_組, 組_教科略称, 組_教科名, 組_教員表示名, 組_教員名 "
        "FROM 組時間割 WHERE 組_年度 = ?1 AND 組_曜日 = ?2 AND 組_時限 = ?3 "
        "ORDER BY 組_学部, 組_学年, 組_コース, 組_組");
    sqlite3_stmt* changes = prepareRaw(
        "SELECT 変_学部, 変_学年, 変_組, 変_教科略称, 変_教科名, 変_教員表示名, 変_教員名 "
        "FROM 時限変更 WHERE 変_年度 = ?1 AND 変_日付 = ?2 AND 変_時限 = ?3 "
        "ORDER BY 変_学部, 変_学年, 変_コース, 変_組");
    sqlite3_stmt* events = prepareRaw(
        "SELECT 予_学部, 予_学年, 予_授業F, 予_時限From, 予_時限To, 予_略称, 予_名称 "
        "FROM 予定 WHERE 予_年度 = ?1 AND 予_終了日 >= ?2 AND 予_日付 <= ?2");
    sqlite3_stmt* standby = prepareRaw(
        "SELECT t.員_番号, a.担_氏名, a.担_学部, a.担_学年, ka.科_名称, ka.科_略称, "
        "  ky.教_名称, ky.教_略称 "
        "FROM 教員 t JOIN 担当 a ON a.担_年度 = ?1 AND a.担_教員番号 = t.員_番号 "
        "LEFT JOIN 科目 ka ON ka.科_年度 = a.担_年度 AND ka.科_学部 = a.担_学部 AND "
        "  ka.科_学年 = a.担_学年 AND ka.科_コース = a.担_コース AND ka.科_番号 = a.担_科目番号 "
        "LEFT JOIN 教科 ky ON ky.教_年度 = a.担_年度 AND ky.教_学部 = a.担_学部 AND "
        "  ky.教_学年 = a.担_学年 AND ky.教_コース = a.担_コース AND "
        "  ky.教_科目番号 = a.担_科目番号 AND ky.教_教科番号 = a.担_教科番号 "
        "WHERE NOT (t.員_休職FROM <> '' AND t.員_休職FROM <= ?2 AND "
        "  (t.員_休職TO = '' OR t.員_休職TO >= ?2)) "
        "AND NOT EXISTS (SELECT 1 FROM 組時間割 k WHERE k.組_年度 = ?1 AND k.組_曜日 = ?3 AND "
        "  k.組_時限 = ?4 AND k.組_教員 = t.員_番号) "
        "AND NOT EXISTS (SELECT 1 FROM 時限変更 h WHERE h.変_年度 = ?1 AND h.変_日付 = ?2 AND "
        "  h.変_時限 = ?4 AND h.変_教員 = t.員_番号) "
        "ORDER BY t.員_氏名カナ, a.担_学部, a.担_学年, a.担_コース, a.担_科目番号, a.担_教科番号 "
        "LIMIT 500");
    // The cover lessons of each teacher in the term around the date (the school year when no
    // term is) and in its week.
    sqlite3_stmt* term = prepareRaw(
        "SELECT 期_開始日, 期_終了日 FROM 期間 WHERE 期_年度 = ?1 AND 期_学期F = 1 AND "
        "期_開始日 <= ?2 AND 期_終了日 >= ?2");
    sqlite3_stmt* covers = prepareRaw(
        "SELECT 変_教員, SUM(変_日付 BETWEEN ?2 AND ?3), SUM(変_日付 BETWEEN ?4 AND ?5) "
        "FROM 時限変更 WHERE 変_年度 = ?1 AND 変_日付 BETWEEN MIN(?2, ?4) AND MAX(?3, ?5) "
        "GROUP BY 変_教員");
    const QDate monday = kDate.addDays(1 - kDate.dayOfWeek());
    const int weekday = weekdayNumber(kDate);
    int rows = 0;
    for (auto _ : state) {
        for (sqlite3_stmt* s : {lessons, changes}) {
            sqlite3_bind_int(s, 1, kYear);
            bindText(s, 2, kDateText);
            if (s == lessons) sqlite3_bind_int(s, 2, weekday);
            sqlite3_bind_int(s, 3, kPeriod);
            readAll(s);
        }
        sqlite3_bind_int(events, 1, kYear);
        bindText(events, 2, kDateText);
        readAll(events);
        sqlite3_bind_int(standby, 1, kYear);
        bindText(standby, 2, kDateText);
        sqlite3_bind_int(standby, 3, weekday);
        sqlite3_bind_int(standby, 4, kPeriod);
        rows = readAll(standby);
        sqlite3_bind_int(term, 1, kYear);
        bindText(term, 2, kDateText);
        QString from = QStringLiteral("%1/04/01").arg(kYear),
                to = QStringLiteral("%1/03/31").arg(kYear + 1);
        if (sqlite3_step(term) == SQLITE_ROW) {
            from = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(term, 0)));
            to = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(term, 1)));
        }
        sqlite3_reset(term);
        sqlite3_bind_int(covers, 1, kYear);
        bindText(covers, 2, from);
        bindText(covers, 3, to);
        bindText(covers, 4, dateText(monday));
        bindText(covers, 5, dateText(monday.addDays(6)));
        readAll(covers);
    }
    for (sqlite3_stmt* s : {lessons, changes, events, standby, term, covers}) sqlite3_finalize(s);
    state.counters["standby"] = rows;
}

// The period view's two grids on a window of the screen's size, shown and painted once.
struct PeriodWindow {
    QWidget window;
    Grid* lessons = new Grid;
    Grid* standby = new Grid;
    PeriodWindow() {
        auto* layout = new QHBoxLayout(&window);
        layout->addWidget(lessons, 3);
        layout->addWidget(standby, 2);
        window.resize(1000, 560);
        window.show();
        QCoreApplication::processEvents();
    }
};

// The same view as the screen shows it after 表示 or 確定: both grids on a window of the screen's
// size, refreshed and painted as the event loop does, then a stand-by row picked and painted again.
// Beside the raw SQL above, this is what a click costs the user.
void BM_PeriodView_Show(benchmark::State& state) {
    openSchool();
    WorkContext ctx = periodContext();
    PeriodWindow view;
    Grid* lessons = view.lessons;
    Grid* standby = view.standby;
    for (auto _ : state) {
        {
            Operation op;
            GRDコマ(ctx, 1, *lessons);
            GRD待機教員(ctx, *standby, kYear, kDateText, ctx.slotWeekday, kPeriod);
            op.commit();
        }
        QCoreApplication::processEvents();
        standby->setRow(3);
        standby->setCol(0);
        standby->setColSel(5);
        standby->setCellBackColor(10);
        QCoreApplication::processEvents();
    }
}

// 確定 on the same view: a cover lesson stored for one class, both lists read again and painted.
// The change is rolled back with the clock stopped, so each iteration starts from the same school.
void BM_PeriodView_Confirm(benchmark::State& state) {
    openSchool();
    WorkContext ctx = periodContext();
    PeriodWindow view;
    Grid* lessons = view.lessons;
    Grid* standby = view.standby;
    const ChangeKey key{kYear, kDateText, "001", 1, "", "5", kPeriod};
    const ChangeContent cover{"01", "01", "教科1", "教1", "199", "教員　199", "教199"};
    for (auto _ : state) {
        {
            Operation op;
            storeChange(key, cover, QString());
            GRDコマ(ctx, 1, *lessons);
            GRD待機教員(ctx, *standby, kYear, kDateText, ctx.slotWeekday, kPeriod);
            QCoreApplication::processEvents();
            state.PauseTiming();
        }
        state.ResumeTiming();
    }
}

// ----------------------------------------------------------------------------- a teacher's week

void BM_TeacherWeek_Build(benchmark::State& state) {
    openSchool();
    WorkContext ctx;
    Grid grid;
    int lessons = 0;
    for (auto _ : state) {
        Operation op;
        const TeacherWeek week =
            GRD教員コマ(ctx, grid, kYear, kTeacher, kDateText, weekdayNumber(kDate));
        op.commit();
        lessons = 0;
        for (const auto& day : week.lessons)
            for (const auto& cell : day) lessons += cell ? 1 : 0;
    }
    state.counters["lessons"] = lessons;
}

void BM_TeacherWeek_RawSql(benchmark::State& state) {
    openSchool();
    sqlite3_stmt* lessons = prepareRaw(
        "SELECT k.組_曜日, k.組_時限, k.組_学部, k.組_学年, k.組_コース, k.組_組, k.組_登録, "
        "  k.組_教科略称, k.組_教科名, ky.教_名称, ky.教_略称 "
        "FROM 組時間割 k LEFT JOIN 教科 ky ON ky.教_年度 = k.組_年度 AND "
        "  ky.教_学部 = k.組_学部 AND ky.教_学年 = k.組_学年 AND ky.教_コース = k.組_コース AND "
        "  ky.教_科目番号 = k.組_科目 AND ky.教_教科番号 = k.組_教科 "
        "WHERE k.組_年度 = ?1 AND k.組_教員 = ?2 ORDER BY k.組_曜日, k.組_時限");
    sqlite3_stmt* changes = prepareRaw(
        "SELECT 変_日付, 変_時限, 変_学部, 変_学年, 変_コース, 変_組, 変_教科略称, 変_教科名 "
        "FROM 時限変更 WHERE 変_年度 = ?1 AND 変_教員 = ?2 AND 変_日付 BETWEEN ?3 AND ?4 "
        "ORDER BY 変_日付, 変_時限");
    sqlite3_stmt* events = prepareRaw(
        "SELECT 予_日付, 予_終了日, 予_学部, 予_学年, 予_授業F, 予_時限From, 予_時限To, "
        "  予_略称, 予_名称 "
        "FROM 予定 WHERE 予_年度 = ?1 AND 予_終了日 >= ?2 AND 予_日付 <= ?3");
    const QString last = dateText(kDate.addDays(6));
    int rows = 0;
    for (auto _ : state) {
        sqlite3_bind_int(lessons, 1, kYear);
        bindText(lessons, 2, kTeacher);
        rows = readAll(lessons);
        sqlite3_bind_int(changes, 1, kYear);
        bindText(changes, 2, kTeacher);
        bindText(changes, 3, kDateText);
        bindText(changes, 4, last);
        readAll(changes);
        sqlite3_bind_int(events, 1, kYear);
        bindText(events, 2, kDateText);
        bindText(events, 3, last);
        readAll(events);
    }
    for (sqlite3_stmt* s : {lessons, changes, events}) sqlite3_finalize(s);
    state.counters["lessons"] = rows;
}

}  // namespace

BENCHMARK(BM_PeriodView_Build)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PeriodView_RawSql)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PeriodView_Show)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PeriodView_Confirm)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TeacherWeek_Build)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TeacherWeek_RawSql)->Unit(benchmark::kMicrosecond);
