// Writes the iCalendar text with libical. A module of its own (see kCalendarModule in
// teacher_calendar.h): libical is loaded at the first calendar export, not at every start.

#include <libical/ical.h>

#include "calendar/teacher_calendar.h"

namespace {

const char* const kZone = "Asia/Tokyo";

icaltimetype timeOn(const QDate& d, const QTime& t, icaltimezone* zone) {
    icaltimetype it = icaltime_null_time();
    it.year = d.year();
    it.month = d.month();
    it.day = d.day();
    it.hour = t.hour();
    it.minute = t.minute();
    it.is_date = 0;
    return icaltime_set_timezone(&it, zone);
}

icalproperty* zoned(icalproperty* p) {
    if (!icalproperty_get_first_parameter(p, ICAL_TZID_PARAMETER))
        icalproperty_add_parameter(p, icalparameter_new_tzid(kZone));
    return p;
}

}  // namespace

extern "C" bool jikanwariWriteCalendar(const QString* title,
                                       const std::vector<CalendarEvent>* events, QByteArray* out) {
    icaltimezone* zone = icaltimezone_get_builtin_timezone(kZone);
    icalcomponent* cal = icalcomponent_new_vcalendar();
    icalcomponent_add_property(cal, icalproperty_new_version("2.0"));
    icalcomponent_add_property(cal, icalproperty_new_prodid("-//jikanwari//timetable//JA"));
    icalcomponent_add_property(cal, icalproperty_new_calscale("GREGORIAN"));
    icalcomponent_add_property(cal, icalproperty_new_method(ICAL_METHOD_PUBLISH));
    icalproperty* name = icalproperty_new_x(title->toUtf8().constData());
    icalproperty_set_x_name(name, "X-WR-CALNAME");
    icalcomponent_add_property(cal, name);
    if (zone)
        icalcomponent_add_component(cal, icalcomponent_new_clone(icaltimezone_get_component(zone)));
    const icaltimetype stamp = icaltime_current_time_with_zone(icaltimezone_get_utc_timezone());
    for (const CalendarEvent& e : *events) {
        icalcomponent* ev = icalcomponent_new_vevent();
        icalcomponent_add_property(ev, icalproperty_new_uid(e.uid.toUtf8().constData()));
        icalcomponent_add_property(ev, icalproperty_new_dtstamp(stamp));
        icalcomponent_add_property(ev, zoned(icalproperty_new_dtstart(timeOn(e.date, e.start, zone))));
        icalcomponent_add_property(ev, zoned(icalproperty_new_dtend(timeOn(e.date, e.end, zone))));
        icalcomponent_add_property(ev, icalproperty_new_summary(e.summary.toUtf8().constData()));
        icalcomponent_add_property(ev,
                                   icalproperty_new_description(e.description.toUtf8().constData()));
        if (!e.location.isEmpty())
            icalcomponent_add_property(ev, icalproperty_new_location(e.location.toUtf8().constData()));
        if (e.changed) icalcomponent_add_property(ev, icalproperty_new_categories("変更"));
        icalcomponent_add_component(cal, ev);
    }
    char* text = icalcomponent_as_ical_string_r(cal);
    *out = QByteArray(text);
    icalmemory_free_buffer(text);
    icalcomponent_free(cal);
    return true;
}
