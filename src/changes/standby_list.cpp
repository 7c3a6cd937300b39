#include "changes/standby_list.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "changes/master_names.h"
#include "data/recordset.h"
#include "ui/grid.h"
#include "ui/palette.h"

namespace {

constexpr int kCols = 7;
constexpr int kCoverCol = 6;
constexpr double kSmallFontSize = 8;

QString coverHeading(bool wholeYear) {
    return wholeYear ? QStringLiteral("代講 年度/週") : QStringLiteral("代講 学期/週");
}

}  // namespace

void GRD待機教員初期化(Grid& g) {
    g.setRows(0);
    g.setCols(0);
    g.setRows(standby::kMaxRows + 1);
    g.setCols(kCols);
    g.setFixedRows(1);
    g.setFixedCols(0);
    const int widths[kCols] = {550, 850, 600, 400, 600, 600, 1150};
    const char* headings[kCols] = {"番号", "氏名", "学部", "学年", "科目", "教科", ""};
    for (int c = 0; c < kCols; ++c) {
        g.setColWidth(c, widths[c]);
        g.setTextMatrix(0, c, QString::fromUtf8(headings[c]));
    }
    g.setTextMatrix(0, kCoverCol, coverHeading(false));
    g.setRow(0);
    g.setCol(0);
    g.setColSel(kCols - 1);
    g.setCellBackColor(colour::kLightYellow);
    g.setRow(0);
    g.setCol(2);
    g.setRowSel(standby::kMaxRows);
    g.setColSel(4);
    g.setCellFontSize(kSmallFontSize);
    g.setCol(kCoverCol);
    g.setRowSel(standby::kMaxRows);
    g.setCellFontSize(kSmallFontSize);
    g.setCellAlignment(4);
}

namespace {

// The teachers with a lesson at the slot: one range of each index instead of a look-up per
// teacher.
std::unordered_set<QString> busyTeachers(int year, const QString& date, int weekday, int period) {
    std::unordered_set<QString> busy;
    Recordset lessons("組時間割");
    lessons.setIndex("Idx_教員");
    for (lessons.seekPrefix({year, weekday, period}); lessons.inPrefix(); lessons.moveNext())
        busy.insert(lessons.text("組_教員"));
    Recordset changes("時限変更");
    changes.setIndex("Idx_教員");
    for (changes.seekPrefix({year, date, period}); changes.inPrefix(); changes.moveNext())
        busy.insert(changes.text("変_教員"));
    return busy;
}

}  // namespace

bool onLeave(const QString& from, const QString& to, const QString& date) {
    return !from.isEmpty() && from <= date && (to.isEmpty() || to >= date);
}

std::vector<StandbyRow> GRD待機教員(WorkContext& ctx, Grid& g, int year, const QString& date,
                                    int weekday, int period, bool fewestCoversFirst) {
    GRD待機教員初期化(g);
    ctx.selectedRow = ctx.selectedCol = 0;
    std::vector<StandbyRow> rows;
    const auto busy = busyTeachers(year, date, weekday, period);
    CoverCounter covers(year, date);
    // The year's assignments by teacher, read in one range rather than a look-up per teacher.
    std::unordered_map<QString, std::vector<StandbyRow>> assignments;
    {
        Recordset assigned("担当");
        assigned.setIndex("Key_担当");
        for (assigned.seekPrefix({year}); assigned.inPrefix(); assigned.moveNext()) {
            const QString teacher = assigned.text("担_教員番号");
            if (busy.count(teacher)) continue;
            assignments[teacher].push_back({teacher,
                                            assigned.text("担_氏名"),
                                            assigned.text("担_学部"),
                                            assigned.integer("担_学年"),
                                            assigned.text("担_コース"),
                                            assigned.text("担_科目番号"),
                                            assigned.text("担_教科番号"),
                                            {}});
        }
    }
    Recordset teachers("教員");
    teachers.setIndex("Idx_カナ");
    teachers.seek(Seek::AtLeast, {""});
    for (; !teachers.noMatch() && !teachers.eof() && int(rows.size()) < standby::kMaxRows;
         teachers.moveNext()) {
        const QString teacher = teachers.text("員_番号");
        const auto mine = assignments.find(teacher);
        if (mine == assignments.end() ||
            onLeave(teachers.text("員_休職FROM"), teachers.text("員_休職TO"), date))
            continue;
        const CoverCounts taken = covers.of(teacher);
        for (StandbyRow& row : mine->second) {
            if (int(rows.size()) >= standby::kMaxRows) break;
            row.covers = taken;
            rows.push_back(std::move(row));
        }
    }
    if (fewestCoversFirst)
        std::stable_sort(rows.begin(), rows.end(), [](const StandbyRow& a, const StandbyRow& b) {
            return std::pair(a.covers.term, a.covers.week) <
                   std::pair(b.covers.term, b.covers.week);
        });

    MasterNames names(year);
    g.setTextMatrix(0, kCoverCol, coverHeading(covers.wholeYear()));
    for (int r = 1; r <= int(rows.size()); ++r) {
        const StandbyRow& row = rows[r - 1];
        g.setTextMatrix(r, 0, row.teacher);
        g.setTextMatrix(r, 1, row.name);
        g.setTextMatrix(r, 2, names.departmentName(row.dept));
        g.setTextMatrix(r, 3, QString::number(row.grade));
        g.setTextMatrix(r, 4,
                        names.kamoku(row.dept, row.grade, row.course, row.kamoku).shownName());
        g.setTextMatrix(
            r, 5,
            names.subject(row.dept, row.grade, row.course, row.kamoku, row.subject).shownName());
        g.setTextMatrix(r, kCoverCol,
                        QStringLiteral("%1 / %2").arg(row.covers.term).arg(row.covers.week));
    }
    return rows;
}
