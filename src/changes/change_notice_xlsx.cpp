#include "changes/change_notice_xlsx.h"

#include <QDate>

#include "common/names.h"
#include "common/registration.h"
#include "context/school_context.h"
#include "data/dates.h"

namespace {

constexpr int kBlocks = 4, kBlockCols = 5, kLabelCols = 2, kHeadRows = 3;
constexpr int kDays = 6, kWeekdayRows = 8, kSaturdayRows = 4;
constexpr int kRows = kHeadRows + kWeekdayRows * (kDays - 1) + kSaturdayRows;  // then the remark

int blockCol(int block) {
    return kLabelCols + kBlockCols * (block - 1);
}
// Monday is day 1 ... Saturday day 6.
int dayRow(int day) {
    return kHeadRows + kWeekdayRows * (day - 1);
}

void span(XlsxSheet& s, int row, int col, int rows, int cols, const QString& text) {
    s.at(row, col).text = text;
    s.spans.push_back({row, col, rows, cols});
}

QString blockLabel(const NoticeLine* l) {
    return l ? QStringLiteral("( %1 年 － %2 組 )").arg(l->grade).arg(l->klass)
             : QStringLiteral("(   －   )");
}

XlsxSheet pageSheet(const NoticeHeader& h, const NoticePage& page) {
    const NoticeLine& opening = page.opening();
    XlsxSheet s;
    s.name =
        page.classNotice
            ? stored_names::department(opening.dept) +
                  QStringLiteral(" %1年%2").arg(opening.grade).arg(withSuffix(opening.klass, "組"))
            : opening.addressee();
    s.title(QStringLiteral("時間割変更通知"), 14, 4);
    s.title(QStringLiteral("( ") + h.reason + QStringLiteral(" )"), 12);
    QString to = QStringLiteral("[ %1 ] 先生").arg(opening.addressee());
    if (page.classNotice)
        to += QStringLiteral("　[ %1 年 － %2 組 ]").arg(opening.grade).arg(opening.klass);
    s.title(to, 12);
    QStringList when;
    if (!h.issueDate.isEmpty()) when << h.issueDate + QStringLiteral(" 発表 :");
    if (!h.monday.isEmpty()) when << h.monday + QStringLiteral(" より実施");
    if (!when.isEmpty()) s.title(when.join(' '), 10, 7);

    const int cols = blockCol(kBlocks + 1);
    s.cells.assign(kRows + 1, std::vector<XlsxCell>(cols));
    s.fontSize = 9;
    // The page's measures: a 10 mm label column of dates and periods, blocks of 45 mm, a block
    // heading of 7 + 5 + 5 mm, 5 mm a period, and the 15 mm remark strip.
    s.widths.assign(cols, mmToTwips(10));
    s.widths[0] = s.widths[1] = mmToTwips(5);
    s.heights.assign(kRows + 1, mmToTwips(5));
    s.heights[0] = mmToTwips(7);
    s.heights[kRows] = mmToTwips(15);
    for (int r = 0; r <= kRows; ++r)
        for (int c = 0; c < cols; ++c) {
            XlsxCell& cell = s.at(r, c);
            cell.align = 4;
            if (r < kHeadRows || c < kLabelCols || r == kRows) cell.back = colour::kLightYellow;
        }

    span(s, 0, 0, kHeadRows, kLabelCols, QStringLiteral("ｸﾗｽ"));
    for (int k = 1; k <= kBlocks; ++k) {
        const int c = blockCol(k);
        s.widths[c + 2] = mmToTwips(5);
        const auto& block =
            k <= int(page.blocks.size()) ? page.blocks[k - 1] : std::vector<NoticeLine>{};
        span(s, 0, c, 1, kBlockCols, blockLabel(block.empty() ? nullptr : &block.front()));
        s.at(0, c).fontSize = 12;
        span(s, 1, c, 1, 2, QStringLiteral("現 行"));
        span(s, 1, c + 3, 1, 2, QStringLiteral("変 更"));
        for (int i : {0, 3}) {
            s.at(2, c + i).text = QStringLiteral("担当");
            s.at(2, c + i + 1).text = QStringLiteral("教科");
        }
        for (const NoticeLine& l : block) {
            const int row = dayRow(dateFrom(l.date).dayOfWeek()) + l.period - 1;
            const QStringList pieces{l.shownOldTeacher(), l.oldSubject, QStringLiteral("->"),
                                     l.shownTeacher(), l.subjectName};
            for (int i = 0; i < kBlockCols; ++i) s.at(row, c + i).text = pieces[i];
        }
    }

    const QDate monday = dateFrom(h.monday);
    for (int day = 1; day <= kDays; ++day) {
        const int top = dayRow(day);
        for (int r = 0; r < (day < kDays ? kWeekdayRows : kSaturdayRows); ++r)
            s.at(top + r, 1).text = QString::number(r + 1);
        if (!monday.isValid()) continue;
        const QDate date = monday.addDays(day - 1);
        const QStringList stacked{QString::number(date.month()), QStringLiteral("／"),
                                  QString::number(date.day()), school().weekdayNames[day + 1]};
        for (int r = 0; r < stacked.size(); ++r) s.at(top + r, 0).text = stacked[r];
    }
    span(s, kRows, 0, 1, kLabelCols, QStringLiteral("備考"));
    span(s, kRows, kLabelCols, 1, cols - kLabelCols, QString());
    s.at(kRows, kLabelCols).back = colour::kWhite;
    s.at(kRows, kLabelCols).align = 1;
    s.onePage = s.shrinkToFit = true;
    return s;
}

}  // namespace

NoticeBook changeNoticeBook(const NoticeHeader& h) {
    NoticeBook book;
    NoticeContent content = readNoticeContent();
    book.leftOut = std::move(content.leftOut);
    for (const NoticePage& page : noticePages(h.mode, content.lines))
        book.sheets.push_back(pageSheet(h, page));
    if (!book.sheets.empty())
        book.sheets.front().fileName = noticeFileName(h, content.lines.front());
    return book;
}
