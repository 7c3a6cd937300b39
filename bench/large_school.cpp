#include "bench/large_school.h"

#include <map>
#include <memory>

#include <sqlite3.h>

#include <QDir>
#include <QTemporaryDir>

#include "data/database.h"
#include "data/new_database.h"
#include "data/schema.h"
#include "newdb/sample_school.h"

namespace {

// Copies every record filed under a department into departments "1xx", "2xx", ...: four times
// the timetables, changes, subjects and assignments of each year.
void replicateDepartments(int times) {
    sqlite3* h = db().handle();
    const auto exec = [h](const QString& sql) {
        sqlite3_exec(h, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
    };
    exec("BEGIN");
    for (const TableDef& t : schemaTables()) {
        const TableMeta& meta = db().table(QString::fromUtf8(t.name));
        int dept = -1;
        for (int c = 0; c < meta.columns.size(); ++c)
            if (meta.columns[c].endsWith("_学部")) dept = c;
        if (dept < 0) continue;
        for (int k = 1; k < times; ++k) {
            QStringList cols, values;
            for (int c = 0; c < meta.columns.size(); ++c) {
                const QString q = '"' + meta.columns[c] + '"';
                cols << q;
                values << (c == dept ? QStringLiteral("CASE WHEN %1 = '000' THEN %1 ELSE '%2' || "
                                                      "substr(%1, 2) END")
                                           .arg(q)
                                           .arg(k)
                                     : q);
            }
            exec(QStringLiteral("INSERT OR IGNORE INTO \"%1\" (%2) SELECT %3 FROM \"%1\" WHERE "
                                "substr(\"%4\", 1, 1) = '0'")
                     .arg(meta.name, cols.join(", "), values.join(", "), meta.columns[dept]));
        }
    }
    exec("COMMIT");
}

}  // namespace

void openLargeSchool(int times) {
    static std::map<int, std::unique_ptr<QTemporaryDir>> dirs;
    static int open = 0;
    // The raw-SQL counterparts talk to the file's engine directly: a run that moved to a
    // server comes back to the file.
    if (open == times && Database::isOpen() && !db().onServer()) return;
    auto& dir = dirs[times];
    if (!dir) {
        dir = std::make_unique<QTemporaryDir>();
        QDir::setCurrent(dir->path());
        createNewDatabase(kDatabaseFile);
        fillLargeSchool(kYear);
        if (times > 1) replicateDepartments(times);
    } else {
        QDir::setCurrent(dir->path());
        Database::open(kDatabaseFile);
    }
    open = times;
}

const QDate& benchDate() {
    // Made on first use: the benchmarks' own constants are built from it while the program
    // starts, in an order across files that nothing fixes.
    static const QDate day = [] {
        QDate d(kYear, 6, 1);
        while (d.dayOfWeek() != 3) d = d.addDays(1);
        return d;
    }();
    return day;
}

WorkContext periodContext() {
    WorkContext ctx;
    ctx.workingYear = kYear;
    ctx.lessonDateText = dateText(benchDate());
    ctx.slotWeekday = weekdayNumber(benchDate());
    ctx.slotPeriod = kBenchPeriod;
    return ctx;
}

WorkContext classContext() {
    WorkContext ctx;
    ctx.workingYear = kYear;
    ctx.departmentCode = "002";
    ctx.grade = 2;
    ctx.classCode = "7";
    return ctx;
}
