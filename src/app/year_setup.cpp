#include "app/year_setup.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/checks.h"
#include "context/school_context.h"
#include "data/dates.h"
#include "data/recordset.h"

年度登録::年度登録(Screen* caller) : Screen("年度登録", QStringLiteral("初期年度登録"), caller) {
    年度 = textBox("年度", 4);
    開始日 = textBox("開始日", 10);
    終了日 = textBox("終了日", 10);
    onLostFocusReported(年度, [this] { 年度_LostFocus(); });
    onLostFocusReported(開始日, [this] { 開始日_LostFocus(); });
    onLostFocusReported(終了日, [this] { 終了日_LostFocus(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(QStringLiteral("この学校で使う業務年度を登録してください。"), this));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("年度"), 年度);
    form->addRow(QStringLiteral("開始日"), 開始日);
    form->addRow(QStringLiteral("終了日"), 終了日);
    layout->addLayout(form);
    layout->addWidget(button("B確定", QStringLiteral("確定"), [this] { B確定_Click(); }), 0,
                      Qt::AlignRight);
    run([this] { Form_Load(); });
}

void 年度登録::Form_Load() {
    ctx().resetReporting();
    ctx().title = QStringLiteral("初期年度登録");
    // The proposal is built from the calendar year of today, not the school year.
    const int y = school().today.year();
    年度->setText(QString::number(y));
    開始日->setText(QStringLiteral("%1/04/01").arg(y));
    終了日->setText(QStringLiteral("%1/03/31").arg(y + 1));
}

void 年度登録::年度_LostFocus() {
    CHK必須(ctx(), 年度, "028");
    if (ctx().errorFlag == 0) CHK年度(ctx(), 年度, "028");
}

void 年度登録::開始日_LostFocus() {
    CHK日付(ctx(), 開始日, "015");
    開始日->setText(ctx().normalizedDateText);
}

void 年度登録::終了日_LostFocus() {
    CHK日付(ctx(), 終了日, "016");
    終了日->setText(ctx().normalizedDateText);
    // The next business year is written too, a year later: it must still be a date of four
    // digits.
    if (ctx().checkResult == 0 && ctx().normalizedDate.year() >= 9999)
        reportFieldError(ctx(), 終了日,
                         itemLabel("016") + QStringLiteral("に正しく(YYYY/MM/DD)入力してください"));
    CHK大小(ctx(), 開始日, 終了日, "002", 2);
}

void 年度登録::checkAll() {
    ctx().resetReporting();
    年度_LostFocus();
    開始日_LostFocus();
    終了日_LostFocus();
}

void 年度登録::B確定_Click() {
    checkAll();
    if (ctx().errorFlag == 1) {
        showMessage(ctx().message);
        return;
    }
    if (!ask(QStringLiteral("入力内容で年度の設定を行います"))) return;

    const int year = 年度->text().toInt();
    const QDate start = dateFrom(開始日->text());
    const QDate end = dateFrom(終了日->text());
    Recordset rs("業務年度");
    rs.setIndex("Key_業務");
    for (int k = 1; k <= 2; ++k) {
        rs.seek(Seek::Equal, {k});
        if (rs.noMatch()) {
            rs.addNew();
            rs.set("業_区分", k);
        } else {
            rs.edit();
        }
        rs.set("業_年度", year + k - 1);
        rs.set("業_開始日", dateText(start.addYears(k - 1)));
        rs.set("業_終了日", dateText(end.addYears(k - 1)));
        rs.update();
    }
    // The running program works in the new year from now on, once the year is stored.
    afterCommit([this, year, start, end] {
        school().businessYear = year;
        school().businessYearStart = dateText(start);
        school().businessYearEnd = dateText(end);
        ctx().workingYear = year;
    });
    showPlainMessage(QStringLiteral("年度の設定は終了しました"));
    afterCommit([this] { close(); });
}
