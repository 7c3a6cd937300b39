// Registering a copied week on the large school: every slot of the seven weekdays and ten
// periods occupied, team-taught, elective and free-text slots among them, written as next year's
// timetable of one class (the check before writing, then the writes), next to the raw SQL that
// inserts the same records. Both roll back, so every iteration starts alike. The registration
// should stay within 2x of the raw inserts:
//
//   build/jikanwari-bench --benchmark_filter=CopyRegister

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include "bench/large_school.h"
#include "context/school_context.h"
#include "data/recordset.h"
#include "timetable/copy_registration.h"
#include "ui/grid.h"

namespace {

const int kTarget = kYear + 1;

QString teacherNo(int n) {
    return QStringLiteral("%1").arg(1 + n % 200, 3, 10, QChar('0'));
}

// Next year's course subjects of the class's department and grade (as the subject copy makes
// them), with an elective course subject "11" of three subjects.
void prepareNextYear() {
    static bool done = false;
    if (done) return;
    Operation op;
    std::vector<std::vector<std::pair<QString, Value>>> kamoku, subjects;
    {
        Recordset rs("科目");
        rs.setIndex("Key_科目");
        rs.seek(Seek::AtLeast, {kYear, "002", 2, "", ""});
        for (; !rs.noMatch() && !rs.eof() && rs.integer("科_年度") == kYear &&
               rs.text("科_学部") == "002" && rs.integer("科_学年") == 2;
             rs.moveNext())
            kamoku.push_back({{"科_番号", rs.value("科_番号")},
                              {"科_名称", rs.value("科_名称")},
                              {"科_略称", rs.value("科_略称")}});
    }
    Recordset ka("科目"), kyo("教科");
    auto addKamoku = [&](const QString& no, const QString& name, int elective) {
        ka.addNew();
        ka.set("科_年度", kTarget);
        ka.set("科_学部", "002");
        ka.set("科_学年", 2);
        ka.set("科_番号", no);
        ka.set("科_名称", name);
        ka.set("科_略称", name.left(2));
        ka.set("科_選択F", elective);
        ka.update();
    };
    auto addSubject = [&](const QString& kamokuNo, const QString& no, const QString& name) {
        kyo.addNew();
        kyo.set("教_年度", kTarget);
        kyo.set("教_学部", "002");
        kyo.set("教_学年", 2);
        kyo.set("教_科目番号", kamokuNo);
        kyo.set("教_教科番号", no);
        kyo.set("教_名称", name);
        kyo.set("教_略称", name.left(3));
        kyo.update();
    };
    for (const auto& k : kamoku) {
        addKamoku(k[0].second.toText(), k[1].second.toText(), 0);
        addSubject(k[0].second.toText(), "01", k[1].second.toText() + "の教科");
    }
    addKamoku("11", "選択科目", 1);
    for (int s = 1; s <= 3; ++s)
        addSubject("11", QStringLiteral("0%1").arg(s), QStringLiteral("選択%1").arg(s));
    op.commit();
    done = true;
}

// The copied week: per ten slots seven ordinary lessons, one taught by two teachers, one elective
// slot of three lessons and one "HR": 91 lessons in the 70 slots. As in a real class, each
// course subject has its teacher all week, and the homeroom teacher takes the HR.
void fillWeek(SlotTables& t) {
    for (int w = 1; w <= 7; ++w) {
        for (int p = 1; p <= 10; ++p) {
            const int n = (w - 1) * 10 + (p - 1);
            const QString kamoku = QStringLiteral("%1").arg(1 + n % 10, 2, 10, QChar('0'));
            Slot& s = t.at(w, p);
            s = Slot{};
            switch (n % 10) {
                case 3:
                    s.entries[1] = {kamoku, "01", teacherNo(n % 10)};
                    s.entries[2] = {kamoku, "01", teacherNo(100 + n % 10)};
                    s.text = {QString(), kamoku, teacherNo(100 + n % 10), "01"};
                    break;
                case 7:
                    for (int e = 1; e <= 3; ++e)
                        s.entries[e] = {"11", QStringLiteral("0%1").arg(e), teacherNo(50 + e)};
                    s.text = {QString(), "11", teacherNo(53), "03"};
                    s.kind = 1;
                    break;
                case 9:
                    s.entries[1] = {"HR", QString(), teacherNo(60), 1};
                    s.text = {QString(), "HR", teacherNo(60), QString()};
                    s.freeText = 1;
                    break;
                default:
                    s.entries[1] = {kamoku, "01", teacherNo(n % 10)};
                    s.text = {QString(), kamoku, teacherNo(n % 10), "01"};
            }
            s.subject = s.text[3];
        }
    }
}

void selectTarget(WorkContext& ctx) {
    ctx.workingYear = kTarget;
    ctx.departmentCode = "002";
    ctx.departmentName = "第2学部";
    ctx.grade = 2;
    ctx.gradeText = "2年";
    ctx.courseCode.clear();
    ctx.classCode = "7";
    ctx.selectionNumber = 0;
}

void BM_CopyRegister_Screen(benchmark::State& state) {
    openLargeSchool();
    school().setToday(QDate::currentDate());
    prepareNextYear();
    WorkContext ctx;
    fillWeek(ctx.slotTables);
    Grid grid;
    int written = 0;
    for (auto _ : state) {
        Operation op;
        selectTarget(ctx);
        CopyRegistration registration(ctx);
        if (registration.check(&grid).errorFlag() != 0)
            state.SkipWithError("the copied week does not check");
        written = registration.write();
        // op ends without commit: rolled back
    }
    state.counters["records"] = written;
}

void BM_CopyRegister_RawSql(benchmark::State& state) {
    openLargeSchool();
    prepareNextYear();
    const TableMeta& meta = db().table("組時間割");
    QStringList marks;
    for (int c = 0; c < meta.columns.size(); ++c) marks << "?";
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db().handle(),
                       QStringLiteral("INSERT INTO 組時間割 (%1) VALUES (%2)")
                           .arg(meta.columns.join(", "), marks.join(", "))
                           .toUtf8()
                           .constData(),
                       -1, &s, nullptr);
    // The same records, with the names the registration looks up, prepared beforehand.
    SlotTables week;
    fillWeek(week);
    std::vector<std::vector<Value>> rows;
    for (int w = 1; w <= 7; ++w)
        for (int p = 1; p <= 10; ++p)
            for (const SlotEntry& e : lessonsOf(week.at(w, p))) {
                std::vector<Value> row(meta.columns.size());
                for (int c = 0; c < meta.columns.size(); ++c)
                    row[c] = meta.types[c] == FieldType::Integer ? Value(0) : Value("");
                auto put = [&](const char* f, const Value& v) { row[meta.column(f)] = v; };
                put("組_年度", kTarget);
                put("組_学部", "002");
                put("組_学年", 2);
                put("組_組", "7");
                put("組_曜日", w);
                put("組_時限", p);
                put("組_教員", e.teacher);
                put("組_科目", e.freeText ? "000" : e.kamoku);
                put("組_科目名", QStringLiteral("科目名"));
                put("組_教科", e.freeText ? "000" : e.subject);
                put("組_教科名", QStringLiteral("教科名"));
                put("組_教科略称", QStringLiteral("教科略"));
                put("組_教員名", QStringLiteral("教員　1"));
                put("組_教員表示名", QStringLiteral("教1"));
                put("組_登録", e.freeText);
                rows.push_back(std::move(row));
            }
    for (auto _ : state) {
        sqlite3_exec(db().handle(), "BEGIN", nullptr, nullptr, nullptr);
        for (const auto& row : rows) {
            for (int c = 0; c < int(row.size()); ++c) {
                if (row[c].isInt()) {
                    sqlite3_bind_int64(s, c + 1, row[c].toInt());
                } else {
                    const QByteArray b = row[c].toText().toUtf8();
                    sqlite3_bind_text(s, c + 1, b.constData(), b.size(), SQLITE_TRANSIENT);
                }
            }
            sqlite3_step(s);
            sqlite3_reset(s);
        }
        sqlite3_exec(db().handle(), "ROLLBACK", nullptr, nullptr, nullptr);
    }
    sqlite3_finalize(s);
    state.counters["records"] = double(rows.size());
}

}  // namespace

BENCHMARK(BM_CopyRegister_Screen)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CopyRegister_RawSql)->Unit(benchmark::kMicrosecond);
