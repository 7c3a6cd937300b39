#include "common/registration.h"

#include "common/checks.h"
#include "common/list_support.h"
#include "common/selection_lists.h"
#include "common/shown_records.h"
#include "context/school_context.h"
#include "data/recordset.h"
#include "ui/grid.h"
#include "ui/palette.h"
#include "ui/screen.h"

// ----------------------------------------------------------------------------- the list

EntryList::EntryList(Grid* grid, Layout layout) : grid_(grid), layout_(std::move(layout)) {}

void EntryList::reset() {
    const int cols = int(layout_.headings.size());
    grid_->setRows(0);
    grid_->setCols(0);
    grid_->setRows(layout_.entryRows + 1);
    grid_->setCols(cols);
    grid_->setFixedRows(layout_.fixedRows);
    grid_->setFixedCols(0);
    for (int c = 0; c < cols; ++c) {
        grid_->setColWidth(c, c < int(layout_.widths.size()) ? layout_.widths[c] : 950);
        grid_->setTextMatrix(0, c, layout_.headings[c]);
    }
    paintRow(0, colour::kLightYellow);
    if (layout_.headingAlignment != 0) grid_->setCellAlignment(layout_.headingAlignment);
    count_ = 0;
    highlighted_ = 0;
}

bool EntryList::append(const QStringList& cells) {
    const int row = count_ + 1;
    if (row >= grid_->rows()) {
        if (!layout_.grows) return false;
        grid_->setRows(row + 1);
    }
    for (int c = 0; c < cells.size() && c < grid_->cols(); ++c)
        grid_->setTextMatrix(row, c, cells[c]);
    count_ = row;
    return true;
}

QString EntryList::cell(int row, int col) const {
    return grid_->textMatrix(row, col);
}

void EntryList::highlight(int row) {
    if (highlighted_ > 0) paintRow(highlighted_, colour::kWhite);
    paintRow(row, colour::kLightGreen);
    highlighted_ = row;
}

void EntryList::clearHighlight() {
    if (highlighted_ > 0) paintRow(highlighted_, colour::kWhite);
    highlighted_ = 0;
}

void EntryList::paintRow(int row, int colour) {
    grid_->setRow(row);
    grid_->setCol(0);
    grid_->setRowSel(row);
    grid_->setColSel(grid_->cols() - 1);
    grid_->setCellBackColor(colour);
}

// ----------------------------------------------------------------------------- the steps

Registration::Registration(Screen& screen, Grid* grid, EntryList::Layout layout,
                           RegistrationPlan plan)
    : screen_(screen), list_(grid, std::move(layout)), plan_(std::move(plan)) {
    if (plan_.listIndex.isEmpty()) plan_.listIndex = plan_.index;
    if (plan_.notFoundOnPick.isEmpty()) plan_.notFoundOnPick = plan_.notRegistered;
}

Registration::Outcome Registration::save() {
    WorkContext& ctx = screen_.ctx();
    ctx.resetReporting();
    if (plan_.checks) plan_.checks();
    if (ctx.errorFlag == 1) {
        screen_.showMessage(ctx.message);
        return Outcome::Refused;
    }
    if (!screen_.ask(plan_.updateQuestion)) return Outcome::Declined;

    const std::vector<Value> key = plan_.key();
    Recordset rs(plan_.table);
    rs.setIndex(plan_.index);
    rs.seek(Seek::Equal, key);
    const bool added = rs.noMatch();
    const bool picked = !pickedKey_.empty() && key == pickedKey_;
    if (picked && (added || recordValues(rs) != pickedRecord_)) {
        pickedKey_.clear();
        screen_.showMessage(kChangedText);
        return Outcome::Refused;
    }
    if (added) {
        rs.addNew();
        for (int i = 0; i < plan_.keyFields.size() && i < int(key.size()); ++i)
            rs.set(plan_.keyFields[i], key[i]);
    } else {
        rs.edit();
    }
    plan_.write(rs, added);
    rs.update();
    if (picked) pickedRecord_ = recordValues(rs);

    screen_.showMessage(plan_.subject + QStringLiteral("は更新(登録)されました。"));
    refill();
    return added ? Outcome::Added : Outcome::Updated;
}

Registration::Outcome Registration::remove() {
    return remove(plan_.key());
}

