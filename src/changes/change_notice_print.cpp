#include "changes/change_notice_print.h"

#include <algorithm>
#include <tuple>

#include <QDate>
#include <QHash>

#include "changes/sheet_text.h"
#include "common/names.h"
#include "common/registration.h"
#include "context/school_context.h"
#include "data/dates.h"
#include "data/recordset.h"
#include "ui/fields.h"
#include "ui/fonts.h"

namespace {

// The page, in millimetres from the paper's top-left corner.
constexpr double kLeft = 10, kRight = 200, kTop = 25, kBottom = 277;
constexpr double kTableTop = 42, kTableBottom = 262;
constexpr double kBandHeight = 40, kRowHeight = 5, kBlockWidth = 45;
constexpr int kBlocks = 4, kBands = 6;
// The date column runs from its texts' left edge to the rule at 15 mm.
constexpr double kDateRoom = 15 - 10.5 - 0.3;

double blockLeft(int k) {
    return 20 + kBlockWidth * (k - 1);
}
double bandTop(int band) {
    return kTableTop + kBandHeight * (band - 1);
}

// With more than one department, 1年1組 of one is not 1年1組 of another: labels carry the
// department's short name (its name when it has none).
QString departmentPrefix(const QString& code) {
    if (school().departmentCount <= 1) return QString();
    Recordset rs("マスタ");
    rs.setIndex("Key_マスタ");
    rs.seek(Seek::Equal, {QStringLiteral("002"), code});
    QString name = rs.noMatch() ? QString() : rs.text("マ_略称");
    if (name.isEmpty()) name = rs.noMatch() ? stored_names::department(code) : rs.text("マ_名称");
    return name + ' ';
}

// Monday is band 1 ... Saturday band 6; a Sunday has none.
int bandOf(const QString& date) {
    const QDate d = dateFrom(date);
    return d.isValid() && d.dayOfWeek() <= kBands ? d.dayOfWeek() : 0;
}

bool onSheet(const NoticeLine& l) {
    return l.period >= 1 && l.period <= noticeRowsOn(l.date);
}

QString classKey(const NoticeLine& l) {
    return l.dept + '\x1f' + QString::number(l.grade) + '\x1f' + l.course + '\x1f' + l.klass +
           '\x1f' + QString::number(l.selection);
}

class NoticeSheet {
public:
    NoticeSheet(Printer& p, const NoticeHeader& h) : p_(p), h_(h), monday_(dateFrom(h.monday)) {}

    void print(const NoticePage& page) {
        startPage(p_, pages_);
        frame();
        header(page.opening(), page.classNotice);
        for (int k = 1; k <= int(page.blocks.size()); ++k) {
            blockLabel(k, page.blocks[k - 1].front());
            for (const NoticeLine& l : page.blocks[k - 1]) line(k, l);
        }
    }

    int pages() const { return pages_; }

private:
    void frame() {
        p_.setForeColor(0);
        p_.setDrawStyle(0);
        p_.setDrawWidth(5);
        p_.box(kLeft, kTop, kRight, kBottom);
        p_.box(blockLeft(1), kTop, blockLeft(2), kTableBottom);
        p_.box(blockLeft(3), kTop, blockLeft(4), kTableBottom);
        p_.line(20, kTop, 20, kBottom);
        for (int k = 1; k <= kBlocks; ++k) {
            const double x0 = blockLeft(k);
            // The "現 行" half, the gap for "->" and the "変 更" half; each half splits into
            // teacher and subject.
            p_.setDrawStyle(1);
            p_.setDrawWidth(3);
            p_.line(x0 + 20, 32, x0 + 20, kTableBottom);
            p_.line(x0 + 25, 32, x0 + 25, kTableBottom);
            p_.setDrawWidth(2);
            p_.line(x0 + 10, 37, x0 + 10, kTableBottom);
            p_.line(x0 + 35, 37, x0 + 35, kTableBottom);
        }
        p_.setDrawStyle(0);
        p_.setDrawWidth(5);
        p_.line(kLeft, kTableTop, kRight, kTableTop);
        p_.box(kLeft, 82, kRight, 122);
        p_.box(kLeft, 162, kRight, 202);
        p_.box(kLeft, 242, kRight, kTableBottom);
        p_.line(kLeft, 32, kRight, 32);
        p_.line(20, 37, kRight, 37);
        p_.line(15, kTableTop, 15, kTableBottom);
        // The period rows, lightly, so that a line is read across its block; not through the
        // dates stacked in the left column.
        p_.setDrawStyle(2);
        p_.setDrawWidth(1);
        for (int band = 1; band <= kBands; ++band)
            for (int r = 1; r < (band < kBands ? 8 : 4); ++r)
                p_.line(15, bandTop(band) + kRowHeight * r, kRight, bandTop(band) + kRowHeight * r);
        p_.setDrawStyle(0);
    }

