// The change notice of the busiest week of the large school (every teacher and class notice of
// the week in one document), each output next to writing the same pages with no layout work:
//
//   - the print: laying the pages out (the texts fitted to their cells) into the document the
//     preview shows; it should take under one frame and grow in step with the pages;
//   - the PDF: the print laid out and written, next to writing the finished document alone;
//   - the workbook: the notice laid out as sheets and written, next to writing the finished
//     sheets alone.
//
// Both files should take at most twice their "no layout" counterpart.

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <map>

#include <QTemporaryDir>

#include "bench/large_school.h"
#include "bench/raw_sql.h"
#include "changes/change_notice.h"
#include "changes/change_notice_print.h"
#include "changes/change_notice_xlsx.h"
#include "common/school_masters.h"
#include "data/recordset.h"
#include "ui/printer.h"
#include "ui/xlsx_export.h"

namespace {

// The Monday of the week with the most lesson changes of the year.
QString busiestMonday() {
    sqlite3_stmt* s = prepareRaw("SELECT 変_日付 FROM 時限変更 WHERE 変_年度 = ?1");
    sqlite3_bind_int(s, 1, kYear);
    std::map<QDate, int> perWeek;
    while (sqlite3_step(s) == SQLITE_ROW) {
        const QDate d = QDate::fromString(
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 0))),
            QStringLiteral("yyyy/MM/dd"));
        ++perWeek[noticeMonday(d)];
    }
    sqlite3_finalize(s);
    const auto busiest = std::max_element(perWeek.begin(), perWeek.end(),
                                          [](auto& a, auto& b) { return a.second < b.second; });
    return dateText(busiest->first);
}

// Fills the work table with the busiest week, as 表示 does before each output.
NoticeHeader prepareNotice(benchmark::State& state) {
    openLargeSchool();
    loadMasters();
    static const QString monday = busiestMonday();
    const QString saturday = dateText(QDate::fromString(monday, "yyyy/MM/dd").addDays(5));
    Operation op;
    const std::vector<NoticeLine> lines =
        collectNoticeLines(kYear, monday, saturday, NoticeTarget{});
    storeNoticeLines(lines);
    op.commit();
    state.counters["changes"] = double(lines.size());
    return NoticeHeader{NoticeTarget::All, monday, monday, QStringLiteral("行事のため")};
}

// The document the print hands to the preview.
PrintedDocument printNotice(const NoticeHeader& header) {
    PrintedDocument doc;
    setPrintSink([&doc](const PrintedDocument& d) { doc = d; });
    Operation op;
    PRT変時割(header);
    op.commit();
    setPrintSink(nullptr);
    return doc;
}

void BM_Notice_Print(benchmark::State& state) {
    const NoticeHeader header = prepareNotice(state);
    size_t pages = 0;
    for (auto _ : state) pages = printNotice(header).pages.size();
    state.counters["pages"] = double(pages);
}

void BM_Notice_Pdf(benchmark::State& state) {
    const NoticeHeader header = prepareNotice(state);
    QTemporaryDir dir;
    for (auto _ : state) writePdf(printNotice(header), dir.filePath("notice.pdf"));
}

void BM_Notice_PdfNoLayout(benchmark::State& state) {
    const PrintedDocument doc = printNotice(prepareNotice(state));
    QTemporaryDir dir;
    for (auto _ : state) writePdf(doc, dir.filePath("notice.pdf"));
}

NoticeBook noticeBook(const NoticeHeader& header) {
    Operation op;
    NoticeBook book = changeNoticeBook(header);
    op.commit();
    return book;
}

void BM_Notice_Xlsx(benchmark::State& state) {
    const NoticeHeader header = prepareNotice(state);
    QTemporaryDir dir;
    for (auto _ : state) writeXlsx(noticeBook(header).sheets, dir.filePath("notice.xlsx"));
}

// The same cells and merged blocks written with no formats of their own: the writing the notice
// workbook cannot do without.
void BM_Notice_XlsxNoLayout(benchmark::State& state) {
    std::vector<XlsxSheet> sheets = noticeBook(prepareNotice(state)).sheets;
    for (XlsxSheet& sheet : sheets) {
        sheet.shrinkToFit = false;
        for (auto& row : sheet.cells)
            for (XlsxCell& cell : row) cell = XlsxCell{cell.text};
    }
    QTemporaryDir dir;
    for (auto _ : state) writeXlsx(sheets, dir.filePath("notice.xlsx"));
}

}  // namespace

BENCHMARK(BM_Notice_Print)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Notice_Pdf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Notice_PdfNoLayout)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Notice_Xlsx)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Notice_XlsxNoLayout)->Unit(benchmark::kMillisecond);
