#include "lists/assignment_list_screen.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "common/checks.h"
#include "common/selection_lists.h"
#include "context/school_context.h"
#include "data/key_range.h"
#include "lists/inquiry_list.h"
#include "ui/grid.h"
#include "ui/xlsx_export.h"

namespace {

const QString kTitle = QStringLiteral("担当教科一覧");
const QString kAllDepartments = QStringLiteral("全学部");
constexpr int kGrouped = 5;  // the leading columns whose repeats are left out; 備考 never is

// One listed assignment: what each column shows, and what it stands for when compared with the
// row above (a teacher is the same teacher by number, not by name).
struct Line {
    QStringList cells;
    QStringList identity;
};

// The year's assignments with the names of their course subjects and subjects, in one statement
// in the order of the grouping's index (Key_担当 by teacher, Idx_教科 by course subject): a look-up
// per name and line cost twice the reading of the lines. A course subject or subject that is no
// longer registered shows its number, as the number look-ups do.
const QString& assignmentQuery(bool byTeacher, bool oneDepartment) {
    static const QString base = QStringLiteral(
        "SELECT a.\"担_氏名\", a.\"担_教員番号\", a.\"担_学部\", a.\"担_学年\", a.\"担_備考\", "
        "COALESCE(ka.\"科_名称\", a.\"担_科目番号\"), COALESCE(ky.\"教_名称\", a.\"担_教科番号\") "
        "FROM \"担当\" a "
        "LEFT JOIN \"科目\" ka ON ka.\"科_年度\" = a.\"担_年度\" AND ka.\"科_学部\" = "
        "a.\"担_学部\" "
        "AND ka.\"科_学年\" = a.\"担_学年\" AND ka.\"科_コース\" = a.\"担_コース\" "
        "AND ka.\"科_番号\" = a.\"担_科目番号\" "
        "LEFT JOIN \"教科\" ky ON ky.\"教_年度\" = a.\"担_年度\" AND ky.\"教_学部\" = "
        "a.\"担_学部\" "
        "AND ky.\"教_学年\" = a.\"担_学年\" AND ky.\"教_コース\" = a.\"担_コース\" "
        "AND ky.\"教_科目番号\" = a.\"担_科目番号\" AND ky.\"教_教科番号\" = a.\"担_教科番号\" "
        "WHERE a.\"担_年度\" = ?");
    static const QString department = QStringLiteral(" AND a.\"担_学部\" = ?");
    static const QString teacherOrder = QStringLiteral(
        " ORDER BY a.\"担_教員番号\", a.\"担_学部\", a.\"担_学年\", a.\"担_コース\", "
        "a.\"担_科目番号\", a.\"担_教科番号\", a.rowid");
    static const QString kamokuOrder = QStringLiteral(
        " ORDER BY a.\"担_学部\", a.\"担_学年\", a.\"担_コース\", a.\"担_科目番号\", "
        "a.\"担_教科番号\", a.\"担_教員番号\", a.rowid");
    static const QString queries[2][2] = {{base + kamokuOrder, base + department + kamokuOrder},
                                          {base + teacherOrder, base + department + teacherOrder}};
    return queries[byTeacher][oneDepartment];
}

Line lineOf(const KeyRow& r, bool byTeacher) {
    const QString teacher = r.text(0);
    const int gradeNumber = int(r.integer(3));
    const QString kamoku = r.text(5);
    const QString subject = r.text(6);
    const QString dept = stored_names::department(r.text(2));
    const QString grade = gradeNumber == 0 ? QString() : stored_names::grade(gradeNumber);
    const QString teacherId = r.text(1) + QLatin1Char('\n') + teacher;
    if (byTeacher)
        return {{teacher, kamoku, subject, dept, grade, r.text(4)},
                {teacherId, kamoku, subject, dept, grade}};
    return {{dept, grade, kamoku, subject, teacher, r.text(4)},
            {dept, grade, kamoku, subject, teacherId}};
}

}  // namespace

