#include "masters/registration.h"

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

void EntryList::paintRow(int row, int colour) {
    grid_->setRow(row);
    grid_->setCol(0);
    grid_->setRowSel(row);
    grid_->setColSel(grid_->cols() - 1);
    grid_->setCellBackColor(colour);
}

// ----------------------------------------------------------------------------- the steps

Registration::Registration(Screen& screen, Grid* grid, EntryList::Layout layout,
                           RegistrationSpec spec)
    : screen_(screen), list_(grid, std::move(layout)), spec_(std::move(spec)) {
    if (spec_.listIndex.isEmpty()) spec_.listIndex = spec_.index;
    if (spec_.notFoundOnPick.isEmpty()) spec_.notFoundOnPick = spec_.notRegistered;
}

Registration::Outcome Registration::save() {
    WorkContext& ctx = screen_.ctx();
    ctx.resetReporting();
    if (spec_.checks) spec_.checks();
    if (ctx.errorFlag == 1) {
        screen_.showMessage(ctx.message);
        return Outcome::Refused;
    }
    if (!screen_.ask(spec_.updateQuestion)) return Outcome::Declined;

    const std::vector<Value> key = spec_.key();
    Recordset rs(spec_.table);
    rs.setIndex(spec_.index);
    rs.seek(Seek::Equal, key);
    const bool added = rs.noMatch();
    if (added) {
        rs.addNew();
        for (int i = 0; i < spec_.keyFields.size() && i < int(key.size()); ++i)
            rs.set(spec_.keyFields[i], key[i]);
    } else {
        rs.edit();
    }
    spec_.write(rs, added);
    rs.update();

    screen_.showMessage(spec_.subject + QStringLiteral("は更新(登録)されました。"));
    refill();
    return added ? Outcome::Added : Outcome::Updated;
}

Registration::Outcome Registration::remove() {
    if (!screen_.ask(spec_.deleteQuestion)) return Outcome::Declined;
    Recordset rs(spec_.table);
    rs.setIndex(spec_.index);
    rs.seek(Seek::Equal, spec_.key());
    if (rs.noMatch()) {
        screen_.showMessage(spec_.notRegistered);
        if (spec_.refillWhenNotRegistered) refill();
        return Outcome::NotRegistered;
    }
    rs.remove();
    screen_.showMessage(spec_.deleted);
    refill();
    return Outcome::Deleted;
}

void Registration::pick(int row) {
    if (!list_.isEntry(row)) {
        screen_.showMessage(spec_.outOfRange);
        return;
    }
    const std::vector<Value> key = spec_.keyOfRow(row);
    list_.highlight(row);
    Recordset rs(spec_.table);
    rs.setIndex(spec_.index);
    rs.seek(Seek::Equal, key);
    if (rs.noMatch()) {
        screen_.showMessage(spec_.notFoundOnPick);
        return;
    }
    spec_.show(rs);
}

int Registration::refill() {
    if (!list_.grid()) return 0;
    list_.reset();
    Recordset rs(spec_.table);
    rs.setIndex(spec_.listIndex);
    rs.seek(Seek::AtLeast, spec_.listFrom());
    for (; !rs.noMatch() && !rs.eof() && spec_.within(rs); rs.moveNext()) {
        if (spec_.shown && !spec_.shown(rs)) continue;
        if (!list_.append(spec_.cells(rs))) break;
    }
    if (spec_.filled) spec_.filled(list_.count());
    return list_.count();
}
