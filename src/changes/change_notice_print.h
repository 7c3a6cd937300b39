#pragma once

#include <functional>
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
// `afterPreview` runs once the preview has closed, with what was printed and whether the user
// printed or saved it.
NoticePrint PRT変時割(const NoticeHeader& header,
                      std::function<void(const NoticePrint&, bool output)> afterPreview = {});

// The rows a day has on the sheet: eight from Monday to Friday, four on Saturday, none on Sunday.
int noticeRowsOn(const QString& date);

// The lines of WK時割変 (in the order of Idx_変更先), those the sheet has a row for and those it
// has none for.
struct NoticeContent {
    std::vector<NoticeLine> lines;
    std::vector<NoticeLine> leftOut;
};
NoticeContent readNoticeContent();

// One page of the notice: up to four blocks side by side, a class each with its lines.
struct NoticePage {
    bool classNotice = false;
    std::vector<std::vector<NoticeLine>> blocks;
    const NoticeLine& opening() const { return blocks.front().front(); }  // names the addressee
};
// The pages of the notice of `mode` (teacher, class or both) for lines the sheet has rows for.
std::vector<NoticePage> noticePages(int mode, const std::vector<NoticeLine>& lines);

// What a saved notice is called: "時間割変更通知_20070604_佐藤　健一" (the teacher, the class or
// 全体).
QString noticeFileName(const NoticeHeader& header, const NoticeLine& first);
