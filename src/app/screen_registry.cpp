#include "app/screen_registry.h"

#include "calendar/event_schedule_screen.h"
#include "changes/period_slot_screen.h"
#include "changes/teacher_slot_screen.h"
#include "masters/basic_master_screen.h"
#include "masters/item_name_screen.h"
#include "timetable/class_timetable_screen.h"

std::map<QString, std::function<Screen*()>> menuScreens() {
    return {
        {QStringLiteral("組時間割"), [] { return new 組時間割; }},
        {QStringLiteral("教員コマ"), [] { return new 教員コマ; }},
        {QStringLiteral("時限コマ"), [] { return new 時限コマ; }},
        {QStringLiteral("基本登録"), [] { return new 基本登録; }},
        {QStringLiteral("項目名登"), [] { return new 項目名登; }},
        {QStringLiteral("行事予定"), [] { return new 行事予定; }},
    };
}
