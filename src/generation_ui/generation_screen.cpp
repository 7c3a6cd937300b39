#include "generation_ui/generation_screen.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "common/checks.h"
#include "common/selection_lists.h"
#include "context/school_context.h"
#include "ui/grid.h"

namespace {
const QString kTitle = QStringLiteral("時間割自動作成");
const QString kWholeSchool = QStringLiteral("全学部");
}  // namespace

時間割自動作成::時間割自動作成() : Screen("時間割自動作成", kTitle) {
    年度 = textBox("年度", 4);
    年度->setMaximumWidth(70);
    C学部 = comboBox("C学部");
    L対象 = label("L対象");
    onLostFocusReported(年度, [this] { 年度_LostFocus(); });

    auto* top = new QHBoxLayout;
    QWidget* year = labelled(QStringLiteral("年度"), 年度);
    year->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
    top->addWidget(year);
    top->addWidget(labelled(QStringLiteral("学部"), C学部));
    top->addWidget(button("B表示", QStringLiteral("表示"), [this] { B表示_Click(); }));
    top->addWidget(L対象, 1);

    T作成 = new QTabWidget(this);
    T作成->setObjectName("T作成");
    T作成->addTab(buildDemandTab(), QStringLiteral("時数"));
    T作成->addTab(buildAvailabilityTab(), QStringLiteral("作成不可"));
    T作成->addTab(buildKeptTab(), QStringLiteral("固定"));
    T作成->addTab(buildSettingsTab(), QStringLiteral("設定"));
    T作成->addTab(buildProposalTab(), QStringLiteral("作成結果"));

    auto* middle = new QHBoxLayout;
    middle->addWidget(buildClassList());
    middle->addWidget(T作成, 1);

    // 作成 runs on its own, outside the screen's operation: the search must not hold the
    // database while it works.
    QPushButton* make = button("B作成", QStringLiteral("作成"), nullptr);
    connect(make, &QPushButton::clicked, this, [this] { B作成_Click(); });
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(make);
    bottom->addWidget(label("L作成説明", QStringLiteral("表示中の学部のすべての組を作成します。")));
    bottom->addStretch();
    bottom->addWidget(button("B終了", QStringLiteral("終了"), [this] { close(); }));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(middle, 1);
    layout->addLayout(bottom);
    run([this] { Form_Load(); });
}

時間割自動作成::~時間割自動作成() = default;

QWidget* 時間割自動作成::buildClassList() {
    G組 = grid("G組", [this](int r, int c) { G組_Click(r, c); });
    G組->setMinimumWidth(190);
    G組->setMaximumWidth(230);
    classList_ = std::make_unique<EntryList>(
        G組, EntryList::Layout{{QStringLiteral("組"), QStringLiteral("時数")}, {2000, 600}, 0});
    return G組;
}

void 時間割自動作成::Form_Load() {
    ctx().resetReporting();
    ctx().title = kTitle;
    年度->setText(QString::number(school().businessYear));
    ctx().workingYear = school().businessYear;
    CMB学部(ctx(), 学部::Fill, list_option::kPlain, C学部);
    C学部->insertItem(0, kWholeSchool);
    C学部->setCurrentIndex(0);
    CMB教師(ctx(), 教師::FillAll, C教員);
    CMB教師(ctx(), 教師::FillAll, C不可教員);
    C教員->setCurrentIndex(-1);
    C不可教員->setCurrentIndex(-1);
    year_ = school().businessYear;
    department_.clear();
    showScope();
}

void 時間割自動作成::年度_LostFocus() {
    CHK年度(ctx(), 年度, "001");
}

void 時間割自動作成::B表示_Click() {
    ctx().resetReporting();
    年度_LostFocus();
    QString dept;
    if (C学部->currentText() != kWholeSchool &&
        CMB学部(ctx(), 学部::ByName, list_option::kPlain, C学部) == 0)
        dept = ctx().departmentCode;
    if (ctx().errorFlag == 1) {
        showMessage(ctx().message);
        return;
    }
    year_ = 年度->text().toInt();
    ctx().workingYear = year_;
    department_ = dept;
    showScope();
}

void 時間割自動作成::showScope() {
    classes_ = classesInScope(year_, department_);
    settings_ = gen::readSettings(year_);
    pickedRow_ = 0;
    hasProposal_ = false;
    L対象->setText(
        QStringLiteral("%1年度　%2　%3組")
            .arg(year_)
            .arg(department_.isEmpty() ? kWholeSchool : stored_names::department(department_))
            .arg(classes_.size()));
    listClassTotals();
    showSettings();
    showUnavailable();
    showClass();
    showProposal();
}

void 時間割自動作成::G組_Click(int row, int) {
    if (!classList_->isEntry(row)) return;
    pickedRow_ = row;
    classList_->highlight(row);
    showClass();
}

const ScopeClass* 時間割自動作成::pickedClass() const {
    return pickedRow_ >= 1 && pickedRow_ <= int(classes_.size()) ? &classes_[pickedRow_ - 1]
                                                                 : nullptr;
}

bool 時間割自動作成::refuseWithoutClass() {
    if (pickedClass()) return false;
    showMessage(QStringLiteral("左の一覧から組を選んでください。"));
    return true;
}

// Everything that shows one class follows the class picked in the list.
void 時間割自動作成::showClass() {
    const ScopeClass* c = pickedClass();
    WorkContext& x = ctx();
    x.workingYear = year_;
    if (c) {
        CMB学部(x, 学部::ByCode, list_option::kPlain, c->dept);
        x.grade = c->grade;
        x.courseCode = c->course;
        x.classCode = c->klass;
        x.selectionNumber = 0;
        CMB科目(x, 科目::Fill, list_option::kPlain, C科目);
    } else {
        C科目->clear();
    }
    C教科->clear();
    listDemand();
    clearDemandFields();
    if (O組->isChecked() || O学年->isChecked()) showUnavailable();
    showKept();
    showProposalClass();
}

void checkRange(WorkContext& ctx, QWidget* field, const QString& name, int min, int max) {
    WorkContext scratch;
    CHK数字(scratch, field, QString(), Numeric::Integer, min, max);
    if (scratch.errorFlag == 1)
        reportFieldError(
            ctx, field,
            QStringLiteral("%1は %2～%3 の数で入力してください。").arg(name).arg(min).arg(max));
}