Registration::Outcome Registration::remove(const std::vector<Value>& key) {
    if (!screen_.ask(plan_.deleteQuestion)) return Outcome::Declined;
    Recordset rs(plan_.table);
    rs.setIndex(plan_.index);
    rs.seek(Seek::Equal, key);
    if (rs.noMatch()) {
        screen_.showMessage(plan_.notRegistered);
        if (plan_.refillWhenNotRegistered) refill();
        return Outcome::NotRegistered;
    }
    rs.remove();
    if (plan_.removed) plan_.removed(key);
    screen_.showMessage(plan_.deleted);
    refill();
    return Outcome::Deleted;
}

void Registration::pick(int row) {
    if (!list_.isEntry(row)) {
        screen_.showMessage(plan_.outOfRange);
        return;
    }
    const std::vector<Value> key = plan_.listedKey ? listedKeyOf(row) : plan_.keyOfRow(row);
    list_.highlight(row);
    Recordset rs(plan_.table);
    rs.setIndex(plan_.index);
    rs.seek(Seek::Equal, key);
    if (rs.noMatch()) {
        screen_.showMessage(plan_.notFoundOnPick);
        return;
    }
    pickedKey_ = key;
    pickedRecord_ = recordValues(rs);
    plan_.show(rs);
}

int Registration::refill() {
    if (!list_.grid()) return 0;
    list_.reset();
    listedKeys_.clear();
    Recordset rs(plan_.table);
    rs.setIndex(plan_.listIndex);
    rs.seek(Seek::AtLeast, plan_.listFrom());
    for (; !rs.noMatch() && !rs.eof() && plan_.within(rs); rs.moveNext()) {
        if (plan_.shown && !plan_.shown(rs)) continue;
        if (!list_.append(plan_.cells(rs))) break;
        if (plan_.listedKey) listedKeys_.push_back(plan_.listedKey(rs));
    }
    if (plan_.filled) plan_.filled(list_.count());
    return list_.count();
}

std::vector<Value> Registration::listedKeyOf(int row) const {
    if (row < 1 || row > int(listedKeys_.size())) return {};
    return listedKeys_[row - 1];
}

// ----------------------------------------------------------------------------- pickers

bool checkDepartment(WorkContext& ctx, QWidget* picker, int option) {
    if (CMB学部(ctx, 学部::ByNameSilent, option, picker) == 0) return true;
    reportError(ctx, picker, QStringLiteral("学部を正しく選択して下さい"));
    return false;
}

bool checkGrade(WorkContext& ctx, QWidget* picker, int option) {
    if (CMB学年(ctx, 学年::ByTextSilent, option, picker) == 0) return true;
    reportError(ctx, picker, QStringLiteral("学年を正しく選択して下さい"));
    return false;
}

// ----------------------------------------------------------------------------- stored names

namespace stored_names {

// The names come from the masters loaded at start-up and one record each: a list names four
// things on every line, and a working context per name (with its slot tables) cost more than the
// records themselves.
QString department(const QString& code) {
    if (code == kCommonCode) return kCommonName;
    const SchoolContext& s = school();
    for (int i = 1; i <= SchoolContext::kMaxDepartments && !s.departments[i].code.isEmpty(); ++i)
        if (s.departments[i].code == code) return s.departments[i].name;
    return code;
}

QString grade(int grade) {
    if (grade == 0) return kCommonName;
    const SchoolContext& s = school();
    for (int i = 1; i <= SchoolContext::kMaxGrades && !s.grades[i].name.isEmpty(); ++i)
        if (grade > 0 && list_support::numberOf(s.grades[i].name) == grade)
            return s.grades[i].shortName;
    return QString::number(grade);
}

QString klass(const QString& departmentCode, const QString& classCode) {
    WorkContext scratch;
    if (CMB学部(scratch, 学部::ByCode, list_option::kPlain, departmentCode) == 0 &&
        CMB組(scratch, 組::ByName, list_option::kSilent, classCode) == 0)
        return scratch.classText;
    return classCode;
}

QString kamoku(const Kamoku& k, Form form) {
    Recordset rs("科目");
    rs.setIndex("Key_科目");
    rs.seek(Seek::Equal, {k.year, k.department, k.grade, k.course, k.number});
    if (rs.noMatch()) return k.number;
    return rs.text(form == Form::Name ? "科_名称" : "科_略称");
}

QString subject(const Kamoku& k, const QString& number, Form form) {
    Recordset rs("教科");
    rs.setIndex("Key_教科");
    rs.seek(Seek::Equal, {k.year, k.department, k.grade, k.course, k.number, number});
    if (rs.noMatch()) return number;
    return rs.text(form == Form::Name ? "教_名称" : "教_略称");
}

}  // namespace stored_names
