#include "masters/basic_master_screen.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "common/checks.h"
#include "common/school_masters.h"
#include "common/selection_lists.h"
#include "ui/fields.h"
#include "ui/grid.h"

namespace {

const QString k学校名 = QStringLiteral("001");
const QString k学部 = QStringLiteral("002");
const QString k学年 = QStringLiteral("003");
const QString k組 = QStringLiteral("006");
const QString k保存期間 = QStringLiteral("010");

// Start-up loads these kinds into memory for the pickers of every screen; a change to them is
// loaded again once it is stored, so that a class entered a minute ago can be used at once.
bool loadedAtStart(const QString& kind) {
    return kind == k学部 || kind == k学年 || kind == k組;
}

}  // namespace

基本登録::基本登録() : Screen("基本登録", QStringLiteral("基本情報登録")) {
    auto* kinds = new QGroupBox(QStringLiteral("登録種類"), this);
    auto* kindColumn = new QVBoxLayout(kinds);
    kindColumn->addWidget(option("学校名", QStringLiteral("学校名"), [this] { 学校名_Click(); }));
    kindColumn->addWidget(option("学部", QStringLiteral("学部"), [this] { 学部_Click(); }));
    kindColumn->addWidget(option("学年", QStringLiteral("学年"), [this] { 学年_Click(); }));
    kindColumn->addWidget(option("組", QStringLiteral("組"), [this] { 組_Click(); }));
    kindColumn->addWidget(
        option("保存期間", QStringLiteral("保存期間"), [this] { 保存期間_Click(); }));

    マスターNO = textBox("マスターNO", 3);
    // The kind is chosen with the option buttons; a code typed here would be ignored by saving.
    マスターNO->setReadOnly(true);
    登録NO = textBox("登録NO", 3);
    登録名称 = textBox("登録名称", 20);
    登録略称 = textBox("登録略称", 10);
    備考 = textBox("備考", 20);
    L学部 = label("L学部", QStringLiteral("学部"));
    C学部 = comboBox("C学部", [this] { C学部_Click(); });
    L反映 = label("L反映");
    L反映->setWordWrap(true);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("マスターNO"), マスターNO);
    fields->addRow(QStringLiteral("登録NO"), 登録NO);
    fields->addRow(QStringLiteral("登録名称"), 登録名称);
    fields->addRow(QStringLiteral("登録略称"), 登録略称);
    fields->addRow(QStringLiteral("備考"), 備考);
    fields->addRow(L学部, C学部);

    auto* left = new QVBoxLayout;
    left->addWidget(kinds);
    left->addLayout(fields);
    left->addWidget(L反映);
    left->addStretch();

    Grid* list = grid("マスタ", [this](int row, int) { マスタ_Click(row); });
    list->setMinimumSize(380, 360);
    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("マスター一覧"), this));
    right->addWidget(list, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(button("B確定", QStringLiteral("確定"), [this] { B確定_Click(); }));
    buttons->addWidget(button("削除", QStringLiteral("削除"), [this] { 削除_Click(); }));
    buttons->addWidget(button("終了", QStringLiteral("終了"), [this] { 終了_Click(); }));

    auto* body = new QHBoxLayout;
    body->addLayout(left);
    body->addLayout(right, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addLayout(buttons);

    EntryList::Layout listLayout;
    listLayout.headings = {QStringLiteral("区分"), QStringLiteral("NO"), QStringLiteral("略称"),
                           QStringLiteral("名称")};
    listLayout.widths = {500, 500, 1000, 3000};
    registration_ = std::make_unique<Registration>(*this, list, listLayout, plan());

    run([this] { Form_Load(); });
}

RegistrationPlan 基本登録::plan() {
    RegistrationPlan s;
    s.table = QStringLiteral("マスタ");
    s.index = QStringLiteral("Key_マスタ");
    s.keyFields = {QStringLiteral("マ_番号"), QStringLiteral("マ_連番")};
    s.subject = QStringLiteral("マスタ");
    s.checks = [this] { checkAll(); };
    s.key = [this] { return std::vector<Value>{kind_, masterEntryCode(登録NO->text())}; };
    s.keyOfRow = [this](int row) {
        return std::vector<Value>{registration_->list().cell(row, 0),
                                  registration_->list().cell(row, 1)};
    };
    s.write = [this](Recordset& rs, bool) {
        rs.set("マ_名称", 登録名称->text());
        rs.set("マ_略称", 登録略称->text());
        rs.set("マ_教科", QString());
        rs.set("マ_学部", kind_ == k組 ? ctx().departmentCode : QString());
        rs.set("マ_備考", 備考->text());
    };
    s.show = [this](const Recordset& rs) {
        マスターNO->setText(rs.text("マ_番号"));
        登録NO->setText(rs.text("マ_連番"));
        登録名称->setText(rs.text("マ_名称"));
        登録略称->setText(rs.text("マ_略称"));
        備考->setText(rs.text("マ_備考"));
        if (rs.text("マ_番号") != k組) return;
        // A class whose department is no longer loaded shows none rather than whichever one was
        // decoded last, so that saving it again asks for its department.
        const QString code = rs.text("マ_学部");
        QString name;
        if (CMB学部(ctx(), 学部::ByCode, list_option::kPlain, code) == 0)
            name = ctx().departmentName;
        else if (code == kCommonCode)
            name = kCommonName;
        setFieldText(C学部, name);
    };
    s.listFrom = [this] { return std::vector<Value>{kind_, QString()}; };
    s.within = [this](const Recordset& rs) { return rs.text("マ_番号") == kind_; };
    s.cells = [](const Recordset& rs) {
        return QStringList{rs.text("マ_番号"), rs.text("マ_連番"), rs.text("マ_略称"),
                           rs.text("マ_名称")};
    };
    return s;
}

void 基本登録::Form_Load() {
    ctx().resetReporting();
    ctx().title = QStringLiteral("基本情報登録");
    control<QRadioButton>("学校名")->setChecked(true);
    学校名_Click();
    L学部->setVisible(false);
    C学部->setVisible(false);
}

void 基本登録::chooseKind(const QString& kind) {
    登録NO->clear();
    登録名称->clear();
    登録略称->clear();
    備考->clear();
    L学部->setVisible(false);
    C学部->setVisible(false);
    マスターNO->setText(kind);
    kind_ = kind;
    registration_->refill();
}

void 基本登録::学校名_Click() {
    chooseKind(k学校名);
}
void 基本登録::学部_Click() {
    chooseKind(k学部);
}
void 基本登録::学年_Click() {
    chooseKind(k学年);
}
void 基本登録::保存期間_Click() {
    chooseKind(k保存期間);
}

void 基本登録::組_Click() {
    chooseKind(k組);
    L学部->setVisible(true);
    C学部->setVisible(true);
    // A class belongs to one department: "共通" is not offered (see C学部_Click).
    CMB学部(ctx(), 学部::Fill, list_option::kPlain, C学部);
    // Nothing chosen yet: a class is not filed under the first department by default.
    C学部->setCurrentIndex(-1);
}

void 基本登録::C学部_Click() {
    // Without the common entry: a class filed under "000" would be counted under the first
    // department at the next start, not under every department.
    if (CMB学部(ctx(), 学部::ByNameSilent, list_option::kPlain, C学部) == 0) return;
    // This message wins over any other of the same confirmation.
    ctx().errorFlag = 1;
    ctx().firstErrorFlag = 1;
    ctx().message = QStringLiteral("学部を正しく選択して下さい");
    setTabFirst(C学部);
}

void 基本登録::checkAll() {
    // An empty entry number is reported as missing and left empty: the numeric check would turn
    // it into "0", which the next confirmation would then save as an entry.
    CHK必須(ctx(), 登録NO, "004");
    if (!登録NO->text().isEmpty()) CHK数字(ctx(), 登録NO, "004", Numeric::Digits);
    CHK必須(ctx(), 登録名称, "005");
    CHK必須(ctx(), 登録略称, "006");
    if (kind_ == k組) C学部_Click();
    if (kind_ == k学年 && !登録名称->text().trimmed().isEmpty() &&
        gradeNumberOf(登録名称->text()) < 1)
        reportFieldError(ctx(), 登録名称,
                         QStringLiteral("学年の名称には学年の数字（1～10、例「1」「1年」）を"
                                        "入力してください。画面に表示されるのは略称です。"));
    if (ctx().errorFlag == 0 && kind_ == k保存期間) {
        checkRetention(登録名称);
        checkRetention(登録略称);
    }
}

// The term-end processing keeps this many business years and deletes the older ones; below 1
// it would delete the year that has just been carried over.
void 基本登録::checkRetention(QLineEdit* field) {
    CHK数字(ctx(), field, QString(), Numeric::Integer, 1);
}

void 基本登録::B確定_Click() {
    const auto outcome = registration_->save();
    if (outcome == Registration::Outcome::Added || outcome == Registration::Outcome::Updated)
        reloadMasters();
}

void 基本登録::削除_Click() {
    if (registration_->remove() == Registration::Outcome::Deleted) reloadMasters();
}

void 基本登録::reloadMasters() {
    if (!loadedAtStart(kind_)) return;
    afterCommit([this] {
        loadMasters();
        // This screen's own department picker offers a department entered a moment ago.
        if (kind_ == k組) {
            const QString shown = C学部->currentText();
            CMB学部(ctx(), 学部::Fill, list_option::kPlain, C学部);
            setFieldText(C学部, shown);
        }
        L反映->setText(
            QStringLiteral("学部・学年・組の変更を反映しました。開いている画面には、"
                           "開き直すと反映されます。"));
    });
}

void 基本登録::マスタ_Click(int row) {
    registration_->pick(row);
}

void 基本登録::終了_Click() {
    close();
}
