#include "calendar/event_schedule_screen.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "calendar/month_calendar.h"
#include "common/checks.h"
#include "common/date_input.h"
#include "common/selection_lists.h"
#include "context/school_context.h"
#include "data/dates.h"
#include "ui/fields.h"
#include "ui/grid.h"
#include "ui/palette.h"

namespace {

const QString kOutOfYear = QStringLiteral("年度の範囲を超えています");
const QString kNotAsRegistered =
    QStringLiteral("登録時の指定と違います、登録内容の変更は出来ません");
constexpr int kFirstPeriod = 1, kLastPeriod = 10;

// The checks of this screen name no item: they report with the fixed wording.
const QString kNoItem;

QString twoDigits(int month) {
    return QStringLiteral("%1").arg(month, 2, 10, QLatin1Char('0'));
}

// "0", "００" and the like: a number that is zero.
bool isZero(const QString& text) {
    bool ok = false;
    const int n = toHalfWidth(text).trimmed().toInt(&ok);
    return ok && n == 0;
}

}  // namespace

行事予定::行事予定() : Screen("行事予定", QStringLiteral("行事予定の登録")) {
    // Created in the order the user meets them, which is also the tab order.
    年度 = textBox("年度", 4);
    C学部 = comboBox("C学部", [this] { C学部_Click(); });
    C学年 = comboBox("C学年", [this] { C学年_Click(); });
    auto* top = new QHBoxLayout;
    top->addWidget(labelled(QStringLiteral("年度"), 年度));
    top->addWidget(labelled(QStringLiteral("学部"), C学部));
    top->addWidget(labelled(QStringLiteral("学年"), C学年));
    top->addWidget(button("B表示", QStringLiteral("表示"), [this] { B表示_Click(); }));
    top->addStretch();

    auto* monthBar = new QHBoxLayout;
    monthBar->addWidget(button("前月", QStringLiteral("◀ 前月"), [this] { 前月_Click(); }));
    monthBar->addStretch();
    L表示年 = label("L表示年");
    予定月 = textBox("予定月", 2);
    // The month is chosen with the buttons and the calendar follows it; typing here would
    // only make the box and the calendar disagree.
    予定月->setReadOnly(true);
    予定月->setFocusPolicy(Qt::NoFocus);
    予定月->setAlignment(Qt::AlignCenter);
    予定月->setMaximumWidth(40);
    monthBar->addWidget(new QLabel(QStringLiteral("表示月"), this));
    monthBar->addWidget(L表示年);
    monthBar->addWidget(予定月);
    monthBar->addWidget(new QLabel(QStringLiteral("月"), this));
    monthBar->addStretch();
    monthBar->addWidget(button("次月", QStringLiteral("次月 ▶"), [this] { 次月_Click(); }));

    G日付 = grid("G日付", [this](int r, int c) { G日付_Click(r, c); });
    G日付->setMinimumSize(300, 190);
    G日付->setStretchRows(true);

    行事日 = textBox("行事日", 10);
    終了日 = textBox("終了日", 10);
    連番 = textBox("連番", 3);
    C授業 = comboBox("C授業", [this] { C授業_Click(); });
    // Only the three classifications mean anything to the slot screens.
    C授業->setEditable(false);
    時限From = textBox("時限From", 2);
    時限To = textBox("時限To", 2);
    行事名 = textBox("行事名", 20);
    行事略称 = textBox("行事略称", 10);
    備考 = textBox("備考", 25);
    for (QLineEdit* narrow : {行事日, 終了日}) narrow->setMaximumWidth(110);
    for (QLineEdit* narrow : {連番, 時限From, 時限To}) narrow->setMaximumWidth(50);

    auto* days = new QHBoxLayout;
    days->addWidget(行事日);
    days->addWidget(new QLabel(QStringLiteral("～"), this));
    days->addWidget(labelled(QStringLiteral("行事終了日"), 終了日));
    days->addStretch();
    auto* periods = new QHBoxLayout;
    periods->addWidget(時限From);
    periods->addWidget(new QLabel(QStringLiteral("～"), this));
    periods->addWidget(時限To);
    periods->addStretch();
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("行事予定日"), days);
    fields->addRow(QStringLiteral("連番"), 連番);
    fields->addRow(QStringLiteral("授業区分"), C授業);
    fields->addRow(QStringLiteral("時限From"), periods);
    fields->addRow(QStringLiteral("行事名"), 行事名);
    fields->addRow(QStringLiteral("行事略称"), 行事略称);
    fields->addRow(QStringLiteral("備考"), 備考);

    auto* left = new QVBoxLayout;
    left->addLayout(monthBar);
    left->addWidget(G日付);
    left->addLayout(fields);
    left->addStretch();

    G行事 = grid("G行事", [this](int r, int) { G行事_Click(r); });
    G行事->setMinimumSize(470, 380);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(
        button("B祝日登録", QStringLiteral("祝日登録"), [this] { B祝日登録_Click(); }));
    buttons->addStretch();
    buttons->addWidget(button("B確定", QStringLiteral("確定"), [this] { B確定_Click(); }));
    buttons->addWidget(button("B削除", QStringLiteral("削除"), [this] { B削除_Click(); }));
    buttons->addWidget(button("B終了", QStringLiteral("終了"), [this] { close(); }));

    auto* middle = new QHBoxLayout;
    middle->addLayout(left);
    middle->addWidget(G行事, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(middle, 1);
    layout->addLayout(buttons);

    onLostFocus(年度, [this] { 年度_LostFocus(); });
    onLostFocus(行事日, [this] { leaving([this] { 行事日_LostFocus(); }); });
    onLostFocus(終了日, [this] { leaving([this] { 終了日_LostFocus(); }); });
    onLostFocus(連番, [this] { leaving([this] { 連番_LostFocus(); }); });
    onLostFocus(行事名, [this] { leaving([this] { 行事名_LostFocus(); }); });

    registration_ = std::make_unique<Registration>(*this, G行事, eventListLayout(), plan());
    run([this] { Form_Load(); });
}

