#pragma once

#include <memory>

#include "common/registration.h"
#include "ui/screen.h"

class QComboBox;
class QHBoxLayout;
class QLineEdit;

// What 科目登録 and 教科登録 share: both keep the course subjects and subjects of one year,
// department and grade, chosen with 年度, C学部 and C学年, and both list them in a registration
// list. The department may stay empty (course subjects of no particular department).
class 科目教科画面 : public Screen {
protected:
    科目教科画面(const char* formName, const QString& caption, const QString& title);

    // The year, department and grade row with its 表示 button (creates the controls).
    QHBoxLayout* scopeRow(std::function<void()> onShow);
    // The 確定, 削除 and 終了 row.
    QHBoxLayout* buttonRow();
    // The list heading row and widths: "番号", "略称", "名称", "備考".
    static EntryList::Layout listLayout(std::vector<int> widths);

    // Form_Load's common part: reporting cleared, title, year, and the two pickers filled.
    void loadScope();
    void 年度_LostFocus();
    void C学部_Click();
    void C学年_Click();
    // The three checks in their order, as 表示 and 確定 run them.
    void checkScope();

    // What the registration steps need of both screens: the delete wording and the key fields.
    void plainTexts(RegistrationPlan& plan, const QString& noun) const;
    std::vector<Value> scopeKey();
    // Whether a listed record (fields with `prefix`) still belongs to the list of the selection:
    // the year and grade, and the department unless it is left empty. With no department the
    // list runs on from the empty code into the other departments of the year and grade; their
    // rows are listed but cannot be picked, since this selection does not reach them.
    bool withinScope(const Recordset& rs, const char* prefix);

    QLineEdit* 年度 = nullptr;
    QComboBox* C学部 = nullptr;
    QComboBox* C学年 = nullptr;
    std::unique_ptr<Registration> registration_;

private:
    QString title_;
};
