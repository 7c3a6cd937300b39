// The record-set cursor next to the raw SQLite statement doing the same work, on the large
// sample school, in one run:
//
//   build/jikanwari-bench
//
// Each pair reads or writes the same records; the cursor should stay within 1.5x of raw SQL.

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include "bench/large_school.h"
#include "data/recordset.h"

namespace {

// Reads every field of the current row as the cursor does, so both sides do the same work.
void readRow(sqlite3_stmt* s, const TableMeta& meta) {
    for (int i = 0; i < meta.columns.size(); ++i) {
        if (meta.types[i] == FieldType::Integer) {
            benchmark::DoNotOptimize(sqlite3_column_int64(s, i + 1));
        } else {
            const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(s, i + 1));
            QString text = QString::fromUtf8(p, sqlite3_column_bytes(s, i + 1));
            benchmark::DoNotOptimize(text);
        }
    }
}

sqlite3_stmt* prepareRaw(const QString& sql) {
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db().handle(), sql.toUtf8().constData(), -1, &s, nullptr);
    return s;
}

void bindText(sqlite3_stmt* s, int i, const QString& text) {
    const QByteArray b = text.toUtf8();
    sqlite3_bind_text(s, i, b.constData(), b.size(), SQLITE_TRANSIENT);
}

// (a) One class's timetable of one year through Key_時間割.

void BM_ClassScan_Cursor(benchmark::State& state) {
    openLargeSchool();
    int n = 0;
    for (auto _ : state) {
        Recordset rs("組時間割");
        rs.setIndex("Key_時間割");
        rs.seek(Seek::AtLeast, {kYear, "002", 2, "", "7", 0, 0, 0, ""});
        n = 0;
        while (!rs.noMatch() && !rs.eof() && rs.integer("組_年度") == kYear &&
               rs.text("組_学部") == "002" && rs.integer("組_学年") == 2 &&
               rs.text("組_組") == "7") {
            for (const QString& f : rs.fieldNames()) benchmark::DoNotOptimize(rs.value(f));
            ++n;
            rs.moveNext();
        }
    }
    state.counters["records"] = n;
}

void BM_ClassScan_RawSql(benchmark::State& state) {
    openLargeSchool();
    const TableMeta& meta = db().table("組時間割");
    sqlite3_stmt* s = prepareRaw(
        "SELECT " + meta.selectList +
        " FROM 組時間割 WHERE 組_年度 = ? AND 組_学部 = ? AND 組_学年 = ? AND 組_コース = ? AND "
        "組_組 = ? ORDER BY 組_年度, 組_学部, 組_学年, 組_コース, 組_組, 組_選択番号, 組_曜日, "
        "組_時限, 組_教員");
    int n = 0;
    for (auto _ : state) {
        sqlite3_bind_int(s, 1, kYear);
        bindText(s, 2, "002");
        sqlite3_bind_int(s, 3, 2);
        bindText(s, 4, "");
        bindText(s, 5, "7");
        n = 0;
        while (sqlite3_step(s) == SQLITE_ROW) {
            readRow(s, meta);
            ++n;
        }
        sqlite3_reset(s);
    }
    sqlite3_finalize(s);
    state.counters["records"] = n;
}

// (b) 1,000 point look-ups of timetable records by their full key.

void BM_PointLookups_Cursor(benchmark::State& state) {
    openLargeSchool();
    for (auto _ : state) {
        Recordset rs("組時間割");
        rs.setIndex("Key_時間割");
        for (int i = 0; i < 1000; ++i) {
            const int slot = i % 30, k = 1 + i % 12;
            const int t = ((2 * 12 + k - 1) + 37 * slot + kYear) % 200;
            rs.seek(Seek::Equal,
                    {kYear, "001", 3, "", QString::number(k), 0, 2 + slot / 6, 1 + slot % 6,
                     QStringLiteral("%1").arg(t + 1, 3, 10, QChar('0'))});
            benchmark::DoNotOptimize(rs.noMatch());
            if (!rs.noMatch()) benchmark::DoNotOptimize(rs.value("組_教科名"));
        }
    }
}

