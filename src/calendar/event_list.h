#pragma once

#include <set>
#include <vector>

#include <QDate>
#include <QStringList>

#include "common/registration.h"
#include "context/work_context.h"
#include "data/recordset.h"

// The events of the school calendar (予定) as the event screen lists them, and the days of a
// month they cover.

// Lesson classification 予_授業F, in the order the drop-down offers it.
namespace 授業区分 {
enum : int { 授業無 = 0, 授業有 = 1, 時限換算 = 2 };
}
QStringList lessonClassifications();  // "授業無", "授業有", "時限換算"

// The unique key of one event (Key_予定), in index order.
struct EventKey {
    int year = 0;
    QString department;
    int grade = 0;
    QString course;
    QString firstDay;  // "yyyy/mm/dd"
    int sequence = 0;
    int periodFrom = 0, periodTo = 0;

    static EventKey of(const Recordset& rs);
    std::vector<Value> values() const;
    // For every department or every grade; its name shows in light red in the list.
    bool isCommon() const;
    bool operator==(const EventKey&) const = default;
};

// Whether an event belongs in the list of the selection in ctx: the selected department's own
// events and the common ones ("000"), or only the common ones when "共通" is selected; grades
// (0 for all) and courses ("000" for all) alike.
bool eventShown(const Recordset& rs, const WorkContext& ctx);

// GRD行事: the list of the working year's events, in key order. Row 0 holds the headings.
EntryList::Layout eventListLayout();
std::vector<Value> eventListFrom(int year);
QStringList eventListCells(const Recordset& rs);
// What the layout cannot say: the small headings.
void formatEventListHeadings(Grid& grid);

// The days of `month` on which an event of the working year shown for ctx takes place.
std::set<int> eventDays(const WorkContext& ctx, const QDate& month);

// Adds the national holidays of the school year `year` as whole-school events without lessons,
// named after the holiday, leaving out the days an event for all departments already covers.
// They are filed under `course`, the one the event screen files under, so it can edit them.
// Returns how many it added.
int addNationalHolidays(int year, const QString& course);
