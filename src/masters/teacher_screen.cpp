#include "masters/teacher_screen.h"

#include <QButtonGroup>
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
#include "common/names.h"
#include "common/selection_lists.h"
#include "context/school_context.h"
#include "data/recordset.h"
#include "lists/homeroom_inquiry_screen.h"
#include "masters/assignment_screen.h"
#include "ui/fields.h"

namespace {

const QString kTitle = QStringLiteral("教員登録");
const QString kChooseTeacher = QStringLiteral("教員を正しく選択して下さい");
const QString kHomeroomIncomplete = QStringLiteral("担任情報を正しく選択してください");

}  // namespace

教員登録::教員登録() : Screen("教員登録", QStringLiteral("教員の登録")) {
    C選択教員 = comboBox("C選択教員", [this] { C選択教員_Click(); });
    C選択教員->setMinimumContentsLength(12);
    教員番号 = textBox("教員番号", 5);
    氏名 = textBox("氏名", 10);
    氏名カナ = textBox("氏名カナ", 20);
    表示名 = textBox("表示名", 4);
    男 = option("男", QStringLiteral("男"));
    女 = option("女", QStringLiteral("女"));
    生年月日 = textBox("生年月日", 10);
    郵便番号1 = textBox("郵便番号1", 3);
    郵便番号2 = textBox("郵便番号2", 4);
    住所1 = textBox("住所1", 25);
    住所2 = textBox("住所2", 25);
    電話番号 = textBox("電話番号", 20);
    携帯番号 = textBox("携帯番号", 20);
    備考 = textBox("備考", 25);
    C学部 = comboBox("C学部", [this] { C学部_Click(); });
    C学年 = comboBox("C学年");
    C組 = comboBox("C組");
    onLostFocus(教員番号, [this] { CHK必須(ctx(), 教員番号, "019"); });
    onLostFocus(氏名, [this] { CHK必須(ctx(), 氏名, "017"); });
    onLostFocus(氏名カナ, [this] { CHK必須(ctx(), 氏名カナ, "018"); });
    onLostFocus(生年月日, [this] { 生年月日_LostFocus(); });
    onLostFocus(郵便番号1, [this] { checkPostalCode(郵便番号1); });
    onLostFocus(郵便番号2, [this] { checkPostalCode(郵便番号2); });

    auto* sex = new QButtonGroup(this);
    sex->addButton(男);
    sex->addButton(女);
    auto* sexRow = new QHBoxLayout;
    sexRow->addWidget(男);
    sexRow->addWidget(女);
    sexRow->addStretch();
    auto* birthRow = new QHBoxLayout;
    birthRow->addWidget(生年月日);
    birthRow->addWidget(new QLabel(QStringLiteral("YYYY/MM/DD"), this));
    birthRow->addStretch();
    auto* postalRow = new QHBoxLayout;
    postalRow->addWidget(郵便番号1);
    postalRow->addWidget(new QLabel(QStringLiteral("－"), this));
    postalRow->addWidget(郵便番号2);
    postalRow->addStretch();
    for (QLineEdit* f : {郵便番号1, 郵便番号2}) f->setMaximumWidth(60);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("教員選択"), C選択教員);
    fields->addRow(QStringLiteral("教員番号"), 教員番号);
    fields->addRow(QStringLiteral("氏名"), 氏名);
    fields->addRow(QStringLiteral("氏名ｶﾅ"), 氏名カナ);
    fields->addRow(QStringLiteral("表示名"), 表示名);
    fields->addRow(QStringLiteral("性別"), sexRow);
    fields->addRow(QStringLiteral("生年月日"), birthRow);
    fields->addRow(QStringLiteral("〒"), postalRow);
    fields->addRow(QStringLiteral("住所1"), 住所1);
    fields->addRow(QStringLiteral("住所2"), 住所2);
    fields->addRow(QStringLiteral("電話番号"), 電話番号);
    fields->addRow(QStringLiteral("携帯番号"), 携帯番号);
    fields->addRow(QStringLiteral("備考"), 備考);

    auto* homeroom = new QGroupBox(QStringLiteral("担任情報"), this);
    auto* homeroomRow = new QHBoxLayout(homeroom);
    homeroomRow->addWidget(labelled(QStringLiteral("学部"), C学部));
    homeroomRow->addWidget(labelled(QStringLiteral("学年"), C学年));
    homeroomRow->addWidget(labelled(QStringLiteral("組"), C組));
    homeroomRow->addStretch();

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(
        button("B担任照会", QStringLiteral("担任照会"), [this] { B担任照会_Click(); }));
    buttons->addWidget(
        button("C担当登録", QStringLiteral("担当登録"), [this] { C担当登録_Click(); }));
    buttons->addStretch();
    buttons->addWidget(button("Bクリア", QStringLiteral("クリア"), [this] { Bクリア_Click(); }));
    buttons->addWidget(button("B確定", QStringLiteral("確定"), [this] { B確定_Click(); }));
    buttons->addWidget(button("B削除", QStringLiteral("削除"), [this] { B削除_Click(); }));
    buttons->addWidget(button("B終了", QStringLiteral("終了"), [this] { close(); }));
    // A new entry starts with the number; the picker above it is for finding one.
    setFirstInput(教員番号);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(homeroom);
    layout->addStretch();
    layout->addLayout(buttons);

    registration_ = std::make_unique<Registration>(*this, nullptr, EntryList::Layout{}, plan());
    run([this] { Form_Load(); });
}

