#include "masters/term_screen.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/checks.h"
#include "common/selection_lists.h"
#include "context/school_context.h"
#include "ui/grid.h"

namespace {
const QString kTitle = QStringLiteral("期間登録");
constexpr int kListedPeriods = 100;
}  // namespace

期間登録::期間登録() : Screen("期間登録", kTitle) {
    年度 = textBox("年度", 4);
    C学部 = comboBox("C学部", [this] { C学部_Click(); });
    C学年 = comboBox("C学年", [this] { C学年_Click(); });
    auto* top = new QHBoxLayout;
    top->addWidget(labelled(QStringLiteral("年度"), 年度));
    top->addWidget(labelled(QStringLiteral("学部"), C学部));
    top->addWidget(labelled(QStringLiteral("学年"), C学年));
    top->addWidget(button("B表示", QStringLiteral("表示"), [this] { B表示_Click(); }));
    top->addStretch();

    開始日 = textBox("開始日", 10);
    終了日 = textBox("終了日", 10);
    for (QLineEdit* date : {開始日, 終了日}) date->setPlaceholderText(QStringLiteral("YYYY/MM/DD"));
    授業有 = checkBox("授業有", QStringLiteral("授業有り"));
    学期名 = checkBox("学期名", QStringLiteral("学期名"));
    学期 = textBox("学期", 1);
    登録名称 = textBox("登録名称", 15);
    登録略称 = textBox("登録略称", 10);
    備考 = textBox("備考", 25);
    onLostFocus(開始日, [this] { 開始日_LostFocus(); });
    onLostFocus(終了日, [this] { 終了日_LostFocus(); });
    onLostFocus(登録名称, [this] { 登録名称_LostFocus(); });
    onLostFocus(学期, [this] { 学期_LostFocus(); });

    auto* dates = new QHBoxLayout;
    dates->addWidget(開始日);
    dates->addWidget(labelled(QStringLiteral("終了日"), 終了日));
    dates->addWidget(授業有);
    dates->addStretch();
    auto* term = new QHBoxLayout;
    term->addWidget(学期名);
    term->addWidget(labelled(QStringLiteral("学期"), 学期));
    term->addStretch();
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("開始日"), dates);
    fields->addRow(QString(), term);
    fields->addRow(QStringLiteral("登録名称"), 登録名称);
    fields->addRow(QStringLiteral("登録略称"), 登録略称);
    fields->addRow(QStringLiteral("備考"), 備考);

    Grid* list = grid("期間", [this](int row, int) { 期間_Click(row); });
    list->setMinimumSize(560, 320);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(button("B確定", QStringLiteral("確定"), [this] { B確定_Click(); }));
    buttons->addWidget(button("削除", QStringLiteral("削除"), [this] { 削除_Click(); }));
    buttons->addWidget(button("終了", QStringLiteral("終了"), [this] { close(); }));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(fields);
    layout->addWidget(list, 1);
    layout->addLayout(buttons);

    EntryList::Layout listLayout;
    listLayout.headings = {QStringLiteral("学部"),   QStringLiteral("学年"),
                           QStringLiteral("開始日"), QStringLiteral("終了日"),
                           QStringLiteral("授業F"),  QStringLiteral("登録名称"),
                           QStringLiteral("備考")};
    listLayout.widths = {800, 500, 1000, 1000, 800, 2000, 2000};
    listLayout.entryRows = kListedPeriods;
    listLayout.fixedRows = 1;
    listLayout.grows = false;
    registration_ = std::make_unique<Registration>(*this, list, listLayout, plan());
    run([this] { Form_Load(); });
}

int 期間登録::lessonsMark() const {
    return 授業有->isChecked() ? 1 : 0;
}