RegistrationPlan 行事予定::plan() {
    RegistrationPlan s;
    s.table = QStringLiteral("予定");
    s.index = QStringLiteral("Key_予定");
    s.keyFields = {"予_年度", "予_学部", "予_学年",     "予_コース",
                   "予_日付", "予_連番", "予_時限From", "予_時限To"};
    s.subject = QStringLiteral("行事");
    s.deleteQuestion = QStringLiteral("予定を削除します。");
    s.notRegistered = QStringLiteral("行事は登録されていません");
    s.deleted = QStringLiteral("行事は削除されました");
    s.outOfRange = QStringLiteral("行事指定が有効範囲外です。");
    s.refillWhenNotRegistered = true;
    s.checks = [this] { checkAll(); };
    s.key = [this] {
        const WorkContext& c = ctx();
        return EventKey{c.workingYear,  c.departmentCode, c.grade,     c.courseCode,
                        行事日->text(), sequence_,        periodFrom_, periodTo_}
            .values();
    };
    s.write = [this](Recordset& rs, bool) {
        rs.set("予_組", QString());
        rs.set("予_終了日", 終了日->text());
        rs.set("予_授業F", C授業->currentIndex());
        rs.set("予_予定番号", QString());
        rs.set("予_名称", 行事名->text());
        rs.set("予_略称", 行事略称->text());
        rs.set("予_備考", 備考->text());
    };
    s.listFrom = [this] { return eventListFrom(ctx().workingYear); };
    s.within = [this](const Recordset& rs) { return rs.integer("予_年度") == ctx().workingYear; };
    s.shown = [this](const Recordset& rs) { return eventShown(rs, ctx()); };
    s.cells = [this](const Recordset& rs) {
        if (registration_->list().count() == 0) fillingKeys_.clear();
        fillingKeys_.push_back(EventKey::of(rs));
        return eventListCells(rs);
    };
    s.filled = [this](int count) { listed(count); };
    return s;
}

