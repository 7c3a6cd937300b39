#pragma once

#include <vector>

#include <QString>

#include "changes/change_notice.h"

// What the change notice prints above its table.
struct NoticeHeader {
    int mode = NoticeTarget::All;  // teacher notice, class notice, or both
    QString monday;                // "yyyy/mm/dd"; the week the changes take effect
    QString issueDate;             // may be empty
    QString reason;
};

struct NoticePrint {
    int pages = 0;  // 0: nothing was printed
    // Lines the sheet has no row for (a Sunday, a period past the day's rows), left out of it.
    std::vector<NoticeLine> leftOut;
};

// PRT変時割: prints the sheet "時間割変更通知" from the lines of WK時割変. A page is the school
// week, Monday to Saturday, with up to four blocks side by side, one per class, each line in the
// row of its day and period: old teacher, old subject, "->", new teacher, new subject.
// The teacher notice gives every teacher pages of their own, a block per class; the class notice
// gives every class a page. Mode 3 prints the teacher notice, then the class notice, as one
// document.
NoticePrint PRT変時割(const NoticeHeader& header);

// The rows a day has on the sheet: eight from Monday to Friday, four on Saturday, none on Sunday.
int noticeRowsOn(const QString& date);
