// 時数: per class, what is taught how often and by whom (作成時数), entered line by line.

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/checks.h"
#include "common/selection_lists.h"
#include "data/recordset.h"
#include "generation/demand_store.h"
#include "generation_ui/generation_screen.h"
#include "ui/fields.h"
#include "ui/grid.h"

namespace {

const QStringList kDemandHeadings = {"行", "科目", "教科", "教員", "時数",
                                     "連続", "選択", "分散", "間隔", "後続"};
constexpr int kSubjectColumn = 2;

bool sameClass(const Recordset& rs, int year, const ScopeClass& c) {
    return rs.integer("作_年度") == year && rs.text("作_学部") == c.dept &&
           rs.integer("作_学年") == c.grade && rs.text("作_コース") == c.course &&
           rs.text("作_組") == c.klass;
}

}  // namespace

QWidget* 時間割自動作成::buildDemandTab() {
    auto* page = new QWidget(this);
    G時数 = grid("G時数", [this](int r, int c) { G時数_Click(r, c); });
    行 = textBox("行", 3);
    C科目 = comboBox("C科目", [this] { C科目_Click(); });
    C教科 = comboBox("C教科");
    // No length limit: a team's names must never be cut short when a line is shown.
    教員 = textBox("教員");
    C教員 = comboBox("C教員", [this] { C教員_Click(); });
    時間数 = textBox("時間数", 2);
    連続 = textBox("連続", 2);
    選択 = textBox("選択", 3);
    分散 = textBox("分散", 3);
    間隔 = textBox("間隔", 1);
    C後続 = comboBox("C後続");
    for (QLineEdit* n : {行, 時間数, 連続, 選択, 分散, 間隔}) n->setMaximumWidth(50);
    教員->setToolTip(
        QStringLiteral("複数の教員は「・」で区切ります。右の一覧から選ぶと加わります。"));
    連続->setToolTip(
        QStringLiteral("0 別々の日、1 同じ日に2コマ続けてもよい、2以上 そのコマ数続けて"));
    選択->setToolTip(QStringLiteral("同じ番号の行（他の組も）は同じコマに置かれます。0 なし"));
    分散->setToolTip(QStringLiteral("別々の日に置く重み。100 必ず、0 問わない"));
    間隔->setToolTip(QStringLiteral("授業と授業の間を何日あけるか。1 別々の日、2 1日おき以上"));
    C後続->setToolTip(QStringLiteral("この行の授業のすぐ後（同じ日の次の時限）に置く、同じ組の行"));

    // Caption and field side by side, each row left-aligned, so a short number box stays next
    // to its caption.
    auto* fields = new QVBoxLayout;
    auto row = [&](std::initializer_list<std::pair<const char*, QWidget*>> items, int stretchOf) {
        auto* line = new QHBoxLayout;
        int i = 0;
        for (const auto& [caption, field] : items) {
            if (caption) line->addWidget(new QLabel(QString::fromUtf8(caption), page));
            line->addWidget(field, i++ == stretchOf ? 1 : 0);
            line->addSpacing(8);
        }
        if (stretchOf < 0) line->addStretch();
        fields->addLayout(line);
    };
    C科目->setMinimumWidth(160);
    C教科->setMinimumWidth(200);
    C教員->setMinimumWidth(160);
    row({{"行", 行}, {"科目", C科目}, {"教科", C教科}}, -1);
    row({{"教員", 教員}, {nullptr, C教員}}, 0);
    C後続->setMinimumWidth(160);
    row({{"時間数", 時間数}, {"連続", 連続}, {"選択", 選択}, {"分散", 分散}, {"間隔", 間隔},
         {"後続", C後続}},
        -1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(button("B確定", QStringLiteral("確定"), [this] { B確定_Click(); }));
    buttons->addWidget(button("B削除", QStringLiteral("削除"), [this] { B削除_Click(); }));
    buttons->addWidget(button("Bクリア", QStringLiteral("クリア"), [this] { Bクリア_Click(); }));
    buttons->addStretch();
    buttons->addWidget(
        button("B時数取込", QStringLiteral("現在の時間割から作る"), [this] { B時数取込_Click(); }));

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(G時数, 1);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    demand_ = std::make_unique<Registration>(
        *this, G時数,
        EntryList::Layout{
            kDemandHeadings, {400, 1300, 1700, 2400, 500, 500, 500, 500, 500, 500}, 12},
        demandPlan());
    return page;
}

RegistrationPlan 時間割自動作成::demandPlan() {
    RegistrationPlan p;
    p.table = QStringLiteral("作成時数");
    p.index = QStringLiteral("Key_作成時数");
    p.keyFields = {"作_年度", "作_学部", "作_学年", "作_コース", "作_組", "作_行"};
    p.subject = QStringLiteral("時数");
    p.checks = [this] { checkDemand(); };
    p.key = [this] {
        const ScopeClass& c = *pickedClass();
        return std::vector<Value>{year_, c.dept, c.grade, c.course, c.klass, 行->text().toInt()};
    };
    p.listedKey = [](const Recordset& rs) {
        return std::vector<Value>{rs.value("作_年度"),   rs.value("作_学部"), rs.value("作_学年"),
                                  rs.value("作_コース"), rs.value("作_組"),   rs.value("作_行")};
    };
    p.write = [this](Recordset& rs, bool) {
        rs.set("作_科目", ctx().kamokuNumber);
        rs.set("作_教科", ctx().subjectNumber);
        rs.set("作_教員", teacherNumbers(教員->text(), nullptr, nullptr));
        rs.set("作_時間数", 時間数->text().toInt());
        rs.set("作_連続", 連続->text().toInt());
        rs.set("作_選択", 選択->text().toInt());
        rs.set("作_分散", 分散->text().toInt());
        rs.set("作_間隔", 間隔->text().toInt());
        rs.set("作_後続", followingRow());
    };
    // A line that followed the deleted one follows nothing now: the generator would otherwise
    // warn about a line that is gone on every run, and a line added later under the freed
    // number would silently inherit the pairing.
    p.removed = [](const std::vector<Value>& key) {
        Recordset rs(QStringLiteral("作成時数"));
        rs.setIndex(QStringLiteral("Key_作成時数"));
        const std::vector<Value> klass(key.begin(), key.end() - 1);
        for (rs.seekPrefix(klass); rs.inPrefix(); rs.moveNext()) {
            if (rs.integer("作_後続") != key.back().toInt()) continue;
            rs.edit();
            rs.set("作_後続", 0);
            rs.update();
        }
    };
    p.show = [this](const Recordset& rs) {
        行->setText(QString::number(rs.integer("作_行")));
        stored_names::Kamoku k{year_, rs.text("作_学部"), rs.integer("作_学年"),
                               rs.text("作_コース"), rs.text("作_科目")};
        C科目->setCurrentText(stored_names::kamoku(k, stored_names::Form::Name));
        C科目_Click();
        C教科->setCurrentText(
            stored_names::subject(k, rs.text("作_教科"), stored_names::Form::Name));
        教員->setText(teacherNames(rs.text("作_教員")));
        時間数->setText(QString::number(rs.integer("作_時間数")));
        連続->setText(QString::number(rs.integer("作_連続")));
        選択->setText(QString::number(rs.integer("作_選択")));
        分散->setText(QString::number(rs.integer("作_分散")));
        // A line stored before 間隔 existed holds 0, which the generator reads as 1.
        間隔->setText(QString::number(std::max(1, rs.integer("作_間隔"))));
        showFollowing(rs.integer("作_後続"), rs.integer("作_行"));
    };
    p.listFrom = [this] {
        const ScopeClass* c = pickedClass();
        if (!c) return std::vector<Value>{-1};
        return std::vector<Value>{year_, c->dept, c->grade, c->course, c->klass, 0};
    };
    p.within = [this](const Recordset& rs) {
        const ScopeClass* c = pickedClass();
        return c && sameClass(rs, year_, *c);
    };
    p.cells = [this](const Recordset& rs) {
        stored_names::Kamoku k{year_, rs.text("作_学部"), rs.integer("作_学年"),
                               rs.text("作_コース"), rs.text("作_科目")};
        return QStringList{QString::number(rs.integer("作_行")),
                           stored_names::kamoku(k, stored_names::Form::Name),
                           stored_names::subject(k, rs.text("作_教科"), stored_names::Form::Name),
                           teacherNames(rs.text("作_教員")),
                           QString::number(rs.integer("作_時間数")),
                           QString::number(rs.integer("作_連続")),
                           QString::number(rs.integer("作_選択")),
                           QString::number(rs.integer("作_分散")),
                           QString::number(std::max(1, rs.integer("作_間隔"))),
                           rs.integer("作_後続") ? QString::number(rs.integer("作_後続"))
                                                 : QString()};
    };
    return p;
}

void 時間割自動作成::checkDemand() {
    WorkContext& c = ctx();
    checkRange(c, 行, QStringLiteral("行"), 1, 999);
    CMB科目(c, 科目::ByName, list_option::kPlain, C科目);
    if (CMB教科(c, 教科::ByName, 0, C教科) != 0)
        reportFieldError(c, C教科, QStringLiteral("教科を正しく選択してください"));
    QStringList unknown, ambiguous;
    const QString numbers = teacherNumbers(教員->text(), &unknown, &ambiguous);
    if (!unknown.isEmpty())
        reportFieldError(c, 教員,
                         QStringLiteral("教員「%1」は登録されていません")
                             .arg(unknown.join(QStringLiteral("・"))));
    else if (!ambiguous.isEmpty())
        reportFieldError(
            c, 教員,
            QStringLiteral("「%1」という教員が複数います。氏名か教員番号で入力してください")
                .arg(ambiguous.join(QStringLiteral("・"))));
    else if (numbers.isEmpty())
        reportFieldError(c, 教員, QStringLiteral("教員を入力してください"));
    checkRange(c, 時間数, QStringLiteral("時間数"), 1, gen::kMaxDays * gen::kMaxPeriods);
    checkRange(c, 連続, QStringLiteral("連続"), 0, gen::kMaxPeriods);
    checkRange(c, 選択, QStringLiteral("選択"), 0, 999);
    checkRange(c, 分散, QStringLiteral("分散"), 0, 100);
    checkRange(c, 間隔, QStringLiteral("間隔"), 1, gen::kMaxDays - 1);
    checkFollowing();
    // Runs of n periods need a count that n divides, or a lesson would be left over.
    const int run = 連続->text().toInt(), count = 時間数->text().toInt();
    if (c.errorFlag == 0 && run >= 2 && count % run != 0)
        reportFieldError(c, 時間数,
                         QStringLiteral("時間数が連続 %1 コマの倍数になっていません。").arg(run));
}

void 時間割自動作成::C科目_Click() {
    CMB科目(ctx(), 科目::ByName, list_option::kPlain, C科目);
    CMB教科(ctx(), 教科::Fill, 0, C教科);
}

void 時間割自動作成::C教員_Click() {
    // A picked teacher joins the line's teachers (team teaching) unless already there.
    const QString picked = C教員->currentText();
    QStringList names = 教員->text().split(QStringLiteral("・"), Qt::SkipEmptyParts);
    WorkContext scratch;
    if (CMB教師(scratch, 教師::ByName, picked) == 0 && !picked.isEmpty()) {
        const QString shown = teacherNames(scratch.teacherNumber);
        if (!names.contains(shown)) names << shown;
    }
    教員->setText(names.join(QStringLiteral("・")));
    C教員->setCurrentIndex(-1);
}

void 時間割自動作成::B確定_Click() {
    if (refuseWithoutClass()) return;
    if (demand_->save() == Registration::Outcome::Refused) return;
    listClassTotals();
    clearDemandFields();
}

void 時間割自動作成::B削除_Click() {
    if (refuseWithoutClass()) return;
    if (demand_->list().highlighted() == 0) {
        showMessage(QStringLiteral("削除する行を一覧から選んでください。"));
        return;
    }
    if (demand_->remove(demand_->listedKeyOf(demand_->list().highlighted())) !=
        Registration::Outcome::Deleted)
        return;
    listClassTotals();
    clearDemandFields();
}

void 時間割自動作成::Bクリア_Click() {
    demand_->list().clearHighlight();
    clearDemandFields();
}

void 時間割自動作成::G時数_Click(int row, int) {
    if (refuseWithoutClass()) return;
    demand_->pick(row);
}

void 時間割自動作成::clearDemandFields() {
    // A new line gets the number after the class's last one.
    int next = 1;
    for (int r = 1; r <= demand_->list().count(); ++r)
        next = std::max(next, demand_->list().cell(r, 0).toInt() + 1);
    行->setText(pickedClass() ? QString::number(next) : QString());
    C科目->setCurrentIndex(-1);
    C教科->clear();
    教員->clear();
    時間数->clear();
    連続->setText(QStringLiteral("0"));
    選択->setText(QStringLiteral("0"));
    分散->setText(QStringLiteral("100"));
    間隔->setText(QStringLiteral("1"));
    showFollowing(0);
    for (QWidget* f : std::initializer_list<QWidget*>{行, C科目, C教科, 教員, 時間数, 連続, 選択,
                                                      分散, 間隔, C後続})
        setFieldColour(f, 0);
}

void 時間割自動作成::listDemand() {
    demand_->refill();
}

void 時間割自動作成::B時数取込_Click() {
    // Replacing what was typed is asked first; a year without lines has nothing to lose.
    bool any = false;
    {
        Recordset rs("作成時数");
        rs.setIndex("Key_作成時数");
        rs.seek(Seek::AtLeast, department_.isEmpty() ? std::vector<Value>{year_}
                                                     : std::vector<Value>{year_, department_});
        any = !rs.noMatch() && !rs.eof() && rs.integer("作_年度") == year_ &&
              (department_.isEmpty() || rs.text("作_学部") == department_);
    }
    if (any && !ask(QStringLiteral("入力済みの時数を、現在の時間割から作り直します。\n"
                                   "入力した行は置き換えられます。よろしいですか？")))
        return;
    const int lines = gen::prefillDemand(year_, department_);
    // The filling keeps the timetable's HR-like lessons too: every view of the class changes.
    classes_ = classesInScope(year_, department_);
    listClassTotals();
    showClass();
    showMessage(lines > 0
                    ? QStringLiteral("時間割から時数を %1 行作りました。").arg(lines)
                    : QStringLiteral("時数を作れる時間割がありません（今年度・前年度とも）。"));
}

void 時間割自動作成::listClassTotals() {
    std::map<std::tuple<QString, int, QString, QString>, int> totals;
    Recordset rs("作成時数");
    rs.setIndex("Key_作成時数");
    rs.seek(Seek::AtLeast, {year_});
    for (; !rs.noMatch() && !rs.eof() && rs.integer("作_年度") == year_; rs.moveNext())
        totals[{rs.text("作_学部"), rs.integer("作_学年"), rs.text("作_コース"),
                rs.text("作_組")}] += rs.integer("作_時間数");
    EntryList& list = *classList_;
    list.reset();
    for (const ScopeClass& c : classes_) {
        const auto it = totals.find({c.dept, c.grade, c.course, c.klass});
        list.append({c.label, it == totals.end() ? QString() : QString::number(it->second)});
        G組->setRow(list.count());
        G組->setCol(1);
        G組->setCellAlignment(4);
    }
    if (pickedRow_ > list.count()) pickedRow_ = 0;
    if (pickedRow_ > 0) list.highlight(pickedRow_);
}

// 後続: the class's other lines as "行 教科" entries; an empty field is none.
void 時間割自動作成::showFollowing(int row, int own) {
    C後続->clear();
    const EntryList& list = demand_->list();
    for (int r = 1; r <= list.count(); ++r)
        if (list.cell(r, 0).toInt() != own)
            C後続->addItem(list.cell(r, 0) + ' ' + list.cell(r, kSubjectColumn));
    C後続->setCurrentIndex(-1);
    C後続->setEditText(QString());
    for (int i = 0; i < C後続->count() && row > 0; ++i)
        if (C後続->itemText(i).section(' ', 0, 0).toInt() == row) C後続->setCurrentIndex(i);
}

int 時間割自動作成::followingRow() const {
    // The leading number of a picked entry, or of what was typed.
    return C後続->currentText().trimmed().section(' ', 0, 0).toInt();
}

void 時間割自動作成::checkFollowing() {
    WorkContext& c = ctx();
    if (c.errorFlag != 0 || C後続->currentText().trimmed().isEmpty()) return;
    const int own = 行->text().toInt(), next = followingRow();
    // The rows the class has, and which row each is followed by, with this line as entered.
    std::map<int, int> after;
    const ScopeClass& k = *pickedClass();
    Recordset rs("作成時数");
    rs.setIndex("Key_作成時数");
    rs.seek(Seek::AtLeast, {year_, k.dept, k.grade, k.course, k.klass});
    for (; !rs.noMatch() && !rs.eof() && sameClass(rs, year_, k); rs.moveNext())
        after[rs.integer("作_行")] = rs.integer("作_後続");
    if (next == own) {
        reportFieldError(c, C後続, QStringLiteral("後続には他の行を選んでください。"));
        return;
    }
    if (!after.count(next)) {
        reportFieldError(c, C後続, QStringLiteral("後続はこの組の行から選んでください。"));
        return;
    }
    after[own] = next;
    // Following the chain from this line must end: a way back to it could never be placed.
    QStringList chain{QString::number(own)};
    for (int r = next; r != 0 && chain.size() <= int(after.size()); r = after[r]) {
        chain << QString::number(r);
        if (r == own) {
            reportFieldError(c, C後続,
                             QStringLiteral("後続が一巡して戻ってきます（%1）。")
                                 .arg(chain.join(QStringLiteral("→"))));
            return;
        }
    }
}
