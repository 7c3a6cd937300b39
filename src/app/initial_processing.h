#pragma once

#include <functional>

#include <QDate>

#include "context/work_context.h"

// 初期処理: fills the process-wide context before the menu shows: today and the weekday names,
// the business year (record 業_区分 = 1 of 業務年度), and the departments, grades, courses and
// classes of マスタ. Without a business year it sets the error flag and the message
// "業務年度を設定して下さい" and calls `setUpBusinessYear` (the school-year set-up), then goes on.
void 初期処理(WorkContext& ctx, const QDate& today, const std::function<void()>& setUpBusinessYear);

// Reads the business year into the process context; false when none is registered.
bool loadBusinessYear(WorkContext& ctx);