    void header(const NoticeLine& opening, bool classNotice) {
        if (!h_.reason.trimmed().isEmpty())
            printIn(p_, 35, 10, 12, 125 - 35 - 1,
                    QStringLiteral("( ") + h_.reason + QStringLiteral(" )"));
        printAt(p_, 125, 10, 14, QStringLiteral("時間割変更通知"));
        printAt(p_, 15, 20, 12, QStringLiteral("["));
        const QString name = leftText(opening.addressee(), 8);
        const QString padded = name + QString(8 - textLength(name), ' ');
        printAt(p_, 18, 20, p_.sizeToFit(name, 50 - 18 - 0.5, 12), padded);
        printAt(p_, 50, 20, 12, QStringLiteral("]"));
        printAt(p_, 52, 20, 12, QStringLiteral("先生"));
        if (classNotice)
            printIn(p_, 70, 20, 12, 135 - 70 - 1,
                    QStringLiteral("[ %1%2 年 － %3 組 ]")
                        .arg(prefix(opening.dept))
                        .arg(opening.grade)
                        .arg(opening.klass));
        // The issue date ends where the first day of the notice begins.
        printIn(p_, 135, 20, 10, 165 - 135 - 0.5,
                h_.issueDate.isEmpty() ? QString() : h_.issueDate + QStringLiteral(" 発表 :"));
        if (!h_.monday.isEmpty()) printAt(p_, 165, 20, 10, h_.monday + QStringLiteral(" より実施"));
        printAt(p_, 12, 27, 10, QStringLiteral("ｸﾗｽ"));
        printAt(p_, 13, 264, 11, QStringLiteral("備"));
        printAt(p_, 13, 271, 11, QStringLiteral("考"));

        for (int band = 1; band <= kBands; ++band) {
            const double t = bandTop(band) + 1;
            for (int r = 1; r <= (band < kBands ? 8 : 4); ++r)
                printAt(p_, 17, t + kRowHeight * (r - 1), 11, QString::number(r));
            if (!monday_.isValid()) continue;
            const QDate day = monday_.addDays(band - 1);
            // Two-digit months and days are set smaller to stay left of the period column's rule.
            printIn(p_, 10.5, t, 11, kDateRoom, QString::number(day.month()));
            printAt(p_, 10.5, t + kRowHeight, 11, QStringLiteral("／"));
            printIn(p_, 10.5, t + kRowHeight * 2, 11, kDateRoom, QString::number(day.day()));
            printAt(p_, 10.5, t + kRowHeight * 3, 11, school().weekdayNames[band + 1]);
        }
        for (int k = 1; k <= kBlocks; ++k) {
            const double x = 25 + kBlockWidth * (k - 1);
            printAt(p_, x, 26, 12, QStringLiteral("("));
            printAt(p_, x + 17, 26, 12, QStringLiteral("－"));
            printAt(p_, x + 35, 26, 12, QStringLiteral(")"));
            printAt(p_, x, 33, 10, QStringLiteral("現 行"));
            printAt(p_, x + 26, 33, 10, QStringLiteral("変 更"));
            printAt(p_, x - 3, 38, 9, QStringLiteral("担当"));
            printAt(p_, x + 7, 38, 9, QStringLiteral("教科"));
            printAt(p_, x + 22, 38, 9, QStringLiteral("担当"));
            printAt(p_, x + 32, 38, 9, QStringLiteral("教科"));
        }
    }

    void blockLabel(int k, const NoticeLine& l) {
        const double x = 25 + kBlockWidth * (k - 1);
        printIn(p_, x + 6, 26, 12, 10.5,
                QStringLiteral("%1%2 年").arg(prefix(l.dept)).arg(l.grade));
        // A class the school named "1組" keeps its name as it is.
        printIn(p_, x + 26, 26, 12, 8.5,
                l.klass.endsWith(u'組') ? l.klass : l.klass + QStringLiteral(" 組"));
    }