担当一覧::担当一覧() : Screen("担当一覧", kTitle) {
    年度 = textBox("年度", 4);
    C学部 = comboBox("C学部", [this] { C学部_Click(); });
    教員別 = option("教員別", QStringLiteral("教員別"));
    科目 = option("科目", QStringLiteral("科目別"));
    onLostFocus(年度, [this] { 年度_LostFocus(); });

    auto* top = new QHBoxLayout;
    top->addWidget(labelled(QStringLiteral("年度"), 年度));
    top->addWidget(labelled(QStringLiteral("学部"), C学部));
    top->addWidget(教員別);
    top->addWidget(科目);
    top->addWidget(button("B表示", QStringLiteral("表示"), [this] { B表示_Click(); }));
    top->addStretch();

    Grid* g = grid("G担当");
    g->setMinimumSize(600, 420);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(
        button(kXlsxButton, QString::fromUtf8(kXlsxCaption), [this] { BExcel出力_Click(); }));
    buttons->addWidget(button("終了", QStringLiteral("終了"), [this] { close(); }));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(g, 1);
    layout->addLayout(buttons);
    run([this] { Form_Load(); });
}

void 担当一覧::Form_Load() {
    ctx().errorFlag = 0;
    ctx().title = kTitle;
    年度->setText(QString::number(school().businessYear));
    ctx().workingYear = school().businessYear;
    CMB学部(ctx(), 学部::Fill, list_option::kPlain, C学部);
    C学部->addItem(kAllDepartments);
    // Ready to show at once: every department, by teacher.
    C学部->setCurrentText(kAllDepartments);
    教員別->setChecked(true);
    layOut(true);
}

void 担当一覧::年度_LostFocus() {
    CHK年度(ctx(), 年度, "001");
}

void 担当一覧::C学部_Click() {
    if (C学部->currentText() == kAllDepartments) {
        ctx().departmentCode = kCommonCode;
        ctx().decodeResult = 0;
        return;
    }
    CMB学部(ctx(), 学部::ByName, list_option::kPlain, C学部);
}

void 担当一覧::B表示_Click() {
    ctx().resetReporting();
    年度_LostFocus();
    C学部_Click();
    if (ctx().errorFlag == 1) {
        showMessage(ctx().message);
        return;
    }
    ctx().workingYear = 年度->text().toInt();
    const bool byTeacher = !科目->isChecked();
    layOut(byTeacher);
    fill(byTeacher);
    shown_ = {ctx().workingYear, C学部->currentText(), byTeacher ? 教員別->text() : 科目->text()};
}

void 担当一覧::BExcel出力_Click() {
    XlsxSheet sheet = listSheet(*control<Grid>("G担当"), kTitle);
    // What was listed, whatever the fields say now.
    if (shown_.year != 0) {
        sheet.title(
            QStringLiteral("%1 年度　%2　%3").arg(shown_.year).arg(shown_.dept, shown_.order), 12,
            7);
        sheet.fileName +=
            QStringLiteral("_%1年度_%2_%3").arg(shown_.year).arg(shown_.dept, shown_.order);
    }
    saveXlsx(*this, sheet);
}

void 担当一覧::layOut(bool byTeacher) {
    const QStringList headings =
        byTeacher
            ? QStringList{QStringLiteral("教員名"), QStringLiteral("科目"), QStringLiteral("教科"),
                          QStringLiteral("学部"),   QStringLiteral("学年"), QStringLiteral("備考")}
            : QStringList{QStringLiteral("学部"), QStringLiteral("学年"),   QStringLiteral("科目"),
                          QStringLiteral("教科"), QStringLiteral("教員名"), QStringLiteral("備考")};
    // Each column keeps its width when the columns change places.
    const std::vector<int> widths = byTeacher ? std::vector<int>{1500, 1500, 2000, 1000, 500, 2200}
                                              : std::vector<int>{1000, 500, 1500, 2000, 1500, 2200};
    list_ =
        std::make_unique<EntryList>(control<Grid>("G担当"), inquiryLayout(headings, widths, 1000));
    list_->reset();
}

void 担当一覧::fill(bool byTeacher) {
    const QString dept = ctx().departmentCode;
    const bool oneDepartment = dept != kCommonCode;
    std::vector<Value> values{ctx().workingYear};
    if (oneDepartment) values.emplace_back(dept);
    QStringList above;
    readQuery(
        assignmentQuery(byTeacher, oneDepartment), values,
        [&](const KeyRow& r) {
            Line line = lineOf(r, byTeacher);
            for (int c = 0; c < kGrouped && c < above.size() && line.identity[c] == above[c]; ++c)
                line.cells[c].clear();
            above = line.identity;
            list_->append(line.cells);
        },
        QueryPlan::Once);
}
