#include "changes/cover_count.h"

#include <algorithm>

#include <QDate>

#include "common/selection_lists.h"
#include "data/dates.h"
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
}

CoverCounter::~CoverCounter() = default;

CoverCounts CoverCounter::of(const QString& teacher) {
    if (!changes_) {
        changes_ = std::make_unique<Recordset>("時限変更");
        changes_->setIndex("Idx_教員コマ");
    }
    const QString from = weekFrom_.isEmpty() ? termFrom_ : std::min(termFrom_, weekFrom_);
    const QString to = std::max(termTo_, weekTo_);
    CoverCounts counts;
    Recordset& rs = *changes_;
    rs.seek(Seek::AtLeast, {year_, teacher, from});
    for (; !rs.noMatch() && !rs.eof() && rs.integer("変_年度") == year_ &&
           rs.text("変_教員") == teacher;
         rs.moveNext()) {
        const QString date = rs.text("変_日付");
        if (date > to) break;
        if (termFrom_ <= date && date <= termTo_) ++counts.term;
        if (weekFrom_ <= date && date <= weekTo_) ++counts.week;
    }
    return counts;
}