void 行事予定::Form_Load() {
    ctx().resetReporting();
    ctx().title = QStringLiteral("行事予定登録");
    C授業->clear();
    C授業->addItems(lessonClassifications());
    C授業->setCurrentIndex(-1);
    periodsFollowClassification();
    CMB学部(ctx(), 学部::Fill, list_option::kWithCommon, C学部);
    CMB学年(ctx(), 学年::Fill, list_option::kWithCommon, C学年);
    // Until a department and grade are chosen the calendar and the list show the events common
    // to the whole school.
    年度->setText(QString::number(school().businessYear));
    年度_LostFocus();
}

// ------------------------------------------------------------------------------ year and month

QDate 行事予定::yearStart() {
    return QDate(ctx().workingYear, 4, 1);
}
QDate 行事予定::yearEnd() {
    return QDate(ctx().workingYear + 1, 3, 31);
}

bool 行事予定::checkYear() {
    const bool first = ctx().firstErrorFlag == 0;
    CHK年度(ctx(), 年度, "001");
    if (ctx().checkResult == 1) {
        if (first) ctx().message = kOutOfYear;
        return false;
    }
    // Another year: its calendar and its events, from its first month.
    const int year = 年度->text().toInt();
    if (year != ctx().workingYear) switchYear(year);
    return true;
}

void 行事予定::年度_LostFocus() {
    ctx().resetReporting();
    ctx().firstErrorFlag = 1;
    if (!checkYear()) showMessage(kOutOfYear);
}

void 行事予定::switchYear(int year) {
    ctx().workingYear = year;
    month_ = yearStart();
    picked_.reset();
    registration_->refill();
}

void 行事予定::showMonth(const QDate& month) {
    month_ = month;
    drawCalendar();
}

void 行事予定::drawCalendar() {
    GRD日付(*G日付, month_, eventDays(ctx(), month_));
    L表示年->setText(month_.isValid() ? QStringLiteral("%1年").arg(month_.year()) : QString());
    予定月->setText(month_.isValid() ? twoDigits(month_.month()) : QString());
}

void 行事予定::B表示_Click() {
    ctx().resetReporting();
    if (!checkYear()) {
        showMessage(ctx().message);
        return;
    }
    clearInputs();
    C学部_Click();
    C学年_Click();
    if (ctx().errorFlag == 1) {
        showMessage(ctx().message);
        return;
    }
    // Today's month when today lies in the year shown; its first month otherwise, as the
    // calendar never leaves the year.
    const QDate today = school().today;
    month_ = today >= yearStart() && today <= yearEnd() ? QDate(today.year(), today.month(), 1)
                                                        : yearStart();
    picked_.reset();
    registration_->refill();
}

void 行事予定::前月_Click() {
    const QDate month = month_.addMonths(-1);
    if (!month.isValid() || month < yearStart()) {
        showMessage(kOutOfYear);
        return;
    }
    clearInputs();
    showMonth(month);
}

void 行事予定::次月_Click() {
    const QDate month = month_.addMonths(1);
    if (!month.isValid() || month > yearEnd()) {
        showMessage(kOutOfYear);
        return;
    }
    clearInputs();
    showMonth(month);
}

void 行事予定::clearInputs() {
    // The end day goes too: left behind it would silently stretch the next event typed.
    for (QLineEdit* f : {行事日, 終了日, 連番, 時限From, 時限To, 行事名, 行事略称, 備考})
        f->clear();
}

// ------------------------------------------------------------------------------ the selection

void 行事予定::C学部_Click() {
    if (C学部->currentText().trimmed().isEmpty()) {
        ctx().departmentCode.clear();
        ctx().departmentName.clear();
        ctx().departmentPosition = 0;
        return;
    }
    CMB学部(ctx(), 学部::ByName, list_option::kWithCommon, C学部);
}

void 行事予定::C学年_Click() {
    CMB学年(ctx(), 学年::ByText, list_option::kWithCommon, C学年);
}

// ------------------------------------------------------------------------------ picking