RegistrationPlan 期間登録::plan() {
    RegistrationPlan s;
    s.table = QStringLiteral("期間");
    s.index = QStringLiteral("Key_期間");
    s.keyFields = {QStringLiteral("期_年度"),   QStringLiteral("期_学部"),
                   QStringLiteral("期_学年"),   QStringLiteral("期_開始日"),
                   QStringLiteral("期_終了日"), QStringLiteral("期_授業F")};
    s.subject = QStringLiteral("期間");
    // This screen asks its update question before deleting too.
    s.deleteQuestion = QStringLiteral("入力内容で更新します。");
    s.notRegistered = QStringLiteral("選択した期間は登録されていません");
    s.deleted = QStringLiteral("選択した期間は削除されました");
    s.notFoundOnPick = QStringLiteral("指定された期間は登録されていません。");
    s.refillWhenNotRegistered = true;
    s.listIndex = QStringLiteral("Idx_一覧");
    s.checks = [this] { checkAll(); };
    s.key = [this] {
        return std::vector<Value>{ctx().workingYear, shownDepartment_, shownGrade_,
                                  開始日->text(),    終了日->text(),   lessonsMark()};
    };
    s.listedKey = [](const Recordset& rs) {
        return std::vector<Value>{rs.value("期_年度"),   rs.value("期_学部"),
                                  rs.value("期_学年"),   rs.value("期_開始日"),
                                  rs.value("期_終了日"), rs.value("期_授業F")};
    };
    // The key identifies the period; an edit changes only what describes it.
    s.write = [this](Recordset& rs, bool) {
        rs.set("期_学期", 学期->text());
        rs.set("期_学期F", 学期名->isChecked() ? 1 : 0);
        rs.set("期_名称", 登録名称->text());
        rs.set("期_略称", 登録略称->text());
        rs.set("期_備考", 備考->text());
    };
    s.show = [this](const Recordset& rs) {
        開始日->setText(rs.text("期_開始日"));
        終了日->setText(rs.text("期_終了日"));
        授業有->setChecked(rs.integer("期_授業F") == 1);
        学期名->setChecked(rs.integer("期_学期F") == 1);
        学期->setText(rs.text("期_学期"));
        登録名称->setText(rs.text("期_名称"));
        登録略称->setText(rs.text("期_略称"));
        備考->setText(rs.text("期_備考"));
    };
    s.listFrom = [this] { return std::vector<Value>{ctx().workingYear, QString(), QString()}; };
    s.within = [this](const Recordset& rs) { return rs.integer("期_年度") == ctx().workingYear; };
    // A department's list shows its own periods and the common ones; the common list only those.
    s.shown = [this](const Recordset& rs) {
        const QString dept = rs.text("期_学部");
        const int grade = rs.integer("期_学年");
        const bool deptShown = dept == kCommonCode || dept == shownDepartment_;
        const bool gradeShown = grade == 0 || grade == shownGrade_;
        return deptShown && gradeShown;
    };
    s.cells = [](const Recordset& rs) {
        return QStringList{stored_names::department(rs.text("期_学部")),
                           stored_names::grade(rs.integer("期_学年")),
                           rs.text("期_開始日"),
                           rs.text("期_終了日"),
                           rs.integer("期_授業F") == 0 ? QStringLiteral("無") : QString(),
                           rs.text("期_名称"),
                           rs.text("期_備考")};
    };
    return s;
}

void 期間登録::Form_Load() {
    ctx().resetReporting();
    ctx().title = kTitle;
    年度->setText(QString::number(school().businessYear));
    ctx().workingYear = school().businessYear;
    CMB学部(ctx(), 学部::Fill, list_option::kWithCommon, C学部);
    CMB学年(ctx(), 学年::Fill, list_option::kWithCommon, C学年);
    授業有->setChecked(false);
    registration_->list().reset();
}

void 期間登録::B表示_Click() {
    ctx().resetReporting();
    CHK年度(ctx(), 年度, "001");
    if (ctx().errorFlag == 1) {
        showMessage(ctx().message);
        return;
    }
    ctx().workingYear = 年度->text().toInt();
    checkDepartment(ctx(), C学部, list_option::kWithCommon);
    checkGrade(ctx(), C学年, list_option::kWithCommon);
    if (ctx().errorFlag == 1) {
        showMessage(ctx().message);
        return;
    }
    shown_ = true;
    shownDepartment_ = ctx().departmentCode;
    shownGrade_ = ctx().grade;
    registration_->refill();
}

void 期間登録::C学部_Click() {
    CMB学部(ctx(), 学部::ByNameSilent, list_option::kWithCommon, C学部);
}

void 期間登録::C学年_Click() {
    CMB学年(ctx(), 学年::ByTextSilent, list_option::kWithCommon, C学年);
}

void 期間登録::開始日_LostFocus() {
    CHK日付(ctx(), 開始日, "015");
    開始日->setText(ctx().normalizedDateText);
}

void 期間登録::終了日_LostFocus() {
    CHK日付(ctx(), 終了日, "016");
    終了日->setText(ctx().normalizedDateText);
    CHK大小(ctx(), 開始日, 終了日, "002", 1);
}

void 期間登録::登録名称_LostFocus() {
    CHK必須(ctx(), 登録名称, "005");
}

void 期間登録::学期_LostFocus() {
    if (学期名->isChecked()) CHK必須(ctx(), 学期, "020");
}

// Writes go to the department and grade the list shows, and only when the pickers still name
// them: a period saved before anything was shown would carry no department at all.
bool 期間登録::checkSelection() {
    if (!checkDepartment(ctx(), C学部, list_option::kWithCommon) ||
        !checkGrade(ctx(), C学年, list_option::kWithCommon))
        return false;
    if (shown_ && ctx().departmentCode == shownDepartment_ && ctx().grade == shownGrade_)
        return true;
    ctx().errorFlag = 1;
    ctx().firstErrorFlag = 1;
    ctx().message = QStringLiteral("更新の学部･学科と指定の学部･学科が違います");
    return false;
}

void 期間登録::checkAll() {
    if (!checkSelection()) return;
    開始日_LostFocus();
    終了日_LostFocus();
    登録名称_LostFocus();
    学期_LostFocus();
}

void 期間登録::B確定_Click() {
    registration_->save();
}

void 期間登録::削除_Click() {
    ctx().resetReporting();
    if (!checkSelection()) {
        showMessage(ctx().message);
        return;
    }
    registration_->remove();
}

void 期間登録::期間_Click(int row) {
    registration_->pick(row);
}
