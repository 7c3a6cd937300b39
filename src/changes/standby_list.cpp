#include "changes/standby_list.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "changes/master_names.h"
#include "common/names.h"
#include "data/database.h"
#include "data/key_range.h"
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

// The teachers with a lesson at the slot: one range of each index, read from the index alone,
// instead of a look-up per teacher.
std::unordered_set<QString> busyTeachers(int year, const QString& date, int weekday, int period) {
    std::unordered_set<QString> busy;
    readKeyRange({"組時間割", "Idx_教員", {year, weekday, period}, {year, weekday, period}},
                 {"組_教員"}, [&](const KeyRow& r) { busy.insert(r.text(0)); });
    readKeyRange({"時限変更", "Idx_教員", {year, date, period}, {year, date, period}},
                 {"変_教員"}, [&](const KeyRow& r) { busy.insert(r.text(0)); });
    return busy;
}

}  // namespace

bool onLeave(const QString& from, const QString& to, const QString& date) {
    return !from.isEmpty() && from <= date && (to.isEmpty() || to >= date);
}

namespace {

// A listed row with the names its course subject and subject are shown by.
struct Listed {
    StandbyRow row;
    QString kamokuName, subjectName;
};

// Whether the teacher is listed on the date, and room is left.
bool listable(const std::unordered_set<QString>& busy, const QString& teacher,
              const QString& leaveFrom, const QString& leaveTo, const QString& date) {
    return !busy.count(teacher) && !onLeave(leaveFrom, leaveTo, date);
}

// On the file: the year's assignments in one range, then the teachers in kana order, each read
// with only the fields listed; the names are sought in the masters once the list is known (a seek
// in memory each).
std::vector<Listed> listFromFile(int year, const QString& date,
                                 const std::unordered_set<QString>& busy, MasterNames& names) {
    std::unordered_map<QString, std::vector<StandbyRow>> assignments;
    readKeyRange({"担当", "Key_担当", {year}, {year}},
                 {"担_教員番号", "担_氏名", "担_学部", "担_学年", "担_コース", "担_科目番号",
                  "担_教科番号"},
                 [&](const KeyRow& r) {
                     const QString teacher = r.text(0);
                     if (busy.count(teacher)) return;
                     assignments[teacher].push_back({teacher, r.text(1), r.text(2),
                                                     int(r.integer(3)), r.text(4), r.text(5),
                                                     r.text(6), {}});
                 });
    std::vector<Listed> listed;
    readKeyRange({"教員", "Idx_カナ", {}, {}}, {"員_番号", "員_休職FROM", "員_休職TO"},
                 [&](const KeyRow& r) {
                     if (int(listed.size()) >= standby::kMaxRows) return;
                     const auto mine = assignments.find(r.text(0));
                     if (mine == assignments.end() ||
                         !listable(busy, mine->first, r.text(1), r.text(2), date))
                         return;
                     for (StandbyRow& row : mine->second) {
                         if (int(listed.size()) >= standby::kMaxRows) break;
                         listed.push_back({std::move(row), {}, {}});
                     }
                 });
    if (!listed.empty()) names.readYear();
    for (Listed& l : listed) {
        const StandbyRow& r = l.row;
        l.kamokuName = names.kamoku(r.dept, r.grade, r.course, r.kamoku).shownName();
        l.subjectName = names.subject(r.dept, r.grade, r.course, r.kamoku, r.subject).shownName();
    }
    return listed;
}

// On a server: the same list with the masters' names in one statement, where the reads above
// would be a round trip for each page of assignments and teachers and for each name.
std::vector<Listed> listFromServer(int year, const QString& date,
                                   const std::unordered_set<QString>& busy) {
    static const QString sql = QStringLiteral(
        "SELECT a.\"担_教員番号\", a.\"担_氏名\", a.\"担_学部\", a.\"担_学年\", a.\"担_コース\", "
        "a.\"担_科目番号\", a.\"担_教科番号\", t.\"員_休職FROM\", t.\"員_休職TO\", "
        "ka.\"科_名称\", ka.\"科_略称\", ky.\"教_名称\", ky.\"教_略称\" "
        "FROM \"教員\" t JOIN \"担当\" a ON a.\"担_年度\" = ? AND a.\"担_教員番号\" = t.\"員_番号\" "
        "LEFT JOIN \"科目\" ka ON ka.\"科_年度\" = a.\"担_年度\" AND ka.\"科_学部\" = a.\"担_学部\" "
        "AND ka.\"科_学年\" = a.\"担_学年\" AND ka.\"科_コース\" = a.\"担_コース\" "
        "AND ka.\"科_番号\" = a.\"担_科目番号\" "
        "LEFT JOIN \"教科\" ky ON ky.\"教_年度\" = a.\"担_年度\" AND ky.\"教_学部\" = a.\"担_学部\" "
        "AND ky.\"教_学年\" = a.\"担_学年\" AND ky.\"教_コース\" = a.\"担_コース\" "
        "AND ky.\"教_科目番号\" = a.\"担_科目番号\" AND ky.\"教_教科番号\" = a.\"担_教科番号\" "
        // Idx_カナ's order, then Key_担当's.
        "ORDER BY t.\"員_氏名カナ\", t.rowid, a.\"担_学部\", a.\"担_学年\", a.\"担_コース\", "
        "a.\"担_科目番号\", a.\"担_教科番号\"");
    std::vector<Listed> listed;
    readQuery(
        sql, {year},
        [&](const KeyRow& r) {
            if (int(listed.size()) >= standby::kMaxRows ||
                !listable(busy, r.text(0), r.text(7), r.text(8), date))
                return;
            listed.push_back({{r.text(0),
                               r.text(1),
                               r.text(2),
                               int(r.integer(3)),
                               r.text(4),
                               r.text(5),
                               r.text(6),
                               {}},
                              shortOrName(r.text(10), r.text(9)),
                              shortOrName(r.text(12), r.text(11))});
        },
        QueryPlan::Once);
    return listed;
}

}  // namespace

