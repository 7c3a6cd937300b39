#include "calendar/bell_schedule.h"

#include <QRegularExpression>

#include "common/date_input.h"
#include "common/selection_lists.h"
#include "data/recordset.h"

QTime parseBellTime(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^(\\d{1,2})[:：](\\d{2})$"));
    const auto m = form.match(toHalfWidth(text).trimmed());
    if (!m.hasMatch()) return {};
    return QTime(m.captured(1).toInt(), m.captured(2).toInt());
}

namespace {

// Positioned on the first stored row of one department and day kind.
struct DayRows {
    Recordset rs{"時程"};
    QString department;
    int kind;
    DayRows(const QString& dept, int dayKind) : department(dept), kind(dayKind) {
        rs.setIndex("Key_時程");
        rs.seekPrefix({department, kind});
    }
    bool more() const { return rs.inPrefix(); }
};

}  // namespace

int removeBellSchedule(const QString& department, int dayKind) {
    DayRows rows(department, dayKind);
    int removed = 0;
    for (; rows.more(); rows.rs.moveNext()) {
        rows.rs.remove();
        ++removed;
    }
    return removed;
}

std::map<int, BellPeriod> storedBellSchedule(const QString& department, int dayKind) {
    std::map<int, BellPeriod> out;
    DayRows rows(department, dayKind);
    Recordset& rs = rows.rs;
    for (; rows.more(); rs.moveNext()) {
        const BellPeriod p{parseBellTime(rs.text("時_開始")), parseBellTime(rs.text("時_終了"))};
        if (p.start.isValid() && p.end.isValid()) out[rs.integer("時_時限")] = p;
    }
    return out;
}

std::map<int, BellPeriod> bellSchedule(const QString& department, int weekday) {
    std::vector<int> kinds;
    if (weekday == 7) kinds.push_back(曜日区分::土曜);
    kinds.push_back(曜日区分::平日);
    for (int kind : kinds)
        for (const QString& dept : {department, kCommonCode}) {
            std::map<int, BellPeriod> times = storedBellSchedule(dept, kind);
            if (!times.empty()) return times;
        }
    return {};
}
