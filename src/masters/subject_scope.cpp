#include "masters/subject_scope.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

#include "common/checks.h"
#include "common/selection_lists.h"
#include "context/school_context.h"
#include "ui/fields.h"

科目教科画面::科目教科画面(const char* formName, const QString& caption, const QString& title)
    : Screen(formName, caption), title_(title) {}

QHBoxLayout* 科目教科画面::scopeRow(std::function<void()> onShow) {
    年度 = textBox("年度", 4);
    C学部 = comboBox("C学部", [this] { C学部_Click(); });
    C学年 = comboBox("C学年", [this] { C学年_Click(); });
    onLostFocus(年度, [this] { 年度_LostFocus(); });
    auto* row = new QHBoxLayout;
    row->addWidget(labelled(QStringLiteral("年度"), 年度));
    row->addWidget(labelled(QStringLiteral("学部"), C学部));
    row->addWidget(labelled(QStringLiteral("学年"), C学年));
    row->addWidget(button("B表示", QStringLiteral("表示"), std::move(onShow)));
    row->addStretch();
    return row;
}

QHBoxLayout* 科目教科画面::buttonRow() {
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(button("B確定", QStringLiteral("確定"), [this] { registration_->save(); }));
    row->addWidget(button("B削除", QStringLiteral("削除"), [this] { registration_->remove(); }));
    row->addWidget(button("終了", QStringLiteral("終了"), [this] { close(); }));
    return row;
}

EntryList::Layout 科目教科画面::listLayout(std::vector<int> widths) {
    EntryList::Layout layout;
    layout.headings = {QStringLiteral("番号"), QStringLiteral("略称"), QStringLiteral("名称"),
                       QStringLiteral("備考")};
    layout.widths = std::move(widths);
    return layout;
}

void 科目教科画面::loadScope() {
    ctx().resetReporting();
    ctx().title = title_;
    年度->setText(QString::number(school().businessYear));
    ctx().workingYear = school().businessYear;
    CMB学部(ctx(), 学部::Fill, list_option::kPlain, C学部);
    CMB学年(ctx(), 学年::Fill, list_option::kPlain, C学年);
}

void 科目教科画面::年度_LostFocus() {
    CHK年度(ctx(), 年度, "001");
    if (ctx().checkResult == 0) ctx().workingYear = 年度->text().toInt();
}

void 科目教科画面::C学部_Click() {
    if (C学部->currentText().isEmpty()) {
        ctx().departmentCode.clear();
        ctx().departmentName.clear();
        return;
    }
    CMB学部(ctx(), 学部::ByName, list_option::kPlain, C学部);
}

void 科目教科画面::C学年_Click() {
    CMB学年(ctx(), 学年::ByText, list_option::kPlain, C学年);
}

void 科目教科画面::checkScope() {
    年度_LostFocus();
    C学部_Click();
    C学年_Click();
}

void 科目教科画面::plainTexts(RegistrationPlan& plan, const QString& noun) const {
    plan.deleteQuestion = QStringLiteral("登録内容を削除します。");
    plan.notRegistered = QStringLiteral("選択した%1は登録されていません").arg(noun);
    plan.deleted = QStringLiteral("選択した%1は削除されました").arg(noun);
    plan.notFoundOnPick =
        QStringLiteral("%1を取出せません、一旦終了して再処理してください").arg(noun);
    // The list shows what is left, found or not.
    plan.refillWhenNotRegistered = true;
}

bool 科目教科画面::withinScope(const Recordset& rs, const char* prefix) {
    const WorkContext& c = ctx();
    const auto field = [prefix](const char* name) {
        return QString::fromUtf8(prefix) + QString::fromUtf8(name);
    };
    return rs.integer(field("年度")) == c.workingYear && rs.integer(field("学年")) == c.grade &&
           (C学部->currentText().isEmpty() || rs.text(field("学部")) == c.departmentCode);
}

std::vector<Value> 科目教科画面::scopeKey() {
    const WorkContext& c = ctx();
    return {c.workingYear, c.departmentCode, c.grade, c.courseCode};
}
