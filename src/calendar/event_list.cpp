#include "calendar/event_list.h"

#include "calendar/national_holidays.h"
#include "common/selection_lists.h"
#include "data/dates.h"
#include "ui/grid.h"

namespace {

constexpr double kSmallHeading = 8;

// A selection of "all" shows only what applies to all; a particular one adds its own.
bool inScope(const QString& stored, const QString& selected) {
    return stored == kCommonCode || (selected != kCommonCode && stored == selected);
}

QString shortDate(const QString& stored) {
    return stored.size() == 10 ? stored.mid(2) : stored;
}

}  // namespace

QStringList lessonClassifications() {
    return {QStringLiteral("授業無"), QStringLiteral("授業有"), QStringLiteral("時限換算")};
}

EventKey EventKey::of(const Recordset& rs) {
    return {rs.integer("予_年度"),     rs.text("予_学部"),     rs.integer("予_学年"),
            rs.text("予_コース"),      rs.text("予_日付"),     rs.integer("予_連番"),
            rs.integer("予_時限From"), rs.integer("予_時限To")};
}

std::vector<Value> EventKey::values() const {
    return {year, department, grade, course, firstDay, sequence, periodFrom, periodTo};
}

bool eventShown(const Recordset& rs, const WorkContext& ctx) {
    const int grade = rs.integer("予_学年");
    const bool gradeShown = grade == 0 || (ctx.grade != 0 && grade == ctx.grade);
    const QString course = rs.text("予_コース");
    const bool courseShown =
        ctx.courseCode == kCommonCode || course == kCommonCode || course == ctx.courseCode;
    return inScope(rs.text("予_学部"), ctx.departmentCode) && gradeShown && courseShown;
}

bool EventKey::isCommon() const {
    return department == kCommonCode || grade == 0;
}

EntryList::Layout eventListLayout() {
    EntryList::Layout l;
    l.headings = {QStringLiteral("日From"), QStringLiteral("日To"), QStringLiteral("授業"),
                  QStringLiteral("時From"), QStringLiteral("時To"), QStringLiteral("連番"),
                  QStringLiteral("名称")};
    l.widths = {850, 850, 500, 550, 550, 500, 1800};
    l.entryRows = 100;
    l.fixedRows = 1;
    // A busy year has more than 100 events; the list grows rather than leave any out.
    l.grows = true;
    return l;
}

std::vector<Value> eventListFrom(int year) {
    return {year, QString(), 0, QString(), QString(), 0, 0, 0};
}

QStringList eventListCells(const Recordset& rs) {
    static const QStringList kinds = {QStringLiteral("無"), QStringLiteral("有"),
                                      QStringLiteral("換算")};
    const int kind = rs.integer("予_授業F");
    const bool counted = kind == 授業区分::時限換算;
    return {shortDate(rs.text("予_日付")),
            shortDate(rs.text("予_終了日")),
            kind >= 0 && kind < kinds.size() ? kinds[kind] : QString(),
            counted ? QString::number(rs.integer("予_時限From")) : QString(),
            counted ? QString::number(rs.integer("予_時限To")) : QString(),
            QString::number(rs.integer("予_連番")),
            rs.text("予_名称")};
}

void formatEventListHeadings(Grid& g) {
    for (int c : {2, 3, 4}) {
        g.setRow(0);
        g.setCol(c);
        g.setCellFontSize(kSmallHeading);
    }
}

std::set<int> eventDays(const WorkContext& ctx, const QDate& month) {
    const QDate first(month.year(), month.month(), 1);
    const QDate last = first.addDays(first.daysInMonth() - 1);
    std::set<int> days;
    Recordset rs("予定");
    rs.setIndex("Key_予定");
    for (rs.seekPrefix(eventListFrom(ctx.workingYear), 1); rs.inPrefix(); rs.moveNext()) {
        if (!eventShown(rs, ctx)) continue;
        const QDate from = dateFrom(rs.text("予_日付"));
        QDate to = dateFrom(rs.text("予_終了日"));
        if (!from.isValid()) continue;
        if (!to.isValid() || to < from) to = from;
        for (QDate d = std::max(from, first); d <= std::min(to, last); d = d.addDays(1))
            days.insert(d.day());
    }
    return days;
}

int addNationalHolidays(int year, const QString& course) {
    // The days the whole school already has an event on: a school that entered 元日 itself, or
    // ran this before, keeps what it has.
    std::set<QString> covered;
    Recordset rs("予定");
    rs.setIndex("Key_予定");
    for (rs.seekPrefix({year, kCommonCode}); rs.inPrefix(); rs.moveNext()) {
        const QDate from = dateFrom(rs.text("予_日付"));
        QDate to = dateFrom(rs.text("予_終了日"));
        if (!from.isValid()) continue;
        if (!to.isValid() || to < from) to = from;
        for (QDate d = from; d <= to; d = d.addDays(1)) covered.insert(dateText(d));
    }
    int added = 0;
    for (const NationalHoliday& h : nationalHolidaysOfSchoolYear(year)) {
        const QString day = dateText(h.date);
        if (covered.count(day)) continue;
        rs.addNew();
        const EventKey key{year, kCommonCode, 0, course, day, 0, 0, 0};
        const QStringList fields = {"予_年度", "予_学部", "予_学年",     "予_コース",
                                    "予_日付", "予_連番", "予_時限From", "予_時限To"};
        const std::vector<Value> values = key.values();
        for (int i = 0; i < fields.size(); ++i) rs.set(fields[i], values[i]);
        rs.set("予_終了日", day);
        rs.set("予_授業F", int(授業区分::授業無));
        rs.set("予_名称", h.name);
        rs.set("予_略称", h.name);
        rs.update();
        ++added;
    }
    return added;
}