void 行事予定::G日付_Click(int row, int col) {
    const int day = calendarDay(*G日付, row, col);
    if (day == 0) {
        showMessage(QStringLiteral("日付が有効範囲外です。"));
        return;
    }
    // The picked event keeps its highlight: it is what 削除 removes.
    clearCalendarHighlight(*G日付);
    highlightCalendarCell(*G日付, row, col);
    行事日->setText(dateText(QDate(month_.year(), month_.month(), day)));
    setFieldColour(行事日, colour::kBlack);
    // A new day starts a one-day event: the last event's end date would otherwise stretch it.
    終了日->clear();
    setFieldColour(終了日, colour::kBlack);
}

void 行事予定::G行事_Click(int row) {
    EntryList& list = registration_->list();
    if (!list.isEntry(row) || row > int(listedKeys_.size())) {
        showMessage(QStringLiteral("行事指定が有効範囲外です。"));
        return;
    }
    clearCalendarHighlight(*G日付);
    list.highlight(row);
    // An event is edited under the department, grade and course it was registered for; a
    // common event listed beside a department's own is not that department's to change.
    const EventKey& key = listedKeys_[row - 1];
    const WorkContext& c = ctx();
    const bool asRegistered = key.year == c.workingYear && key.department == c.departmentCode &&
                              key.grade == c.grade && key.course == c.courseCode;
    Recordset rs("予定");
    rs.setIndex("Key_予定");
    if (asRegistered) rs.seek(Seek::Equal, key.values());
    if (!asRegistered || rs.noMatch()) {
        list.clearHighlight();
        picked_.reset();
        showMessage(kNotAsRegistered);
        return;
    }
    picked_ = key;
    show(rs);
}

void 行事予定::show(const Recordset& rs) {
    行事日->setText(rs.text("予_日付"));
    終了日->setText(rs.text("予_終了日"));
    連番->setText(QString::number(rs.integer("予_連番")));
    const int kind = rs.integer("予_授業F");
    C授業->setCurrentIndex(kind >= 0 && kind < C授業->count() ? kind : -1);
    periodsFollowClassification();
    if (kind == 授業区分::時限換算) {
        時限From->setText(QString::number(rs.integer("予_時限From")));
        時限To->setText(QString::number(rs.integer("予_時限To")));
    }
    行事名->setText(rs.text("予_名称"));
    行事略称->setText(rs.text("予_略称"));
    備考->setText(rs.text("予_備考"));
    for (QWidget* f :
         std::initializer_list<QWidget*>{行事日, 終了日, 連番, C授業, 時限From, 時限To, 行事名})
        setFieldColour(f, colour::kBlack);
}

// After every fill of the list: the calendar marks the days of the events listed.
void 行事予定::listed(int count) {
    drawCalendar();
    if (count == 0) fillingKeys_.clear();
    listedKeys_ = std::move(fillingKeys_);
    fillingKeys_.clear();
    formatEventListHeadings(*G行事);
    for (int row = 1; row <= count && row <= int(listedKeys_.size()); ++row) {
        G行事->setRow(row);
        G行事->setCol(6);
        G行事->setCellForeColor(listedKeys_[row - 1].isCommon() ? colour::kLightRed
                                                                : colour::kBlack);
    }
    // The event picked stays picked while it is listed (a save that kept its key, say).
    if (!picked_) return;
    for (int row = 1; row <= int(listedKeys_.size()); ++row)
        if (listedKeys_[row - 1] == *picked_) {
            registration_->list().highlight(row);
            return;
        }
    picked_.reset();
}

// ------------------------------------------------------------------------------ the checks

void 行事予定::leaving(const std::function<void()>& check) {
    ctx().resetReporting();
    ctx().firstErrorFlag = 1;
    check();
}

void 行事予定::checkInYear(QLineEdit* field, const QString& caption) {
    const QString day = field->text();
    const QString from = dateText(yearStart()), to = dateText(yearEnd());
    if (day >= from && day <= to) return;
    reportFieldError(ctx(), field,
                     QStringLiteral("%1は%2年度の%3～%4の日付を入力してください")
                         .arg(caption)
                         .arg(ctx().workingYear)
                         .arg(from, to));
}

