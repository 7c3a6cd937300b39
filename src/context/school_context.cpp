#include "context/school_context.h"

void SchoolContext::setToday(const QDate& date) {
    today = date;
    todayText = date.toString(QStringLiteral("yyyy/MM/dd"));
    weekdayNames = {QString(), "日", "月", "火", "水", "木", "金", "土"};
}

void SchoolContext::clearMasters() {
    departments.fill({});
    grades.fill({});
    courses.fill({});
    for (auto& list : classes) list.fill({});
    classCount.fill(0);
    departmentCount = gradeCount = courseCount = largestClassCount = 0;
}

SchoolContext& school() {
    static SchoolContext s;
    return s;
}
