// The year-end work on the large school next to raw SQL bulk statements doing the same work, in
// one run:
//
//   build/jikanwari-bench --benchmark_filter='TermEnd|Reorganize|Import'
//       --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
//
// Each iteration runs in a transaction that is rolled back with the clock stopped, so every
// iteration starts from the same school. The program should stay within 2x of raw SQL.

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QFile>

#include "bench/large_school.h"
#include "common/csv.h"
#include "common/school_masters.h"
#include "common/text_encoding.h"
#include "data/recordset.h"
#include "maintenance/reorganization.h"
#include "maintenance/term_end.h"
#include "masters/teacher_import.h"

namespace {

void exec(const QString& sql) {
    char* error = nullptr;
    if (sqlite3_exec(db().handle(), sql.toUtf8().constData(), nullptr, nullptr, &error) !=
        SQLITE_OK) {
        std::fprintf(stderr, "%s: %s\n", sql.toUtf8().constData(), error);
        sqlite3_free(error);
        std::abort();
    }
}

QString quoted(const QString& name) {
    return '"' + name + '"';
}

// ------------------------------------------------------------------------------ term-end

// Every box ticked; the arguments are the retention (the large school keeps 10 years, which
// deletes nothing; 3 deletes six years of every kind) and the size of the school (4: four times
// the data).
void BM_TermEnd_Program(benchmark::State& state) {
    openLargeSchool(int(state.range(1)));
    TermEndRun run;
    run.oldYear = kYear;
    run.start = QDate(kYear + 1, 4, 1);
    run.end = QDate(kYear + 2, 3, 31);
    run.carry.fill(true);
    run.remove.fill(true);
    run.retention = int(state.range(0));
    for (auto _ : state) {
        {
            Operation op;
            runTermEnd(run);
            state.PauseTiming();
        }
        state.ResumeTiming();
    }
}

void BM_TermEnd_RawSql(benchmark::State& state) {
    openLargeSchool(int(state.range(1)));
    const int limit = kYear - int(state.range(0));
    QStringList statements;
    for (int k = 1; k <= 2; ++k)
        statements << QStringLiteral(
                          "INSERT OR REPLACE INTO 業務年度 VALUES (%1, %2, '%2/04/01', "
                          "'%3/03/31')")
                          .arg(k)
                          .arg(kYear + k)
                          .arg(kYear + k + 1);
    const auto nextYear = [](const QString& f) {
        return QStringLiteral("replace(date(replace(%1, '/', '-'), '+1 year'), '-', '/')").arg(f);
    };
    for (const YearTable& t : yearTables()) {
        const TableMeta& meta = db().table(t.table);
        if (QString::fromUtf8(t.table) == "時限変更") continue;
        QStringList cols, values;
        for (const QString& c : meta.columns) {
            cols << quoted(c);
            bool moved = false;
            for (const char* f : t.datesMoved) moved |= c == QString::fromUtf8(f);
            values << (c == QString::fromUtf8(t.yearField) ? QString::number(kYear + 1)
                       : moved                             ? nextYear(quoted(c))
                                                           : quoted(c));
        }
        statements << QStringLiteral(
                          "INSERT OR REPLACE INTO %1 (%2) SELECT %3 FROM %1 WHERE %4 = %5")
                          .arg(quoted(meta.name), cols.join(", "), values.join(", "),
                               quoted(QString::fromUtf8(t.yearField)))
                          .arg(kYear);
    }
    for (const YearTable& t : yearTables())
        statements << QStringLiteral("DELETE FROM %1 WHERE %2 < %3")
                          .arg(quoted(QString::fromUtf8(t.table)),
                               quoted(QString::fromUtf8(t.yearField)))
                          .arg(limit);
    for (auto _ : state) {
        exec("BEGIN");
        for (const QString& s : statements) exec(s);
        state.PauseTiming();
        exec("ROLLBACK");
        state.ResumeTiming();
    }
}

// ------------------------------------------------------------------------------ reorganization

// The large school as it stands is its own backup.
QString prepareBackup() {
    openLargeSchool();
    if (!QFile::exists(kBackupFile)) QFile::copy(kDatabaseFile, kBackupFile);
    return kBackupFile;
}

void BM_Reorganize_Program(benchmark::State& state) {
    const QString backup = prepareBackup();
    for (auto _ : state) {
        {
            Operation op;
            rebuildFromBackup(backup);
            state.PauseTiming();
        }
        state.ResumeTiming();
    }
}

// The derived fields as SQL: short names from names, "HR" as a lesson outside the subjects.
QString rawValue(const QString& table, const QString& c) {
    const auto left = [](const char* f, int n) {
        return QStringLiteral("substr(\"%1\", 1, %2)").arg(QString::fromUtf8(f)).arg(n);
    };
    if (table == "教科" && c == "教_略称") return left("教_名称", 5);
    if (table == "教員" && c == "員_表示名") return left("員_氏名", 4);
    for (const auto& [t, p, hr] :
         {std::tuple{"組時間割", "組_", "組_科目名"}, std::tuple{"時限変更", "変_", "変_教科名"}}) {
        if (table != QString::fromUtf8(t)) continue;
        const QString prefix = QString::fromUtf8(p), home = quoted(QString::fromUtf8(hr));
        const QString reg = quoted(prefix + "登録");
        if (c == prefix + "教科略称")
            return QStringLiteral("CASE WHEN %1 = 1 THEN %2 ELSE substr(%3, 1, 5) END")
                .arg(reg, quoted(c), quoted(prefix + "教科名"));
        if (c == prefix + "教員表示名")
            return QStringLiteral("substr(%1, 1, 4)").arg(quoted(prefix + "教員名"));
        if (c == prefix + "登録")
            return QStringLiteral("CASE WHEN %1 = 'HR' OR %2 = 1 THEN 1 ELSE 0 END").arg(home, reg);
        if (c == prefix + "科目" || c == prefix + "教科")
            return QStringLiteral("CASE WHEN %1 = 'HR' THEN '000' ELSE %2 END")
                .arg(home, quoted(c));
    }
    return quoted(c);
}

void BM_Reorganize_RawSql(benchmark::State& state) {
    prepareBackup();
    exec(QStringLiteral("ATTACH '%1' AS bk").arg(kBackupFile));
    QStringList statements;
    for (const QString& table : reorganizedTables()) {
        const TableMeta& meta = db().table(table);
        QStringList cols, values, key;
        for (const QString& c : meta.columns) {
            cols << quoted(c);
            values << rawValue(table, c);
        }
        for (const auto& [name, ix] : meta.indexes)
            if (name.startsWith("Key_"))
                for (int c : ix.columns) key << quoted(meta.columns[c]);
        statements << QStringLiteral("DELETE FROM main.%1").arg(quoted(table))
                   << QStringLiteral("INSERT INTO main.%1 (%2) SELECT %3 FROM bk.%1 ORDER BY %4")
                          .arg(quoted(table), cols.join(", "), values.join(", "), key.join(", "));
    }
    for (auto _ : state) {
        exec("BEGIN");
        for (const QString& s : statements) exec(s);
        state.PauseTiming();
        exec("ROLLBACK");
        state.ResumeTiming();
    }
    exec("DETACH bk");
}

// ------------------------------------------------------------------------------ import

// 10,000 teachers in Shift_JIS, every tenth a homeroom teacher, with quoted addresses.
QString teacherFile() {
    openLargeSchool();
    static const QString name = QStringLiteral("teachers.csv");
    if (QFile::exists(name)) return name;
    QString text;
    for (int i = 1; i <= 10000; ++i) {
        const bool homeroom = i % 10 == 0;
        text += csvRecord({QStringLiteral("%1").arg(i, 5, 10, QChar('0')),
                           QStringLiteral("教員%1").arg(i), QStringLiteral("キョウイン%1").arg(i),
                           "", homeroom ? "1" : "0", homeroom ? "第1学部" : "",
                           homeroom ? "1年" : "", homeroom ? "1" : "", QString::number(1 + i % 2),
                           "1980/4/1", "123", "4567", QStringLiteral("市内%1番地, 2F").arg(i), "",
                           "03-0000-0000", "", "", "", "備考"}) +
                "\r\n";
    }
    QFile f(name);
    f.open(QIODevice::WriteOnly);
    f.write(encodeText(text, TextEncoding::ShiftJis));
    return name;
}

std::vector<CsvRecord> readRecords(const QString& name) {
    QFile f(name);
    f.open(QIODevice::ReadOnly);
    return csvRecords(decodeText(f.readAll())->text);
}

void BM_Import10000_Program(benchmark::State& state) {
    const QString name = teacherFile();
    loadMasters();
    WorkContext ctx;
    for (auto _ : state) {
        {
            Operation op;
            const TeacherFile file = checkTeacherFile(ctx, readRecords(name), "\r\n");
            storeTeachers(file.valid);
            state.PauseTiming();
            if (file.refused != 0) state.SkipWithError("lines refused");
        }
        state.ResumeTiming();
    }
}

void BM_Import10000_RawInserts(benchmark::State& state) {
    const QString name = teacherFile();
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(
        db().handle(),
        "INSERT OR REPLACE INTO 教員 VALUES (?, ?, ?, ?, ?, '', ?, ?, ?, ?, ?, ?, ?, "
        "?, ?, ?, ?, ?, ?, ?)",
        -1, &s, nullptr);
    for (auto _ : state) {
        exec("BEGIN");
        for (const CsvRecord& record : readRecords(name)) {
            const QStringList& f = record.fields;
            std::vector<QByteArray> texts;
            texts.reserve(f.size());
            for (int i = 0; i < 19; ++i) {
                texts.push_back(f[i].toUtf8());
                sqlite3_bind_text(s, i + 1, texts.back().constData(), int(texts.back().size()),
                                  SQLITE_STATIC);
            }
            sqlite3_step(s);
            sqlite3_reset(s);
        }
        state.PauseTiming();
        exec("ROLLBACK");
        state.ResumeTiming();
    }
    sqlite3_finalize(s);
}

}  // namespace

BENCHMARK(BM_TermEnd_Program)
    ->Args({10, 1})
    ->Args({3, 1})
    ->Args({3, 4})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TermEnd_RawSql)
    ->Args({10, 1})
    ->Args({3, 1})
    ->Args({3, 4})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Reorganize_Program)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Reorganize_RawSql)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Import10000_Program)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Import10000_RawInserts)->Unit(benchmark::kMillisecond);
