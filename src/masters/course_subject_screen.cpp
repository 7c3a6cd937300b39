#include "masters/course_subject_screen.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "common/checks.h"
#include "ui/grid.h"

科目登録::科目登録()
    : 科目教科画面("科目登録", QStringLiteral("科目の登録"), QStringLiteral("科目登録")) {
    QHBoxLayout* scope = scopeRow([this] { B表示_Click(); });
    科目番号 = textBox("科目番号", 3);
    科目名 = textBox("科目名", 20);
    科目略称 = textBox("科目略称", 10);
    選択F = checkBox("選択F", QStringLiteral("選択教科"));
    備考 = textBox("備考", 25);
    onLostFocus(科目番号, [this] { CHK必須(ctx(), 科目番号, "010"); });
    onLostFocus(科目名, [this] { CHK必須(ctx(), 科目名, "011"); });
    onLostFocus(科目略称, [this] { CHK必須(ctx(), 科目略称, "012"); });

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("科目番号"), 科目番号);
    fields->addRow(QStringLiteral("科目名"), 科目名);
    fields->addRow(QStringLiteral("科目略称"), 科目略称);
    fields->addRow(QString(), 選択F);
    fields->addRow(QStringLiteral("備考"), 備考);

    Grid* list = grid("科目", [this](int row, int) { 科目_Click(row); });
    list->setMinimumSize(500, 300);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(scope);
    layout->addLayout(fields);
    layout->addWidget(list, 1);
    layout->addLayout(buttonRow());

    registration_ =
        std::make_unique<Registration>(*this, list, listLayout({800, 1000, 2500, 3000}), plan());
    run([this] { Form_Load(); });
}

RegistrationPlan 科目登録::plan() {
    RegistrationPlan s;
    s.table = QStringLiteral("科目");
    s.index = QStringLiteral("Key_科目");
    s.keyFields = {QStringLiteral("科_年度"), QStringLiteral("科_学部"), QStringLiteral("科_学年"),
                   QStringLiteral("科_コース"), QStringLiteral("科_番号")};
    s.subject = QStringLiteral("科目");
    plainTexts(s, QStringLiteral("科目"));
    s.checks = [this] { checkAll(); };
    s.key = [this] {
        auto key = scopeKey();
        key.push_back(科目番号->text());
        return key;
    };
    // A pick reads the number under the selection as it is now, the one 確定 writes to: after
    // the department or grade has changed without 表示, the listed row is not that selection's
    // and is refused, instead of being shown and then saved as a new row of the new selection.
    s.keyOfRow = [this](int row) {
        auto key = scopeKey();
        key.push_back(registration_->list().cell(row, 0));
        return key;
    };
    // Saving sets display order, main mark and hours back to 0: this screen does not keep them.
    s.write = [this](Recordset& rs, bool) {
        rs.set("科_表示順", 0);
        rs.set("科_名称", 科目名->text());
        rs.set("科_略称", 科目略称->text());
        rs.set("科_主要F", 0);
        rs.set("科_選択F", 選択F->isChecked() ? 1 : 0);
        rs.set("科_時間数", 0);
        rs.set("科_備考", 備考->text());
    };
    s.show = [this](const Recordset& rs) {
        科目番号->setText(rs.text("科_番号"));
        科目名->setText(rs.text("科_名称"));
        科目略称->setText(rs.text("科_略称"));
        選択F->setChecked(rs.integer("科_選択F") == 1);
        備考->setText(rs.text("科_備考"));
    };
    s.listFrom = [this] {
        auto key = scopeKey();
        key.push_back(QString());
        return key;
    };
    s.within = [this](const Recordset& rs) { return withinScope(rs, "科_"); };
    s.cells = [](const Recordset& rs) {
        return QStringList{rs.text("科_番号"), rs.text("科_略称"), rs.text("科_名称"),
                           rs.text("科_備考")};
    };
    s.filled = [this](int listed) {
        if (listed == 0) showMessage(QStringLiteral("科目が登録されていません"));
    };
    return s;
}

void 科目登録::Form_Load() {
    loadScope();
    registration_->list().reset();
}

void 科目登録::checkAll() {
    checkScope();
    CHK必須(ctx(), 科目番号, "010");
    CHK必須(ctx(), 科目名, "011");
    CHK必須(ctx(), 科目略称, "012");
}

void 科目登録::B表示_Click() {
    ctx().resetReporting();
    checkScope();
    if (ctx().errorFlag == 1) {
        showMessage(ctx().message);
        return;
    }
    // With nothing registered yet, what the clerk typed stays for the first entry.
    if (registration_->refill() > 0) clearInputs();
}

void 科目登録::clearInputs() {
    for (QLineEdit* f : {科目番号, 科目名, 科目略称, 備考}) f->clear();
}

void 科目登録::科目_Click(int row) {
    registration_->pick(row);
}
