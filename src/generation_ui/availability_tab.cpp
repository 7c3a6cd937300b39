// 作成不可: the slots a teacher, a grade, a class or everybody cannot use, clicked on a week.

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "common/selection_lists.h"
#include "context/school_context.h"
#include "generation_ui/generation_screen.h"
#include "ui/grid.h"
#include "ui/palette.h"

QWidget* 時間割自動作成::buildAvailabilityTab() {
    auto* page = new QWidget(this);
    O教員 = option("O教員", QStringLiteral("教員"), [this] { showUnavailable(); });
    O学年 = option("O学年", QStringLiteral("学年"), [this] { showUnavailable(); });
    O組 = option("O組", QStringLiteral("組"), [this] { showUnavailable(); });
    O全体 = option("O全体", QStringLiteral("全体（休み時間）"), [this] { showUnavailable(); });
    O教員->setChecked(true);
    C不可教員 = comboBox("C不可教員", [this] { showUnavailable(); });
    L不可対象 = label("L不可対象");
    G不可 = grid("G不可", [this](int r, int c) { G不可_Click(r, c); });

    auto* owner = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{O教員, C不可教員, O学年, O組, O全体})
        owner->addWidget(w);
    owner->addStretch();
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(owner);
    layout->addWidget(L不可対象);
    layout->addWidget(G不可, 1);
    layout->addWidget(label(
        "L不可説明", QStringLiteral("コマをクリックすると、使えない（×）と使えるが切り替わります。"
                                    "曜日の見出しは、その日全部（研修日など）です。")));
    return page;
}

// Whose slots the tab shows; false (and the reason in `name`) when the choice is not complete.
bool 時間割自動作成::unavailableOwner(UnavailableOwner* owner, QString* name) {
    if (O全体->isChecked()) {
        owner->kind = UnavailableOwner::Everyone;
        *name = QStringLiteral("全体（すべての教員と組）");
        return true;
    }
    if (O教員->isChecked()) {
        WorkContext scratch;
        if (C不可教員->currentText().isEmpty() ||
            CMB教師(scratch, 教師::ByName, C不可教員->currentText()) != 0) {
            *name = QStringLiteral("教員を選んでください。");
            return false;
        }
        owner->kind = UnavailableOwner::Teacher;
        owner->teacher = scratch.teacherNumber;
        *name = QStringLiteral("教員　%1").arg(scratch.teacherName);
        return true;
    }
    const ScopeClass* c = pickedClass();
    if (!c) {
        *name = QStringLiteral("左の一覧から組を選んでください。");
        return false;
    }
    owner->kind = UnavailableOwner::Grade;
    owner->dept = c->dept;
    owner->grade = c->grade;
    owner->klass = O組->isChecked() ? c->klass : QString();
    *name = O組->isChecked()
                ? c->label
                : QStringLiteral("%1 %2（全組）")
                      .arg(stored_names::department(c->dept), stored_names::grade(c->grade));
    return true;
}

void 時間割自動作成::showUnavailable() {
    C不可教員->setEnabled(O教員->isChecked());
    UnavailableOwner owner;
    QString name;
    const bool ok = unavailableOwner(&owner, &name);
    L不可対象->setText(name);
    const int days = std::clamp(settings_.days, 1, gen::kMaxDays);
    const int periods = std::clamp(settings_.periods, 1, gen::kMaxPeriods);
    Grid& g = *G不可;
    g.setRows(0);
    g.setCols(0);
    g.setRows(periods + 1);
    g.setCols(days + 1);
    g.setFixedRows(1);
    g.setFixedCols(1);
    g.setColWidth(-1, 900);
    g.setColWidth(0, 500);
    g.setStretchRows(true);
    const auto closed = ok ? readUnavailable(year_, owner) : std::set<std::pair<int, int>>{};
    for (int d = 0; d <= days; ++d)
        for (int p = 0; p <= periods; ++p) {
            g.setRow(p);
            g.setCol(d);
            g.setCellAlignment(4);
            if (d == 0 || p == 0) g.setCellBackColor(colour::kLightYellow);
            if (d == 0 && p > 0) g.setText(QString::number(p));
            if (d == 0 || (p == 0 && d > 0)) {
                if (p == 0 && d > 0) g.setText(school().weekdayNames[gen::storedWeekday(d - 1)]);
                continue;
            }
            const int weekday = gen::storedWeekday(d - 1);
            const bool wholeDay = closed.count({weekday, 0}) > 0;
            if (wholeDay || closed.count({weekday, p})) {
                g.setText(wholeDay ? QStringLiteral("終日") : QStringLiteral("×"));
                g.setCellBackColor(colour::kLightRed);
            }
        }
    g.setRow(0);
    g.setCol(0);
}

void 時間割自動作成::G不可_Click(int row, int col) {
    UnavailableOwner owner;
    QString name;
    if (!unavailableOwner(&owner, &name)) {
        showMessage(name);
        return;
    }
    if (col < 1 || row < 0 || row >= G不可->rows() || col >= G不可->cols()) return;
    const int weekday = gen::storedWeekday(col - 1);
    // The heading closes or opens the whole day; a period of a day closed as a whole is opened
    // through its heading, so that a click never half-undoes a 研修日.
    if (row > 0 && readUnavailable(year_, owner).count({weekday, 0})) {
        showMessage(QStringLiteral(
            "この曜日は終日使えない設定です。曜日の見出しをクリックすると戻せます。"));
        return;
    }
    toggleUnavailable(year_, owner, weekday, row);
    showUnavailable();
}
