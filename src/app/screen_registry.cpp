#include "app/screen_registry.h"

#include "app/main_menu.h"
#include "calendar/bell_schedule_screen.h"
#include "calendar/event_schedule_screen.h"
#include "lists/assignment_list_screen.h"
#include "lists/homeroom_inquiry_screen.h"
#include "lists/teacher_list_screen.h"
#include "maintenance/reorganization.h"
#include "maintenance/term_end_screen.h"
#include "changes/change_notice_screen.h"
#include "changes/period_slot_screen.h"
#include "changes/teacher_slot_screen.h"
#include "generation_ui/generation_screen.h"
#include "masters/basic_master_screen.h"
#include "masters/course_subject_screen.h"
#include "masters/item_name_screen.h"
#include "masters/subject_screen.h"
#include "masters/teacher_screen.h"
#include "masters/term_screen.h"
#include "masters/subject_copy_screen.h"
#include "masters/teacher_import_screen.h"
#include "timetable/class_timetable_screen.h"
#include "timetable/timetable_check_screen.h"
#include "timetable/timetable_copy_screen.h"

std::map<QString, std::function<Screen*()>> menuScreens() {
    return {
        {QStringLiteral("組時間割"), [] { return new 組時間割; }},
        {QStringLiteral("教員コマ"), [] { return new 教員コマ; }},
        {QStringLiteral("時限コマ"), [] { return new 時限コマ; }},
        {QStringLiteral("時間割コピー"), [] { return new 時間割コピー; }},
        {QStringLiteral("時間割チェック"), [] { return new 時間割チェック; }},
        {QStringLiteral("時間割自動作成"), [] { return new 時間割自動作成; }},
        {QStringLiteral("変更通知"), [] { return new 変更通知; }},
        {QStringLiteral("基本登録"), [] { return new 基本登録; }},
        {QStringLiteral("項目名登"), [] { return new 項目名登; }},
        {QStringLiteral("期末処理"), [] { return new 期末処理; }},
        {QStringLiteral("教科コピー"), [] { return new 教科コピー; }},
        {QStringLiteral("教員一括"), [] { return new 教員一括; }},
        {QStringLiteral("行事予定"), [] { return new 行事予定; }},
        {QStringLiteral("時程登録"), [] { return new 時程登録; }},
        {QStringLiteral("科目登録"), [] { return new 科目登録; }},
        {QStringLiteral("教科登録"), [] { return new 教科登録; }},
        {QStringLiteral("期間登録"), [] { return new 期間登録; }},
        {QStringLiteral("教員登録"), [] { return new 教員登録; }},
        {QStringLiteral("教員一覧"), [] { return new 教員一覧; }},
        {QStringLiteral("担当一覧"), [] { return new 担当一覧; }},
        {QStringLiteral("担任照会"), [] { return new 担任照会; }},
    };
}

namespace {

// The menu's buttons that start work without a screen, registered before the menu is built.
const bool kActionsRegistered = [] {
    メニュ::actions()[QStringLiteral("B再編成")] = [](Screen& menu) { DB再編成(menu); };
    return true;
}();

}  // namespace
