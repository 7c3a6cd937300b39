#include "masters/subject_screen.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "common/checks.h"
#include "common/selection_lists.h"
#include "ui/grid.h"

教科登録::教科登録()
    : 科目教科画面("教科登録", QStringLiteral("教科の登録"), QStringLiteral("教科登録")) {
    QHBoxLayout* scope = scopeRow([this] { B表示_Click(); });
    C科目 = comboBox("C科目", [this] { C科目_Click(); });
    教科番号 = textBox("教科番号", 3);
    教科名 = textBox("教科名", 20);
    教科略称 = textBox("教科略称", 5);
    選択F = checkBox("選択F", QStringLiteral("選択教科"));
    展開F = checkBox("展開F", QStringLiteral("αβ展開"));
    備考 = textBox("備考", 25);
    onLostFocus(教科番号, [this] { CHK必須(ctx(), 教科番号, "010"); });
    onLostFocus(教科名, [this] { CHK必須(ctx(), 教科名, "011"); });
    onLostFocus(教科略称, [this] { CHK必須(ctx(), 教科略称, "012"); });

    auto* marks = new QHBoxLayout;
    marks->addWidget(選択F);
    marks->addWidget(展開F);
    marks->addStretch();
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("科目"), C科目);
    fields->addRow(QStringLiteral("教科番号"), 教科番号);
    fields->addRow(QStringLiteral("教科名"), 教科名);
    fields->addRow(QStringLiteral("教科略称"), 教科略称);
    fields->addRow(QString(), marks);
    fields->addRow(QStringLiteral("備考"), 備考);

    Grid* list = grid("教科", [this](int row, int) { 教科_Click(row); });
    list->setMinimumSize(460, 300);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(scope);
    layout->addLayout(fields);
    layout->addWidget(list, 1);
    layout->addLayout(buttonRow());

    registration_ =
        std::make_unique<Registration>(*this, list, listLayout({500, 1000, 2000, 3000}), plan());
    run([this] { Form_Load(); });
}

RegistrationPlan 教科登録::plan() {
    RegistrationPlan s;
    s.table = QStringLiteral("教科");
    s.index = QStringLiteral("Key_教科");
    s.keyFields = {QStringLiteral("教_年度"),     QStringLiteral("教_学部"),
                   QStringLiteral("教_学年"),     QStringLiteral("教_コース"),
                   QStringLiteral("教_科目番号"), QStringLiteral("教_教科番号")};
    s.subject = QStringLiteral("教科");
    plainTexts(s, QStringLiteral("教科"));
    s.checks = [this] { checkAll(); };
    s.key = [this] {
        auto key = scopeKey();
        key.push_back(ctx().kamokuNumber);
        key.push_back(教科番号->text());
        return key;
    };
    // As on 科目登録: a pick reads the number under the selection 確定 writes to.
    s.keyOfRow = [this](int row) {
        auto key = scopeKey();
        key.push_back(ctx().kamokuNumber);
        key.push_back(registration_->list().cell(row, 0));
        return key;
    };
    // Display order, room and hours are not kept on this screen: saving sets them back.
    s.write = [this](Recordset& rs, bool) {
        rs.set("教_表示順", 0);
        rs.set("教_名称", 教科名->text());
        rs.set("教_略称", 教科略称->text());
        rs.set("教_選択F", 選択F->isChecked() ? 1 : 0);
        rs.set("教_展開F", 展開F->isChecked() ? 1 : 0);
        rs.set("教_教室番号", QString());
        rs.set("教_教室名", QString());
        rs.set("教_時間数", 0);
        rs.set("教_備考", 備考->text());
    };
    s.show = [this](const Recordset& rs) {
        教科番号->setText(rs.text("教_教科番号"));
        教科名->setText(rs.text("教_名称"));
        教科略称->setText(rs.text("教_略称"));
        選択F->setChecked(rs.integer("教_選択F") == 1);
        展開F->setChecked(rs.integer("教_展開F") == 1);
        備考->setText(rs.text("教_備考"));
    };
    s.listFrom = [this] {
        auto key = scopeKey();
        key.push_back(ctx().kamokuNumber);
        key.push_back(QString());
        return key;
    };
    s.within = [this](const Recordset& rs) {
        return withinScope(rs, "教_") && rs.text("教_科目番号") == ctx().kamokuNumber;
    };
    s.cells = [](const Recordset& rs) {
        return QStringList{rs.text("教_教科番号"), rs.text("教_略称"), rs.text("教_名称"),
                           rs.text("教_備考")};
    };
    // A course subject without subjects is said so, and what was typed stays for the first one.
    s.filled = [this](int listed) {
        if (listed == 0)
            showMessage(QStringLiteral("教科登録がされていません"));
        else
            clearInputs();
    };
    return s;
}

void 教科登録::Form_Load() {
    loadScope();
    registration_->list().reset();
}

void 教科登録::B表示_Click() {
    ctx().resetReporting();
    checkScope();
    if (ctx().errorFlag == 1) {
        showMessage(ctx().message);
        return;
    }
    // The subjects listed belong to a course subject: none is listed until one is chosen.
    registration_->list().reset();
    CMB科目(ctx(), 科目::Fill, list_option::kWithCommon, C科目);
}

void 教科登録::checkKamoku() {
    CMB科目(ctx(), 科目::ByName, list_option::kPlain, C科目);
}

void 教科登録::C科目_Click() {
    ctx().resetReporting();
    checkKamoku();
    if (ctx().errorFlag == 1) {
        showMessage(ctx().message);
        return;
    }
    registration_->refill();
}

void 教科登録::checkAll() {
    checkScope();
    checkKamoku();
    CHK必須(ctx(), 教科番号, "010");
    CHK必須(ctx(), 教科名, "011");
    CHK必須(ctx(), 教科略称, "012");
}

void 教科登録::clearInputs() {
    for (QLineEdit* f : {教科番号, 教科名, 教科略称, 備考}) f->clear();
    選択F->setChecked(false);
    展開F->setChecked(false);
}

void 教科登録::教科_Click(int row) {
    registration_->pick(row);
}
