#include "masters/assignment_screen.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/checks.h"
#include "common/selection_lists.h"
#include "context/school_context.h"
#include "ui/fields.h"
#include "ui/grid.h"

namespace {
const QString kTitle = QStringLiteral("教員登録");
}

教員担当::教員担当(Screen* caller, const QString& kana)
    : Screen("教員担当", QStringLiteral("教員の担当教科登録"), caller), kana_(kana) {
    教員番号 = textBox("教員番号", 5);
    氏名 = textBox("氏名", 10);
    氏名カナ = textBox("氏名カナ", 20);
    // The teacher is chosen on 教員登録; here it is only shown.
    for (QLineEdit* f : {教員番号, 氏名, 氏名カナ}) f->setReadOnly(true);
    年度 = textBox("年度", 4);
    C学部 = comboBox("C学部", [this] { C学部_Click(); });
    C学年 = comboBox("C学年", [this] { C学年_Click(); });
    C科目 = comboBox("C科目", [this] { C科目_Click(); });
    C教科 = comboBox("C教科", [this] { C教科_Click(); });
    備考 = textBox("備考", 25);
    onLostFocus(年度, [this] { 年度_LostFocus(); });

    auto* teacher = new QHBoxLayout;
    teacher->addWidget(labelled(QStringLiteral("教員番号"), 教員番号));
    teacher->addWidget(labelled(QStringLiteral("氏名"), 氏名));
    teacher->addWidget(labelled(QStringLiteral("氏名ｶﾅ"), 氏名カナ));
    teacher->addWidget(labelled(QStringLiteral("年度"), 年度));

    auto* fields = new QFormLayout;
    auto* where = new QHBoxLayout;
    where->addWidget(C学部);
    where->addWidget(labelled(QStringLiteral("学年"), C学年));
    fields->addRow(QStringLiteral("学部"), where);
    fields->addRow(QStringLiteral("担当科目"), C科目);
    fields->addRow(QStringLiteral("担当教科"), C教科);
    fields->addRow(QStringLiteral("備考"), 備考);

    Grid* list = grid("G担当", [this](int row, int) { G担当_Click(row); });
    list->setMinimumSize(560, 300);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(button("Bクリア", QStringLiteral("クリア"), [this] { Bクリア_Click(); }));
    buttons->addWidget(button("B確定", QStringLiteral("確定"), [this] { B確定_Click(); }));
    buttons->addWidget(button("B削除", QStringLiteral("削除"), [this] { B削除_Click(); }));
    buttons->addWidget(button("B終了", QStringLiteral("終了"), [this] { close(); }));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(teacher);
    layout->addLayout(fields);
    layout->addWidget(list, 1);
    layout->addLayout(buttons);

    EntryList::Layout listLayout;
    listLayout.headings = {QStringLiteral("学部"),     QStringLiteral("学年"),
                           QStringLiteral("科目番号"), QStringLiteral("科目略称"),
                           QStringLiteral("教科番号"), QStringLiteral("教科略称"),
                           QStringLiteral("備考"),     QString()};
    listLayout.widths = {800, 500, 700, 1000, 700, 1000, 2000, 200};
    registration_ = std::make_unique<Registration>(*this, list, listLayout, plan());
    run([this] { Form_Load(); });
}

RegistrationPlan 教員担当::plan() {
    RegistrationPlan s;
    s.table = QStringLiteral("担当");
    s.index = QStringLiteral("Key_担当");
    s.keyFields = {QStringLiteral("担_年度"),    QStringLiteral("担_教員番号"),
                   QStringLiteral("担_学部"),    QStringLiteral("担_学年"),
                   QStringLiteral("担_コース"),  QStringLiteral("担_科目番号"),
                   QStringLiteral("担_教科番号")};
    s.subject = QStringLiteral("教員の担当");
    s.deleteQuestion = QStringLiteral("登録内容を削除します。");
    s.notRegistered = QStringLiteral("指定した教員の担当は登録されていません");
    s.deleted = QStringLiteral("指定した教員の担当は削除されました");
    s.notFoundOnPick = QStringLiteral("教科を取出せません、一旦終了して再処理してください");
    s.refillWhenNotRegistered = true;
    s.checks = [this] { checkAll(); };
    s.key = [this] {
        const WorkContext& c = ctx();
        return std::vector<Value>{c.workingYear, c.teacherNumber, c.departmentCode, c.grade,
                                  c.courseCode,  c.kamokuNumber,  c.subjectNumber};
    };
    s.listedKey = [](const Recordset& rs) {
        std::vector<Value> key;
        for (const char* f : {"担_年度", "担_教員番号", "担_学部", "担_学年", "担_コース",
                              "担_科目番号", "担_教科番号"})
            key.push_back(rs.value(f));
        return key;
    };
    s.write = [this](Recordset& rs, bool) {
        rs.set("担_氏名", ctx().teacherName);
        rs.set("担_備考", 備考->text());
    };
    s.show = [this](const Recordset& rs) { showAssignment(rs); };
    s.listFrom = [this] { return std::vector<Value>{ctx().workingYear, ctx().teacherNumber}; };
    s.within = [this](const Recordset& rs) {
        return rs.integer("担_年度") == ctx().workingYear &&
               rs.text("担_教員番号") == ctx().teacherNumber;
    };
    s.cells = [](const Recordset& rs) {
        const stored_names::Kamoku k{rs.integer("担_年度"), rs.text("担_学部"),
                                     rs.integer("担_学年"), rs.text("担_コース"),
                                     rs.text("担_科目番号")};
        const QString subject = rs.text("担_教科番号");
        return QStringList{stored_names::department(k.department),
                           QString::number(k.grade),
                           k.number,
                           stored_names::kamoku(k, stored_names::Form::ShortName),
                           subject,
                           stored_names::subject(k, subject, stored_names::Form::ShortName),
                           rs.text("担_備考")};
    };
    return s;
}

