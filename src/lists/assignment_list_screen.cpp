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
#include "data/recordset.h"
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

Line lineOf(const Recordset& rs, bool byTeacher) {
    const stored_names::Kamoku k{rs.integer("担_年度"), rs.text("担_学部"), rs.integer("担_学年"),
                                 rs.text("担_コース"), rs.text("担_科目番号")};
    const QString teacher = rs.text("担_氏名");
    const QString kamoku = stored_names::kamoku(k, stored_names::Form::Name);
    const QString subject =
        stored_names::subject(k, rs.text("担_教科番号"), stored_names::Form::Name);
    const QString dept = stored_names::department(k.department);
    const QString grade = k.grade == 0 ? QString() : stored_names::grade(k.grade);
    const QString teacherId = rs.text("担_教員番号") + QLatin1Char('\n') + teacher;
    if (byTeacher)
        return {{teacher, kamoku, subject, dept, grade, rs.text("担_備考")},
                {teacherId, kamoku, subject, dept, grade}};
    return {{dept, grade, kamoku, subject, teacher, rs.text("担_備考")},
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
    const int year = ctx().workingYear;
    const QString dept = ctx().departmentCode;
    const bool allDepartments = dept == kCommonCode;
    Recordset rs("担当");
    if (byTeacher) {
        rs.setIndex("Key_担当");
        rs.seekPrefix({year});
    } else {
        // This index leads with the department: one department is one range of it.
        rs.setIndex("Idx_教科");
        if (allDepartments)
            rs.seekPrefix({year});
        else
            rs.seekPrefix({year, dept}, 1);
    }
    QStringList above;
    for (; rs.inPrefix(); rs.moveNext()) {
        if (!allDepartments && rs.text("担_学部") != dept) {
            if (byTeacher) continue;
            break;
        }
        Line line = lineOf(rs, byTeacher);
        for (int c = 0; c < kGrouped && c < above.size() && line.identity[c] == above[c]; ++c)
            line.cells[c].clear();
        above = line.identity;
        list_->append(line.cells);
    }
}