RegistrationPlan 教員登録::plan() {
    RegistrationPlan s;
    s.table = QStringLiteral("教員");
    s.index = QStringLiteral("Key_教員");
    s.keyFields = {QStringLiteral("員_番号")};
    s.subject = QStringLiteral("教員");
    s.deleteQuestion = QStringLiteral("登録内容を削除します。");
    s.notRegistered = QStringLiteral("指定した教員は登録されていません");
    s.deleted = QStringLiteral("指定した教員は削除されました");
    s.checks = [this] { checkAll(); };
    s.key = [this] { return std::vector<Value>{教員番号->text()}; };
    s.write = [this](Recordset& rs, bool added) {
        const WorkContext& c = ctx();
        rs.set("員_氏名", 氏名->text());
        rs.set("員_氏名カナ", 氏名カナ->text());
        rs.set("員_表示名", 表示名->text());
        rs.set("員_担任F", homeroom_ ? 1 : 0);
        rs.set("員_学部", homeroom_ ? c.departmentCode : QString());
        rs.set("員_学年", homeroom_ ? c.grade : 0);
        rs.set("員_組", homeroom_ ? c.classCode : QString());
        rs.set("員_性別", 男->isChecked() ? 1 : 2);
        rs.set("員_生年月日", 生年月日->text());
        rs.set("員_郵便1", 郵便番号1->text());
        rs.set("員_郵便2", 郵便番号2->text());
        rs.set("員_住所1", 住所1->text());
        rs.set("員_住所2", 住所2->text());
        rs.set("員_電話1", 電話番号->text());
        rs.set("員_電話2", 携帯番号->text());
        rs.set("員_備考", 備考->text());
        // The category and the leave period come from the batch import and are not shown
        // here: saving a teacher's address must not put a teacher on leave back on duty.
        if (added) {
            rs.set("員_区分", QString());
            rs.set("員_休職FROM", QString());
            rs.set("員_休職TO", QString());
        }
    };
    return s;
}

void 教員登録::Form_Load() {
    WorkContext& c = ctx();
    c.resetReporting();
    c.title = kTitle;
    c.workingYear = school().businessYear;
    CMB教師(c, 教師::FillAll, C選択教員);
    fillHomeroomPickers();
}

// The homeroom pickers offer the departments and grades, and the classes of the department
// chosen (none until one is).
void 教員登録::fillHomeroomPickers() {
    WorkContext& c = ctx();
    CMB学部(c, 学部::Fill, list_option::kPlain, C学部);
    CMB学年(c, 学年::Fill, list_option::kPlain, C学年);
    c.departmentPosition = 0;
    CMB組(c, 組::Fill, list_option::kPlain, C組);
}

void 教員登録::C選択教員_Click() {
    WorkContext& c = ctx();
    c.resetReporting();
    if (CMB教師(c, 教師::ByName, C選択教員) != 0 || c.teacherNumber.isEmpty()) {
        showMessage(kChooseTeacher);
        return;
    }
    showTeacher(c.teacherNumber);
}

void 教員登録::showTeacher(const QString& number) {
    Recordset rs("教員");
    rs.setIndex("Key_教員");
    rs.seek(Seek::Equal, {number});
    if (rs.noMatch()) {
        showMessage(kChooseTeacher);
        return;
    }
    fillHomeroomPickers();
    教員番号->setText(rs.text("員_番号"));
    氏名->setText(rs.text("員_氏名"));
    氏名カナ->setText(rs.text("員_氏名カナ"));
    表示名->setText(rs.text("員_表示名"));
    (rs.integer("員_性別") == 1 ? 男 : 女)->setChecked(true);
    生年月日->setText(rs.text("員_生年月日"));
    郵便番号1->setText(rs.text("員_郵便1"));
    郵便番号2->setText(rs.text("員_郵便2"));
    住所1->setText(rs.text("員_住所1"));
    住所2->setText(rs.text("員_住所2"));
    電話番号->setText(rs.text("員_電話1"));
    携帯番号->setText(rs.text("員_電話2"));
    備考->setText(rs.text("員_備考"));
    if (rs.integer("員_担任F") == 0) return;
    // A homeroom class whose department, grade or class is no longer registered shows empty
    // there, so that saving the teacher again asks for it.
    WorkContext& c = ctx();
    if (CMB学部(c, 学部::ByCode, list_option::kPlain, rs.text("員_学部")) != 0) return;
    setFieldText(C学部, c.departmentName);
    CMB組(c, 組::Fill, list_option::kPlain, C組);
    if (CMB学年(c, 学年::ByNumberSilent, list_option::kPlain, rs.text("員_学年")) == 0)
        setFieldText(C学年, c.gradeText);
    if (CMB組(c, 組::ByName, list_option::kSilent, rs.text("員_組")) == 0)
        setFieldText(C組, c.classText);
}

