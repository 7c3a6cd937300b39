#include "masters/item_name_screen.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/checks.h"
#include "ui/grid.h"

項目名登::項目名登() : Screen("項目名登", QStringLiteral("項目名登録")) {
    項目NO = textBox("項目NO", 3);
    項目名 = textBox("項目名", 20);
    メッセージ = textBox("メッセージ", 30);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("項目NO"), 項目NO);
    fields->addRow(QStringLiteral("項目名"), 項目名);
    fields->addRow(QStringLiteral("ｴﾗｰﾒｯｾｰｼﾞ"), メッセージ);

    Grid* list = grid("項目", [this](int row, int) { 項目_Click(row); });
    list->setMinimumSize(420, 360);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(button("B確定", QStringLiteral("確定"), [this] { B確定_Click(); }));
    buttons->addWidget(button("削除", QStringLiteral("削除"), [this] { 削除_Click(); }));
    buttons->addWidget(button("終了", QStringLiteral("終了"), [this] { 終了_Click(); }));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(list, 1);
    layout->addLayout(buttons);

    EntryList::Layout listLayout;
    listLayout.headings = {QStringLiteral("NO"), QStringLiteral("項目名"),
                           QStringLiteral("ﾒｯｾｰｼﾞ")};
    listLayout.widths = {800, 1500, 3500};
    registration_ = std::make_unique<Registration>(*this, list, listLayout, plan());

    run([this] { Form_Load(); });
}

RegistrationPlan 項目名登::plan() {
    RegistrationPlan s;
    s.table = QStringLiteral("項目名");
    s.index = QStringLiteral("Key_メッセジ");
    s.keyFields = {QStringLiteral("MSG_番号")};
    s.subject = QStringLiteral("メッセージ");
    s.checks = [this] { checkAll(); };
    s.key = [this] { return std::vector<Value>{項目NO->text()}; };
    s.keyOfRow = [this](int row) { return std::vector<Value>{registration_->list().cell(row, 0)}; };
    s.write = [this](Recordset& rs, bool) {
        rs.set("MSG_項目", 項目名->text());
        rs.set("MSG_メッセージ", メッセージ->text());
    };
    s.show = [this](const Recordset& rs) {
        項目NO->setText(rs.text("MSG_番号"));
        項目名->setText(rs.text("MSG_項目"));
        メッセージ->setText(rs.text("MSG_メッセージ"));
    };
    s.listFrom = [] { return std::vector<Value>{QString()}; };
    s.within = [](const Recordset&) { return true; };
    s.cells = [](const Recordset& rs) {
        return QStringList{rs.text("MSG_番号"), rs.text("MSG_項目"), rs.text("MSG_メッセージ")};
    };
    return s;
}

void 項目名登::Form_Load() {
    ctx().resetReporting();
    ctx().title = QStringLiteral("項目名登録");
    registration_->refill();
}

void 項目名登::checkAll() {
    // As on the basic master screen: an empty number stays empty instead of becoming "0".
    CHK必須(ctx(), 項目NO, "007");
    if (!項目NO->text().isEmpty()) CHK数字(ctx(), 項目NO, "007", Numeric::Digits);
    CHK必須(ctx(), 項目名, "008");
    CHK必須(ctx(), メッセージ, "009");
}

void 項目名登::B確定_Click() {
    registration_->save();
}

void 項目名登::削除_Click() {
    registration_->remove();
}

void 項目名登::項目_Click(int row) {
    registration_->pick(row);
}

void 項目名登::終了_Click() {
    close();
}