void 行事予定::行事日_LostFocus() {
    CHK日付(ctx(), 行事日, kNoItem);
    行事日->setText(ctx().normalizedDateText);
    if (ctx().checkResult == 0) checkInYear(行事日, QStringLiteral("行事予定日"));
}

void 行事予定::終了日_LostFocus() {
    if (終了日->text().trimmed().isEmpty()) 終了日->setText(行事日->text());
    CHK日付(ctx(), 終了日, kNoItem);
    終了日->setText(ctx().normalizedDateText);
    if (ctx().checkResult == 0) checkInYear(終了日, QStringLiteral("行事終了日"));
    CHK大小(ctx(), 行事日, 終了日, kNoItem, 1);
}

void 行事予定::連番_LostFocus() {
    if (連番->text().trimmed().isEmpty()) 連番->setText(QStringLiteral("0"));
    CHK数字(ctx(), 連番, kNoItem);
    sequence_ = 連番->text().toInt();
}

void 行事予定::C授業_Click() {
    CHK必須(ctx(), C授業, kNoItem);
    periodsFollowClassification();
}

void 行事予定::行事名_LostFocus() {
    CHK必須(ctx(), 行事名, kNoItem);
}

// Periods mean something only to an event that takes some periods; the others take all or none.
void 行事予定::periodsFollowClassification() {
    const bool counted = C授業->currentIndex() == 授業区分::時限換算;
    for (QLineEdit* f : {時限From, 時限To}) {
        if (!counted) f->clear();
        f->setEnabled(counted);
    }
}

void 行事予定::checkPeriods() {
    periodFrom_ = periodTo_ = 0;
    if (C授業->currentIndex() != 授業区分::時限換算) {
        時限From->clear();
        時限To->clear();
        return;
    }
    if (時限From->text().trimmed().isEmpty() || isZero(時限From->text()))
        reportFieldError(ctx(), 時限From, QStringLiteral("時限Fromを入力してください"));
    else
        CHK数字(ctx(), 時限From, kNoItem, Numeric::Integer, kFirstPeriod, kLastPeriod);
    if (時限To->text().trimmed().isEmpty())
        時限To->setText(時限From->text());
    else
        CHK数字(ctx(), 時限To, kNoItem, Numeric::Integer, kFirstPeriod, kLastPeriod);
    periodFrom_ = 時限From->text().toInt();
    periodTo_ = 時限To->text().toInt();
    CHK大小(ctx(), 時限From, 時限To, kNoItem, 1);
}

void 行事予定::checkAll() {
    if (!checkYear()) return;
    C学部_Click();
    C学年_Click();
    // An event filed under no department would apply to no class at all.
    if (ctx().errorFlag == 0 && ctx().departmentCode.isEmpty())
        reportError(ctx(), C学部, QStringLiteral("学部を正しく選択してください"));
    if (ctx().errorFlag == 1) return;
    行事日_LostFocus();
    終了日_LostFocus();
    連番_LostFocus();
    C授業_Click();
    checkPeriods();
    行事名_LostFocus();
}

// ------------------------------------------------------------------------------ save and delete

void 行事予定::B確定_Click() {
    registration_->save();
}

void 行事予定::B削除_Click() {
    if (!picked_) {
        showMessage(QStringLiteral("削除する行事を一覧から選択してください"));
        return;
    }
    registration_->remove(picked_->values());
}

// The year's national holidays as whole-school days without lessons, in one operation: the slot
// screens and prints honour them like any event, and a school may change or delete one.
void 行事予定::B祝日登録_Click() {
    ctx().resetReporting();
    ctx().firstErrorFlag = 1;
    if (!checkYear()) {
        showMessage(kOutOfYear);
        return;
    }
    const int year = ctx().workingYear;
    if (!ask(QStringLiteral("%1年度の祝日を行事として登録します。").arg(year))) return;
    const int added = addNationalHolidays(year, ctx().courseCode);
    showMessage(added == 0 ? QStringLiteral("登録する祝日はありません（すべて登録済みです）")
                           : QStringLiteral("祝日を%1件登録しました。").arg(added));
    registration_->refill();
}
