#pragma once

#include <functional>
#include <vector>

#include <QString>
#include <QStringList>

#include "context/work_context.h"
#include "data/recordset.h"

class Grid;
class QWidget;
class Screen;

// The list of a registration screen: a grid whose row 0 carries the headings on light yellow and
// whose rows below hold one entry each, the picked one on light green.
class EntryList {
public:
    struct Layout {
        QStringList headings;     // one per column
        std::vector<int> widths;  // twips, one per column
        int entryRows = 49;       // rows 1..entryRows before the list grows
        int fixedRows = 0;
        // A kind with more entries than rows gets more rows. Without growing, entries beyond
        // the last row are left out of the list (and append() says so).
        bool grows = true;
        int headingAlignment = 0;  // alignment code of the heading row; 0 leaves it as it is
    };

    EntryList(Grid* grid, Layout layout);

    // Clears the grid and lays it out again; nothing is listed or highlighted afterwards.
    void reset();
    // Writes the next entry's cells; false when the list is full and does not grow.
    bool append(const QStringList& cells);
    int count() const { return count_; }
    // Rows 1..count() hold entries; the heading row and the empty rows below do not.
    bool isEntry(int row) const { return row >= 1 && row <= count_; }
    QString cell(int row, int col) const;

    // Paints the previously highlighted row back to white and this one light green.
    void highlight(int row);
    // Paints the highlighted row back to white; nothing is highlighted afterwards.
    void clearHighlight();
    int highlighted() const { return highlighted_; }

    Grid* grid() const { return grid_; }

private:
    void paintRow(int row, int colour);

    Grid* grid_;
    Layout layout_;
    int count_ = 0;
    int highlighted_ = 0;
};

// What one registration screen says about its table; everything else is the same on every
// registration screen and is done by Registration.
struct RegistrationPlan {
    QString table;
    QString index;          // the unique key
    QStringList keyFields;  // in index order; written when an entry is added
    QString subject;        // "<subject>は更新(登録)されました。"

    QString updateQuestion = QStringLiteral("入力内容で更新します。");
    QString deleteQuestion = QStringLiteral("入力内容を削除します。");
    QString notRegistered = QStringLiteral("指定された名称は登録されていません。");
    QString deleted = QStringLiteral("表示内容は削除されました。");
    QString notFoundOnPick;  // empty: notRegistered
    QString outOfRange = QStringLiteral("指示位置が有効範囲外です。");
    // A delete that found nothing refills the list too (some screens do, to show what is there).
    bool refillWhenNotRegistered = false;

    // The whole-form check. The reporting values are cleared before it runs; it reports through
    // the checks (error flag, first failure's message and focus).
    std::function<void()> checks;
    // The key of the entry in the inputs (save and delete) and of a listed row (pick).
    std::function<std::vector<Value>()> key;
    std::function<std::vector<Value>(int row)> keyOfRow;
    // Optional, instead of keyOfRow: the key of each listed record, kept while it is listed. A
    // pick then finds exactly the record of that row, also when the row's texts do not name all
    // of its key (a course code no column shows, a common row listed under one department).
    std::function<std::vector<Value>(const Recordset& rs)> listedKey;
    // Writes the fields the screen owns, other than the key, into the added or edited record.
    std::function<void(Recordset& rs, bool added)> write;
    // Puts a picked entry into the inputs.
    std::function<void(const Recordset& rs)> show;
    // Optional: runs in the same operation right after an entry is deleted, before the list is
    // refilled, for a table whose other records point at the entry by key.
    std::function<void(const std::vector<Value>& key)> removed;

    // The list: seek ">=" on listFrom() in listIndex (empty: the key index), list records while
    // within() holds (index order keeps them together), skipping those shown() refuses.
    QString listIndex;
    std::function<std::vector<Value>()> listFrom;
    std::function<bool(const Recordset& rs)> within;
    std::function<bool(const Recordset& rs)> shown;  // optional
    std::function<QStringList(const Recordset& rs)> cells;
    // Runs after every fill with the number of entries listed (optional).
    std::function<void(int listed)> filled;
};

// The registration steps every master screen follows: save (check, ask, add or edit, report,
// relist), delete (ask, find, delete, report, relist) and pick from the list. Each step runs
// inside the screen's handler and so inside its one database operation.
class Registration {
public:
    enum class Outcome { Refused, Declined, Added, Updated, NotRegistered, Deleted };

    // A screen that picks its entries from a drop-down instead of a list passes no grid: it has
    // nothing to refill or pick, and refreshes its drop-down itself after save() and remove().
    Registration(Screen& screen, Grid* grid, EntryList::Layout layout, RegistrationPlan plan);

    Outcome save();
    Outcome remove();
    // Deletes the entry of the given key instead of the one in the inputs: for a screen whose
    // inputs may have been edited since the entry to delete was picked.
    Outcome remove(const std::vector<Value>& key);
    // A click on the list: an entry row is highlighted and shown; any other row is refused with
    // the out-of-range message and changes nothing.
    void pick(int row);
    // Lists the entries again; returns how many were listed.
    int refill();
    // The key kept for a listed row (plans with listedKey); empty for any other row.
    std::vector<Value> listedKeyOf(int row) const;

    EntryList& list() { return list_; }

private:
    Screen& screen_;
    EntryList list_;
    RegistrationPlan plan_;
    std::vector<std::vector<Value>> listedKeys_;  // row 1 first
    // The entry last picked from the list, as it was read: saving it again is refused when the
    // stored record no longer holds that (another workstation changed or deleted it meanwhile).
    std::vector<Value> pickedKey_;
    std::vector<Value> pickedRecord_;
};

// The department and grade pickers of the registration screens, decoded without the selection
// lists' own wording: a miss is reported as these screens word it ("学部を正しく選択して下さい",
// "学年を正しく選択して下さい"), with tab position 0 and no colour, as the lists do. `option`
// kWithCommon accepts "共通". True when the picker names an entry.
bool checkDepartment(WorkContext& ctx, QWidget* picker, int option);
bool checkGrade(WorkContext& ctx, QWidget* picker, int option);

// What stored codes are called, for the lists that show them. Each look-up works on a selection
// of its own, so listing never changes what the screen has selected (and so what it writes); a
// code that is no longer registered shows as itself rather than as the name looked up before.
namespace stored_names {
QString department(const QString& code);  // "000": "共通"
QString grade(int grade);                 // the short name; 0: "共通"
QString klass(const QString& departmentCode, const QString& classCode);  // the short name
struct Kamoku {
    int year = 0;
    QString department;
    int grade = 0;
    QString course;
    QString number;
};
enum class Form { Name, ShortName };
QString kamoku(const Kamoku& k, Form form);
QString subject(const Kamoku& k, const QString& number, Form form);
}  // namespace stored_names
