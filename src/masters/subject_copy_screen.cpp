#include "masters/subject_copy_screen.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/checks.h"
#include "common/selection_lists.h"
#include "context/school_context.h"
#include "data/recordset.h"
#include "ui/grid.h"
#include "ui/palette.h"

namespace {

EntryList::Layout listLayout() {
    EntryList::Layout l;
    l.headings = {QStringLiteral("科目"), QStringLiteral("科目名"), QStringLiteral("教科"),
                  QStringLiteral("教科名")};
    l.widths = {500, 1000, 500, 1200};
    l.entryRows = 100;
    l.fixedRows = 1;
    return l;
}

std::vector<Value> subjectKey(const auto& s, const QString& kamoku, const QString& subject) {
    return {s.year, s.department, s.grade, s.course, kamoku, subject};
}

}  // namespace

教科コピー::教科コピー() : Screen("教科コピー", QStringLiteral("教科のコピー")) {
    auto* selections = new QHBoxLayout;
    selections->addWidget(
        selectionBox(source_, QStringLiteral("コピー元"), "元年度", "C元学部", "C元学年"));
    selections->addWidget(
        selectionBox(target_, QStringLiteral("コピー先"), "先年度", "C先学部", "C先学年"));
    selections->addWidget(button("B表示", QStringLiteral("表示"), [this] { B表示_Click(); }), 0,
                          Qt::AlignBottom);

    Grid* from = grid("G元教科", [this](int row, int) { G元教科_Click(row); });
    auto* moves = new QVBoxLayout;
    moves->addStretch();
    moves->addWidget(button("Bコピー", QStringLiteral("コピー →"), [this] { Bコピー_Click(); }));
    moves->addWidget(button("B削除", QStringLiteral("削除"), [this] { B削除_Click(); }));
    moves->addStretch();
    Grid* to = grid("G先教科", [this](int row, int) { G先教科_Click(row); });
    for (Grid* g : {from, to}) g->setMinimumSize(260, 360);
    source_.list = std::make_unique<EntryList>(from, listLayout());
    target_.list = std::make_unique<EntryList>(to, listLayout());

    auto* lists = new QHBoxLayout;
    lists->addWidget(from, 1);
    lists->addLayout(moves);
    lists->addWidget(to, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(
        label("L追加", QStringLiteral("青字の教科が、確定でコピー先に書き込まれます。")));
    buttons->addStretch();
    buttons->addWidget(button("B確定", QStringLiteral("確定"), [this] { B確定_Click(); }));
    buttons->addWidget(button("終了", QStringLiteral("終了"), [this] { 終了_Click(); }));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(selections);
    layout->addLayout(lists, 1);
    layout->addLayout(buttons);
    run([this] { Form_Load(); });
}

QWidget* 教科コピー::selectionBox(Side& side, const QString& caption, const char* year,
                                  const char* department, const char* grade) {
    auto* box = new QGroupBox(caption, this);
    side.year = textBox(year, 4);
    side.department = comboBox(department);
    side.grade = comboBox(grade);
    auto* row = new QHBoxLayout(box);
    row->addWidget(labelled(QStringLiteral("年度"), side.year));
    row->addWidget(labelled(QStringLiteral("学部"), side.department));
    row->addWidget(labelled(QStringLiteral("学年"), side.grade));
    return box;
}

void 教科コピー::Form_Load() {
    ctx().resetReporting();
    ctx().title = QStringLiteral("教科コピー");
    for (Side* s : {&source_, &target_}) {
        s->year->setText(QString::number(school().businessYear));
        CMB学部(ctx(), 学部::Fill, list_option::kPlain, s->department);
        CMB学年(ctx(), 学年::Fill, list_option::kPlain, s->grade);
        draw(*s);
    }
}

// The year, the department (empty for every department) and the grade of one side; the course
// is the screen's current one, as the screen has no course picker.
bool 教科コピー::check(Side& side) {
    CHK年度(ctx(), side.year, "001");
    Selection s;
    s.year = side.year->text().toInt();
    if (!side.department->currentText().isEmpty() &&
        CMB学部(ctx(), 学部::ByName, list_option::kPlain, side.department) == 0)
        s.department = ctx().departmentCode;
    if (CMB学年(ctx(), 学年::ByText, list_option::kPlain, side.grade) == 0) s.grade = ctx().grade;
    s.course = ctx().courseCode;
    if (ctx().errorFlag == 1) return false;
    side.selection = s;
    return true;
}

// Lists the subjects of a side's selection with the names of their course subjects. Without a
// department, the grade's subjects of every department are listed.
void 教科コピー::fill(Side& side) {
    const Selection& s = side.selection;
    side.rows.clear();
    side.picked = 0;
    Recordset rs("教科");
    rs.setIndex("Key_教科");
    Recordset kamoku("科目");
    kamoku.setIndex("Key_科目");
    const bool allDepartments = s.department.isEmpty();
    if (allDepartments)
        rs.seek(Seek::AtLeast, {s.year});
    else
        rs.seek(Seek::AtLeast, subjectKey(s, QString(), QString()));
    for (; !rs.eof() && rs.integer("教_年度") == s.year; rs.moveNext()) {
        if (allDepartments && rs.integer("教_学年") != s.grade) continue;
        if (!allDepartments &&
            (rs.integer("教_学年") != s.grade || rs.text("教_学部") != s.department))
            break;
        Row row;
        row.from = {s.year, rs.text("教_学部"), rs.integer("教_学年"), rs.text("教_コース")};
        row.kamoku = rs.text("教_科目番号");
        row.subject = rs.text("教_教科番号");
        row.subjectName = rs.text("教_名称");
        kamoku.seek(Seek::Equal,
                    {s.year, row.from.department, row.from.grade, row.from.course, row.kamoku});
        if (!kamoku.noMatch()) row.kamokuName = kamoku.text("科_名称");
        side.rows.push_back(std::move(row));
    }
    draw(side);
}

// Rows moved over from the source stand in blue: they are what a confirmation writes.
void 教科コピー::draw(Side& side) {
    side.list->reset();
    Grid* g = side.list->grid();
    for (const Row& r : side.rows) {
        side.list->append({r.kamoku, r.kamokuName, r.subject, r.subjectName});
        if (!r.added) continue;
        g->setRow(side.list->count());
        g->setCol(0);
        g->setColSel(g->cols() - 1);
        g->setCellForeColor(colour::kLightBlue);
    }
    if (side.picked > 0) side.list->highlight(side.picked);
}

void 教科コピー::B表示_Click() {
    ctx().resetReporting();
    shownWithError_ = true;
    if (!check(source_)) {
        showMessage(ctx().message);
        return;
    }
    fill(source_);
    if (!check(target_)) {
        showMessage(ctx().message);
        return;
    }
    fill(target_);
    shownWithError_ = false;
}

void 教科コピー::pick(Side& side, Side& other, int row) {
    if (!side.list->isEntry(row)) {
        showMessage(QStringLiteral("指示位置が有効範囲外です。"));
        return;
    }
    side.picked = row;
    side.list->highlight(row);
    // One pick at a time: the other list's row is no longer picked, and no longer looks it.
    if (other.picked > 0) {
        other.picked = 0;
        draw(other);
    }
}

void 教科コピー::G元教科_Click(int row) {
    pick(source_, target_, row);
}

void 教科コピー::G先教科_Click(int row) {
    pick(target_, source_, row);
}

void 教科コピー::Bコピー_Click() {
    if (source_.picked == 0) {
        showMessage(QStringLiteral("コピー元教科を選択してください"));
        return;
    }
    Row row = source_.rows[source_.picked - 1];
    row.added = true;
    target_.rows.push_back(std::move(row));
    draw(target_);
}

void 教科コピー::B削除_Click() {
    if (target_.picked == 0) {
        showMessage(QStringLiteral("コピー先教科を選択してください"));
        return;
    }
    target_.rows.erase(target_.rows.begin() + (target_.picked - 1));
    target_.picked = 0;
    draw(target_);
}

// Writes one added row into the target selection: the subject with the source's names and
// marks, and its course subject when the target has none by that number. False when the source
// subject is gone (another window deleted it since the listing).
bool 教科コピー::copyRow(const Row& row) {
    const Selection& to = target_.selection;
    Recordset src("教科");
    src.setIndex("Key_教科");
    src.seek(Seek::Equal, subjectKey(row.from, row.kamoku, row.subject));
    if (src.noMatch()) return false;

    Recordset dst("教科");
    dst.setIndex("Key_教科");
    const std::vector<Value> key = subjectKey(to, row.kamoku, row.subject);
    dst.seek(Seek::Equal, key);
    if (dst.noMatch()) {
        dst.addNew();
        const QStringList keyFields = {"教_年度",   "教_学部",     "教_学年",
                                       "教_コース", "教_科目番号", "教_教科番号"};
        for (int i = 0; i < keyFields.size(); ++i) dst.set(keyFields[i], key[i]);
    } else {
        dst.edit();
    }
    dst.set("教_表示順", 0);
    for (const char* f : {"教_名称", "教_略称", "教_展開F", "教_選択F"}) dst.set(f, src.value(f));
    dst.set("教_教室番号", QString());
    dst.set("教_教室名", QString());
    dst.set("教_時間数", 0);
    dst.set("教_備考", QString());
    dst.update();

    Recordset kamoku("科目");
    kamoku.setIndex("Key_科目");
    kamoku.seek(Seek::Equal, {to.year, to.department, to.grade, to.course, row.kamoku});
    if (!kamoku.noMatch()) return true;
    Recordset from("科目");
    from.setIndex("Key_科目");
    from.seek(Seek::Equal,
              {row.from.year, row.from.department, row.from.grade, row.from.course, row.kamoku});
    if (from.noMatch()) return true;
    kamoku.addNew();
    kamoku.set("科_年度", to.year);
    kamoku.set("科_学部", to.department);
    kamoku.set("科_学年", to.grade);
    kamoku.set("科_コース", to.course);
    kamoku.set("科_番号", row.kamoku);
    kamoku.set("科_表示順", 0);
    for (const char* f : {"科_名称", "科_略称", "科_選択F"}) kamoku.set(f, from.value(f));
    kamoku.set("科_主要F", 0);
    kamoku.set("科_時間数", 0);
    kamoku.set("科_備考", QString());
    kamoku.update();
    return true;
}

void 教科コピー::B確定_Click() {
    if (shownWithError_) {
        showMessage(ctx().message);
        return;
    }
    const auto added = std::count_if(target_.rows.begin(), target_.rows.end(),
                                     [](const Row& r) { return r.added; });
    const QString nothing = QStringLiteral(
        "コピーする教科がありません。コピー元の教科を選んでコピー先に加えてから確定してください。");
    if (added == 0) {
        showMessage(nothing);
        return;
    }
    if (!ask(QStringLiteral("指示内容でコピーします。"))) return;
    int copied = 0;
    // The target's own subjects in the list are left as they are stored.
    for (const Row& row : target_.rows)
        if (row.added && copyRow(row)) ++copied;
    if (copied == 0) {
        showMessage(nothing);
        return;
    }
    fill(target_);
    showMessage(QStringLiteral("教科はコピーされました。"));
}

void 教科コピー::終了_Click() {
    close();
}