std::vector<StandbyRow> GRD待機教員(WorkContext& ctx, Grid& g, int year, const QString& date,
                                    int weekday, int period, bool fewestCoversFirst) {
    GRD待機教員初期化(g);
    ctx.selectedRow = ctx.selectedCol = 0;
    const auto busy = busyTeachers(year, date, weekday, period);
    MasterNames names(year);
    std::vector<Listed> listed = db().statementsAreRoundTrips()
                                     ? listFromServer(year, date, busy)
                                     : listFromFile(year, date, busy, names);
    CoverCounter covers(year, date);
    std::vector<QString> teachers;
    teachers.reserve(listed.size());
    for (const Listed& l : listed) teachers.push_back(l.row.teacher);
    const QHash<QString, CoverCounts> counts = covers.of(teachers);
    for (Listed& l : listed) l.row.covers = counts.value(l.row.teacher);
    if (fewestCoversFirst)
        std::stable_sort(listed.begin(), listed.end(), [](const Listed& a, const Listed& b) {
            return std::pair(a.row.covers.term, a.row.covers.week) <
                   std::pair(b.row.covers.term, b.row.covers.week);
        });

    g.setTextMatrix(0, kCoverCol, coverHeading(covers.wholeYear()));
    std::vector<StandbyRow> rows;
    rows.reserve(listed.size());
    for (int r = 1; r <= int(listed.size()); ++r) {
        const Listed& l = listed[r - 1];
        const StandbyRow& row = l.row;
        g.setTextMatrix(r, 0, row.teacher);
        g.setTextMatrix(r, 1, row.name);
        g.setTextMatrix(r, 2, names.departmentName(row.dept));
        g.setTextMatrix(r, 3, QString::number(row.grade));
        g.setTextMatrix(r, 4, l.kamokuName);
        g.setTextMatrix(r, 5, l.subjectName);
        g.setTextMatrix(r, kCoverCol,
                        QStringLiteral("%1 / %2").arg(row.covers.term).arg(row.covers.week));
        rows.push_back(row);
    }
    return rows;
}
