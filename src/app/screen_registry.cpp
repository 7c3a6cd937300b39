#include "app/screen_registry.h"

#include "app/main_menu.h"
#include "calendar/event_schedule_screen.h"
#include "maintenance/reorganization.h"
#include "maintenance/term_end_screen.h"
#include "masters/basic_master_screen.h"
#include "masters/item_name_screen.h"
#include "masters/subject_copy_screen.h"
#include "masters/teacher_import_screen.h"
#include "timetable/class_timetable_screen.h"

std::map<QString, std::function<Screen*()>> menuScreens() {
    return {
        {QStringLiteral("組時間割"), [] { return new 組時間割; }},
        {QStringLiteral("基本登録"), [] { return new 基本登録; }},
        {QStringLiteral("項目名登"), [] { return new 項目名登; }},
        {QStringLiteral("期末処理"), [] { return new 期末処理; }},
        {QStringLiteral("教科コピー"), [] { return new 教科コピー; }},
        {QStringLiteral("教員一括"), [] { return new 教員一括; }},
        {QStringLiteral("行事予定"), [] { return new 行事予定; }},
    };
}

namespace {

// The menu's buttons that start work without a screen, registered before the menu is built.
const bool kActionsRegistered = [] {
    メニュ::actions()[QStringLiteral("B再編成")] = [](Screen& menu) { DB再編成(menu); };
    return true;
}();

}  // namespace