void 教員担当::Form_Load() {
    WorkContext& c = ctx();
    c.resetReporting();
    c.title = kTitle;
    教員番号->setText(c.teacherNumber);
    氏名->setText(c.teacherName);
    氏名カナ->setText(kana_);
    年度->setText(QString::number(school().businessYear));
    c.workingYear = school().businessYear;
    CMB学部(c, 学部::Fill, list_option::kPlain, C学部);
    CMB学年(c, 学年::Fill, list_option::kPlain, C学年);
    registration_->refill();
}

// ------------------------------------------------------------------------------ checks

bool 教員担当::checkYear() {
    CHK年度(ctx(), 年度, "001");
    if (ctx().checkResult != 0) return false;
    ctx().workingYear = 年度->text().toInt();
    return true;
}

bool 教員担当::checkKamoku(const QString& message) {
    const bool first = ctx().errorFlag == 0;
    if (CMB科目(ctx(), 科目::ByName, list_option::kPlain, C科目) == 0) {
        setFieldColour(C科目, 0);
        return true;
    }
    // The list reports a miss in its own words; this screen names what to choose again.
    if (first) ctx().message = message;
    return false;
}

bool 教員担当::checkSubject(const QString& message) {
    if (CMB教科(ctx(), 教科::ByName, 0, C教科) == 0) return true;
    reportError(ctx(), C教科, message);
    return false;
}

bool 教員担当::shown(bool passed) {
    if (!passed) showMessage(ctx().message);
    return passed;
}

void 教員担当::checkAssignment() {
    checkDepartment(ctx(), C学部, list_option::kWithCommon);
    checkGrade(ctx(), C学年, list_option::kWithCommon);
    checkKamoku(QStringLiteral("科目を正しく選択して下さい"));
    checkSubject(QStringLiteral("教科を正しく選択して下さい"));
}

void 教員担当::checkAll() {
    checkYear();
    checkAssignment();
}

// ------------------------------------------------------------------------------ events

void 教員担当::年度_LostFocus() {
    ctx().resetReporting();
    if (checkYear()) registration_->refill();
}

void 教員担当::C学部_Click() {
    ctx().resetReporting();
    shown(checkDepartment(ctx(), C学部, list_option::kWithCommon));
}

void 教員担当::C学年_Click() {
    ctx().resetReporting();
    if (shown(checkGrade(ctx(), C学年, list_option::kWithCommon)))
        CMB科目(ctx(), 科目::Fill, list_option::kWithCommon, C科目);
}

void 教員担当::C科目_Click() {
    ctx().resetReporting();
    if (shown(checkKamoku(QStringLiteral("科目、学部、学年を正しく選択して下さい"))))
        CMB教科(ctx(), 教科::Fill, 0, C教科);
}

void 教員担当::C教科_Click() {
    ctx().resetReporting();
    shown(checkSubject(QStringLiteral("科目、学部、学年、教科を正しく選択して下さい")));
}

void 教員担当::Bクリア_Click() {
    for (QComboBox* picker : {C学部, C学年, C科目, C教科}) picker->setEditText(QString());
    // What the course subject and subject pickers offered belonged to the cleared choice.
    C科目->clear();
    C教科->clear();
    備考->clear();
}

void 教員担当::G担当_Click(int row) {
    registration_->pick(row);
}

// The picked assignment becomes the selection, course included (no picker shows it), so that
// saving and deleting work on exactly this assignment.
void 教員担当::showAssignment(const Recordset& rs) {
    WorkContext& c = ctx();
    const QString dept = rs.text("担_学部");
    const int grade = rs.integer("担_学年");
    if (CMB学部(c, 学部::ByCode, list_option::kWithCommon, dept) != 0) {
        c.departmentCode = dept;
        c.departmentName = dept;
    }
    c.grade = grade;
    c.gradeText = stored_names::grade(grade);
    c.courseCode = rs.text("担_コース");
    setFieldText(C学部, c.departmentName);
    setFieldText(C学年, c.gradeText);
    CMB科目(c, 科目::Fill, list_option::kWithCommon, C科目);
    CMB科目(c, 科目::ByNumber, list_option::kPlain, rs.text("担_科目番号"));
    c.kamokuNumber = rs.text("担_科目番号");
    setFieldText(C科目, c.kamokuName);
    CMB教科(c, 教科::Fill, 0, C教科);
    CMB教科(c, 教科::ByNumber, 0, rs.text("担_教科番号"));
    c.subjectNumber = rs.text("担_教科番号");
    setFieldText(C教科, c.subjectName);
    備考->setText(rs.text("担_備考"));
}

void 教員担当::B確定_Click() {
    registration_->save();
}

// Deletes the assignment the pickers show (the one picked from the list, unless the pickers were
// changed since): never one that only the last list fill or an earlier pick left selected.
void 教員担当::B削除_Click() {
    WorkContext& c = ctx();
    c.resetReporting();
    checkAssignment();
    const bool chosen = c.errorFlag == 0;
    c.resetReporting();
    if (!chosen) {
        showMessage(QStringLiteral("削除する担当を一覧から選択してください"));
        return;
    }
    registration_->remove();
}
