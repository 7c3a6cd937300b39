#include "timetable/school_terms.h"

#include <algorithm>

#include "common/selection_lists.h"
#include "data/recordset.h"

bool SchoolTerm::appliesTo(const QString& dept, int g) const {
    return (department == kCommonCode || department == dept) && (grade == 0 || grade == g);
}

std::vector<SchoolTerm> schoolTerms(int year) {
    std::vector<SchoolTerm> terms;
    Recordset rs("期間");
    rs.setIndex("Idx_一覧");
    for (rs.seekPrefix({year}); rs.inPrefix(); rs.moveNext()) {
        if (rs.integer("期_学期F") != 1) continue;
        QString name = rs.text("期_名称");
        if (name.isEmpty()) name = rs.text("期_学期") + QStringLiteral("学期");
        terms.push_back({rs.text("期_学部"), rs.integer("期_学年"), rs.text("期_開始日"),
                         rs.text("期_終了日"), name});
    }
    std::stable_sort(terms.begin(), terms.end(),
                     [](const SchoolTerm& a, const SchoolTerm& b) { return a.from < b.from; });
    return terms;
}

DateRange schoolYearOf(int year) {
    return {QStringLiteral("%1/04/01").arg(year, 4, 10, QChar('0')),
            QStringLiteral("%1/03/31").arg(year + 1, 4, 10, QChar('0'))};
}
