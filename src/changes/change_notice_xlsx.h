#pragma once

#include <vector>

#include "changes/change_notice_print.h"
#include "ui/xlsx_export.h"

// The change notice "時間割変更通知" as a workbook, from the lines of WK時割変: a worksheet for
// every page the print has (a teacher's, four classes a page; a class's), each laid out like the
// page: the school week down the side, Monday to Saturday with their periods, and per class a block
// of old teacher, old subject, "->", new teacher, new subject. Names are given whole; a long one is
// set smaller to stay in its column.
struct NoticeBook {
    std::vector<XlsxSheet> sheets;  // none when the week has no line the sheet has a row for
    std::vector<NoticeLine> leftOut;
};
NoticeBook changeNoticeBook(const NoticeHeader& header);