void BM_PointLookups_RawSql(benchmark::State& state) {
    openLargeSchool();
    const TableMeta& meta = db().table("組時間割");
    sqlite3_stmt* s =
        prepareRaw("SELECT " + meta.selectList +
                   " FROM 組時間割 WHERE 組_年度 = ? AND 組_学部 = ? AND 組_学年 = ? "
                   "AND 組_コース = ? AND 組_組 = ? AND 組_選択番号 = ? AND 組_曜日 = ? "
                   "AND 組_時限 = ? AND 組_教員 = ?");
    for (auto _ : state) {
        for (int i = 0; i < 1000; ++i) {
            const int slot = i % 30, k = 1 + i % 12;
            const int t = ((2 * 12 + k - 1) + 37 * slot + kYear) % 200;
            sqlite3_bind_int(s, 1, kYear);
            bindText(s, 2, "001");
            sqlite3_bind_int(s, 3, 3);
            bindText(s, 4, "");
            bindText(s, 5, QString::number(k));
            sqlite3_bind_int(s, 6, 0);
            sqlite3_bind_int(s, 7, 2 + slot / 6);
            sqlite3_bind_int(s, 8, 1 + slot % 6);
            bindText(s, 9, QStringLiteral("%1").arg(t + 1, 3, 10, QChar('0')));
            if (sqlite3_step(s) == SQLITE_ROW) readRow(s, meta);
            sqlite3_reset(s);
        }
    }
    sqlite3_finalize(s);
}

// (c) 10,000 adds in one operation (rolled back, so every iteration starts alike).

void BM_Adds_Cursor(benchmark::State& state) {
    openLargeSchool();
    for (auto _ : state) {
        Operation op;
        Recordset rs("時限変更");
        for (int i = 0; i < 10000; ++i) {
            rs.addNew();
            rs.set("変_年度", kYear + 1);
            rs.set("変_日付", "2099/04/01");
            rs.set("変_学部", "001");
            rs.set("変_学年", 1);
            rs.set("変_組", QString::number(i));
            rs.set("変_時限", 1);
            rs.set("変_教員", "001");
            rs.set("変_教科名", "教科1");
            rs.update();
        }
        // op ends without commit: rolled back
    }
}

void BM_Adds_RawSql(benchmark::State& state) {
    openLargeSchool();
    const TableMeta& meta = db().table("時限変更");
    QStringList marks;
    for (int c = 0; c < meta.columns.size(); ++c) marks << "?";
    sqlite3_stmt* s =
        prepareRaw(QStringLiteral("INSERT INTO 時限変更 VALUES (%1)").arg(marks.join(", ")));
    for (auto _ : state) {
        sqlite3_exec(db().handle(), "BEGIN", nullptr, nullptr, nullptr);
        for (int i = 0; i < 10000; ++i) {
            for (int c = 0; c < meta.columns.size(); ++c) {
                if (meta.types[c] == FieldType::Integer)
                    sqlite3_bind_int(s, c + 1, 0);
                else
                    bindText(s, c + 1, "");
            }
            sqlite3_bind_int(s, 1, kYear + 1);
            bindText(s, 2, "2099/04/01");
            bindText(s, 3, "001");
            sqlite3_bind_int(s, 4, 1);
            bindText(s, 6, QString::number(i));
            sqlite3_bind_int(s, 8, 1);
            bindText(s, 13, "001");
            bindText(s, 11, "教科1");
            sqlite3_step(s);
            sqlite3_reset(s);
        }
        sqlite3_exec(db().handle(), "ROLLBACK", nullptr, nullptr, nullptr);
    }
    sqlite3_finalize(s);
}

}  // namespace

BENCHMARK(BM_ClassScan_Cursor);
BENCHMARK(BM_ClassScan_RawSql);
BENCHMARK(BM_PointLookups_Cursor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PointLookups_RawSql)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Adds_Cursor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Adds_RawSql)->Unit(benchmark::kMillisecond);
