#include "app/screen_registry.h"

#include "calendar/event_schedule_screen.h"
#include "masters/basic_master_screen.h"
#include "masters/item_name_screen.h"
#include "timetable/class_timetable_screen.h"
#include "timetable/timetable_copy_screen.h"

std::map<QString, std::function<Screen*()>> menuScreens() {
    return {
        {QStringLiteral("組時間割"), [] { return new 組時間割; }},
        {QStringLiteral("時間割コピー"), [] { return new 時間割コピー; }},
        {QStringLiteral("基本登録"), [] { return new 基本登録; }},
        {QStringLiteral("項目名登"), [] { return new 項目名登; }},
        {QStringLiteral("行事予定"), [] { return new 行事予定; }},
    };
}
