#include "changes/cover_count.h"

#include <algorithm>
#include <vector>

#include <QDate>

#include "common/selection_lists.h"
#include "data/database.h"
#include "data/dates.h"
#include "data/key_range.h"
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
    const QDate day = dateFrom(date);
    if (day.isValid()) {
        const QDate monday = day.addDays(1 - day.dayOfWeek());
        weekFrom_ = dateText(monday);
        weekTo_ = dateText(monday.addDays(6));
    }
    from_ = weekFrom_.isEmpty() ? termFrom_ : std::min(termFrom_, weekFrom_);
    to_ = std::max(termTo_, weekTo_);
    grouped_ = Database::current().statementsAreRoundTrips();
}

namespace {

// The weekday number of a stored date "yyyy/mm/dd" (0 when it is none).
int weekdayOf(const QString& date) {
    const QDate day = dateFrom(date);
    return day.isValid() ? weekdayNumber(day) : 0;
}

}  // namespace

void CoverCounter::add(CoverCounts& counts, const QString& date) const {
    if (termFrom_ <= date && date <= termTo_) ++counts.term;
    if (weekFrom_ <= date && date <= weekTo_) ++counts.week;
}

QHash<QString, CoverCounts> CoverCounter::of(const std::vector<QString>& teachers) {
    if (grouped_) {
        if (!counted_) countAll();
        return all_;
    }
    return countEach(teachers);
}

// Each teacher's changes of the two ranges, one read of an index range with the fields the count
// needs (record by record, every field of every record was read and converted), then the standard
// lessons of the teachers who have any, in one read of the year's timetable from its key alone,
// against which each change is checked.
QHash<QString, CoverCounts> CoverCounter::countEach(const std::vector<QString>& teachers) {
    struct Change {
        QString date, dept, course, klass;
        int period, grade;
    };
    QHash<QString, std::vector<Change>> changes;
    for (const QString& teacher : teachers) {
        if (changes.contains(teacher)) continue;
        std::vector<Change>& mine = changes[teacher];
        readKeyRange({"時限変更", "Idx_教員コマ", {year_, teacher, from_}, {year_, teacher, to_}},
                     {"変_日付", "変_時限", "変_学部", "変_学年", "変_コース", "変_組"},
                     [&](const KeyRow& r) {
                         mine.push_back({r.text(0), r.text(2), r.text(4), r.text(5),
                                         int(r.integer(1)), int(r.integer(3))});
                     });
    }

    // The standard lessons of the teachers with changes, by weekday and period, with their
    // classes. The key holds every field wanted, so no record is read.
    struct Lesson {
        int weekday, period;
        QString dept, course, klass;
        int grade;
    };
    QHash<QString, std::vector<Lesson>> own;
    bool anyChange = false;
    for (const auto& mine : std::as_const(changes)) anyChange |= !mine.empty();
    if (anyChange)
        readKeyRange({"組時間割", "Key_時間割", {year_}, {year_}},
                     {"組_教員", "組_曜日", "組_時限", "組_学部", "組_学年", "組_コース", "組_組"},
                     [&](const KeyRow& r) {
                         const auto mine = changes.constFind(r.text(0));
                         if (mine == changes.cend() || mine->empty()) return;
                         own[mine.key()].push_back({int(r.integer(1)), int(r.integer(2)),
                                                    r.text(3), r.text(5), r.text(6),
                                                    int(r.integer(4))});
                     });

    QHash<QString, CoverCounts> counts;
    for (auto mine = changes.cbegin(); mine != changes.cend(); ++mine) {
        CoverCounts& c = counts[mine.key()];
        static const std::vector<Lesson> none;
        const auto found = own.constFind(mine.key());
        const std::vector<Lesson>& lessons = found == own.cend() ? none : *found;
        for (const Change& change : *mine) {
            // The weekday is worked out only when the teacher teaches at that period at all.
            bool kept = false;
            int weekday = -1;
            for (const Lesson& l : lessons) {
                if (l.period != change.period) continue;
                if (weekday < 0) weekday = weekdayOf(change.date);
                if (l.weekday == weekday && l.dept == change.dept && l.grade == change.grade &&
                    l.course == change.course && l.klass == change.klass) {
                    kept = true;
                    break;
                }
            }
            if (!kept) add(c, change.date);
        }
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