    void line(int k, const NoticeLine& l) {
        const double y = bandTop(bandOf(l.date)) + 1 + kRowHeight * (l.period - 1);
        const double x0 = blockLeft(k) + 1;
        // Each piece stays in its sub-column: a long name is set smaller, never over the rule.
        printIn(p_, x0 - 0.5, y, 7, 9.3, leftText(l.shownOldTeacher(), 4));
        printIn(p_, x0 + 9.5, y, 9, 9.3, leftText(l.oldSubject, 3));
        printAt(p_, x0 + 20, y, 9, QStringLiteral("->"));
        printIn(p_, x0 + 24.5, y, 7, 9.3, leftText(l.shownTeacher(), 4));
        printIn(p_, x0 + 34, y, 9, 9.8, leftText(l.subjectName, 3));
    }

    // Every page and block of a department names it: its master is read once.
    const QString& prefix(const QString& dept) {
        auto it = prefixes_.find(dept);
        if (it == prefixes_.end()) it = prefixes_.insert(dept, departmentPrefix(dept));
        return *it;
    }

    Printer& p_;
    const NoticeHeader& h_;
    const QDate monday_;
    QHash<QString, QString> prefixes_;
    int pages_ = 0;
};

}  // namespace

NoticeContent readNoticeContent() {
    NoticeContent content;
    for (NoticeLine& l : readNoticeLines())
        (onSheet(l) ? content.lines : content.leftOut).push_back(l);
    return content;
}

std::vector<NoticePage> noticePages(int mode, const std::vector<NoticeLine>& lines) {
    std::vector<NoticePage> pages;
    // Every teacher starts a page of their own; their classes follow as blocks, four a page.
    if (mode != NoticeTarget::Class) {
        const NoticeLine* group = nullptr;
        for (const NoticeLine& l : lines) {
            if (!group || group->teacher != l.teacher || classKey(*group) != classKey(l)) {
                if (!group || group->teacher != l.teacher || pages.back().blocks.size() == kBlocks)
                    pages.push_back({false, {}});
                pages.back().blocks.emplace_back();
                group = &l;
            }
            pages.back().blocks.back().push_back(l);
        }
    }
    // A page for every class, with all its lines, whoever gives them.
    if (mode != NoticeTarget::Teacher) {
        std::vector<NoticeLine> byClass = lines;
        std::stable_sort(
            byClass.begin(), byClass.end(), [](const NoticeLine& a, const NoticeLine& b) {
                return std::tie(a.dept, a.grade, a.course, a.klass, a.selection, a.date, a.period) <
                       std::tie(b.dept, b.grade, b.course, b.klass, b.selection, b.date, b.period);
            });
        for (const NoticeLine& l : byClass) {
            if (pages.empty() || !pages.back().classNotice ||
                classKey(pages.back().opening()) != classKey(l))
                pages.push_back({true, {{}}});
            pages.back().blocks.back().push_back(l);
        }
    }
    return pages;
}

QString noticeFileName(const NoticeHeader& h, const NoticeLine& first) {
    const QString target =
        h.mode == NoticeTarget::Teacher ? first.addressee()
        : h.mode == NoticeTarget::Class
            ? QStringLiteral("%1年%2").arg(first.grade).arg(withSuffix(first.klass, "組"))
            : QStringLiteral("全体");
    return QStringLiteral("時間割変更通知_%1_%2").arg(QString(h.monday).remove('/'), target);
}

int noticeRowsOn(const QString& date) {
    const int band = bandOf(date);
    return band == 0 ? 0 : band < kBands ? 8 : 4;
}

NoticePrint PRT変時割(const NoticeHeader& h,
                      std::function<void(const NoticePrint&, bool output)> afterPreview) {
    NoticePrint result;
    NoticeContent content = readNoticeContent();
    result.leftOut = std::move(content.leftOut);
    if (content.lines.empty()) {
        // Nothing to preview: what was left out is still told, with nothing output.
        if (afterPreview) afterPreview(result, false);
        return result;
    }

    Printer p(QStringLiteral("時間割変更通知"));
    p.setFileName(noticeFileName(h, content.lines.front()));
    p.setPaperSize(Printer::kPaperA4);
    p.setScaleMillimetres();
    p.setFontName(QString::fromUtf8(kPrintFont));
    NoticeSheet sheet(p, h);
    for (const NoticePage& page : noticePages(h.mode, content.lines)) sheet.print(page);
    result.pages = sheet.pages();
    p.endDoc([result, afterPreview = std::move(afterPreview)](bool output) {
        if (afterPreview) afterPreview(result, output);
    });
    return result;
}
