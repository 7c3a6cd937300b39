#include "changes/cover_count.h"

#include <algorithm>
#include <vector>

#include <QDate>

#include "common/selection_lists.h"
#include "data/dates.h"
#include "data/key_range.h"
#include "data/recordset.h"
#include "timetable/school_terms.h"

CoverCounter::CoverCounter(int year, const QString& date) : year_(year) {
    const SchoolTerm* found = nullptr;
    const std::vector<SchoolTerm> terms = schoolTerms(year);
    for (const SchoolTerm& t : terms)
        // The school's own term before one registered for a department or grade only.
        if (t.contains(date) && (!found || (t.department == kCommonCode && t.grade == 0)))
            found = &t;
    if (found) {
        termFrom_ = found->from;
        termTo_ = found->to;
    } else {
        const DateRange schoolYear = schoolYearOf(year);
        termFrom_ = schoolYear.from;
        termTo_ = schoolYear.to;
        wholeYear_ = true;
    }
    const QDate day = QDate::fromString(date, QStringLiteral("yyyy/MM/dd"));
    if (day.isValid()) {
        const QDate monday = day.addDays(1 - day.dayOfWeek());
        weekFrom_ = dateText(monday);
        weekTo_ = dateText(monday.addDays(6));
    }
    from_ = weekFrom_.isEmpty() ? termFrom_ : std::min(termFrom_, weekFrom_);
    to_ = std::max(termTo_, weekTo_);
    grouped_ = Database::current().statementsAreRoundTrips();
}

CoverCounter::~CoverCounter() = default;

namespace {

// The weekday number of a stored date "yyyy/mm/dd" (0 when it is none), without the general
// date parser: a count reads every change of a school year.
int weekdayOf(const QString& date) {
    const QStringView d(date);
    if (d.size() != 10) return 0;
    const QDate day(d.left(4).toInt(), d.mid(5, 2).toInt(), d.mid(8, 2).toInt());
    return day.isValid() ? weekdayNumber(day) : 0;
}

}  // namespace

void CoverCounter::add(CoverCounts& counts, const QString& date) const {
    if (termFrom_ <= date && date <= termTo_) ++counts.term;
    if (weekFrom_ <= date && date <= weekTo_) ++counts.week;
}

CoverCounts CoverCounter::of(const QString& teacher) {
    if (!grouped_) return countOne(teacher);
    if (!counted_) countAll();
    return all_.value(teacher);
}

// The teacher's changes of the two ranges, one scan of an index range, each checked against the
// teacher's own standard lessons (a few records of one index range).
CoverCounts CoverCounter::countOne(const QString& teacher) {
    if (!changes_) {
        changes_ = std::make_unique<Recordset>("時限変更");
        changes_->setIndex("Idx_教員コマ");
        lessons_ = std::make_unique<Recordset>("組時間割");
        lessons_->setIndex("Idx_教員コマ");
    }
    CoverCounts counts;
    Recordset& rs = *changes_;
    rs.seekPrefix({year_, teacher, from_}, 2);
    if (!rs.inPrefix() || rs.text("変_日付") > to_) return counts;

    // The teacher's standard lessons by weekday and period, with their classes.
    struct Lesson {
        int slot;
        QString dept, course, klass;
        int grade;
    };
    std::vector<Lesson> own;
    Recordset& ls = *lessons_;
    for (ls.seekPrefix({year_, teacher}); ls.inPrefix(); ls.moveNext())
        own.push_back({ls.integer("組_曜日") * 100 + ls.integer("組_時限"), ls.text("組_学部"),
                       ls.text("組_コース"), ls.text("組_組"), ls.integer("組_学年")});
    const auto ownLesson = [&](int slot) {
        for (const Lesson& l : own)
            if (l.slot == slot && l.dept == rs.text("変_学部") &&
                l.grade == rs.integer("変_学年") && l.course == rs.text("変_コース") &&
                l.klass == rs.text("変_組"))
                return true;
        return false;
    };

    for (; rs.inPrefix(); rs.moveNext()) {
        const QString date = rs.text("変_日付");
        if (date > to_) break;
        if (!own.empty() && ownLesson(weekdayOf(date) * 100 + rs.integer("変_時限"))) continue;
        add(counts, date);
    }
    return counts;
}

// Every teacher's changes of the two ranges counted by the engine in one statement, the changes
// that kept a class with its own teacher left out: the same counts as countOne in one round trip
// instead of one or two per teacher. The weekday of the date is worked out by the engine, so the
// year's standard lessons are lists the server hashes once and each change is looked up in
// (a join of the changes with the lessons was planned for the few changes the server guesses a
// year's date range holds, and sorted both sides: twice as slow). Working out a weekday costs more
// than the look-up, so it is done only for the changes whose teacher has the class at that period
// on some weekday.
void CoverCounter::countAll() {
    counted_ = true;
    static const QString sql =
        QStringLiteral(
            "SELECT c.\"変_教員\", "
            "SUM(CASE WHEN c.\"変_日付\" >= ? AND c.\"変_日付\" <= ? THEN 1 ELSE 0 END), "
            "SUM(CASE WHEN c.\"変_日付\" >= ? AND c.\"変_日付\" <= ? THEN 1 ELSE 0 END) "
            "FROM \"時限変更\" c WHERE c.\"変_年度\" = ? AND c.\"変_日付\" >= ? AND "
            "c.\"変_日付\" <= ? AND ((%1) NOT IN (SELECT %2 FROM \"組時間割\" WHERE "
            "\"組_年度\" = ?) OR (%1, %3) NOT IN (SELECT %2, \"組_曜日\" FROM \"組時間割\" "
            "WHERE \"組_年度\" = ?)) GROUP BY c.\"変_教員\"")
            .arg(QStringLiteral("c.\"変_教員\", c.\"変_時限\", c.\"変_学部\", c.\"変_学年\", "
                                "c.\"変_コース\", c.\"変_組\""),
                 QStringLiteral("\"組_教員\", \"組_時限\", \"組_学部\", \"組_学年\", "
                                "\"組_コース\", \"組_組\""),
                 weekdayNumberSql(QStringLiteral("c.\"変_日付\"")));
    readQuery(sql, {termFrom_, termTo_, weekFrom_, weekTo_, year_, from_, to_, year_, year_},
              [&](const KeyRow& r) {
                  all_.insert(r.text(0), {int(r.integer(1)), int(r.integer(2))});
              });
}