void 教員登録::C学部_Click() {
    WorkContext& c = ctx();
    if (CMB学部(c, 学部::ByNameSilent, list_option::kPlain, C学部) != 0) c.departmentPosition = 0;
    CMB組(c, 組::Fill, list_option::kPlain, C組);
}

void 教員登録::生年月日_LostFocus() {
    if (生年月日->text().isEmpty()) return;
    CHK日付(ctx(), 生年月日, "002");
    生年月日->setText(ctx().normalizedDateText);
}

void 教員登録::checkPostalCode(QLineEdit* field) {
    // Digits, leading zeros kept: "060" is a postal code, not the number 60.
    if (!field->text().isEmpty()) CHK数字(ctx(), field, "036", Numeric::Digits);
}

void 教員登録::checkAll() {
    WorkContext& c = ctx();
    CHK必須(c, 教員番号, "019");
    CHK必須(c, 氏名, "017");
    if (表示名->text().isEmpty() && c.checkResult == 0)
        表示名->setText(displayNameOf(氏名->text()));
    CHK必須(c, 氏名カナ, "018");
    生年月日_LostFocus();
    checkPostalCode(郵便番号1);
    checkPostalCode(郵便番号2);
    checkHomeroom();
}

// A homeroom class needs all three of department, grade and class, and the class must be one of
// that department: an unknown class would otherwise be stored as whichever was decoded before.
void 教員登録::checkHomeroom() {
    WorkContext& c = ctx();
    homeroom_ = false;
    bool complete = true;
    QWidget* wrong = nullptr;
    if (!C学部->currentText().isEmpty()) {
        homeroom_ = true;
        if (CMB学部(c, 学部::ByName, list_option::kPlain, C学部) != 0) c.departmentPosition = 0;
    } else {
        complete = false;
        wrong = C学部;
    }
    if (!C学年->currentText().isEmpty()) {
        homeroom_ = true;
        CMB学年(c, 学年::ByText, list_option::kPlain, C学年);
    } else if (complete) {
        complete = false;
        wrong = C学年;
    }
    if (!C組->currentText().isEmpty()) {
        homeroom_ = true;
        if (CMB組(c, 組::ByShortName, list_option::kSilent, C組) != 0 && complete) {
            complete = false;
            wrong = C組;
        }
    } else if (complete) {
        complete = false;
        wrong = C組;
    }
    if (homeroom_ && !complete && c.errorFlag == 0) reportError(c, wrong, kHomeroomIncomplete);
}

void 教員登録::B確定_Click() {
    const auto outcome = registration_->save();
    if (outcome == Registration::Outcome::Added || outcome == Registration::Outcome::Updated)
        CMB教師(ctx(), 教師::FillAll, C選択教員);
}

void 教員登録::Bクリア_Click() {
    for (QLineEdit* f : {教員番号, 氏名, 氏名カナ, 表示名, 生年月日, 郵便番号1, 郵便番号2, 住所1,
                         住所2, 電話番号, 携帯番号, 備考})
        f->clear();
    fillHomeroomPickers();
}

void 教員登録::B削除_Click() {
    if (registration_->remove() != Registration::Outcome::Declined)
        CMB教師(ctx(), 教師::FillAll, C選択教員);
}

void 教員登録::B担任照会_Click() {
    auto* inquiry = new 担任照会;
    inquiry->show();
}

// The assignments belong to a registered teacher: a number typed but not saved yet would leave
// assignments of nobody.
void 教員登録::C担当登録_Click() {
    WorkContext& c = ctx();
    Recordset rs("教員");
    rs.setIndex("Key_教員");
    rs.seek(Seek::Equal, {教員番号->text()});
    if (教員番号->text().isEmpty() || rs.noMatch()) {
        showMessage(QStringLiteral("担当登録の前に教員を登録してください"));
        return;
    }
    c.teacherNumber = 教員番号->text();
    c.teacherName = 氏名->text();
    showModal(new 教員担当(this, 氏名カナ->text()));
    // The assignment screen shared these values; messages are this screen's again.
    c.title = kTitle;
    c.resetReporting();
}
