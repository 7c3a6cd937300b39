#pragma once

#include <array>

#include "maintenance/term_end.h"
#include "ui/screen.h"

class QCheckBox;
class QLabel;
class QLineEdit;

// 期末処理: moves the school into the next business year. The year that ends is rolled forward
// in 業務年度, the ticked kinds of its data are carried into the new year, and the ticked kinds
// older than the retention period are deleted — all in one operation.
class 期末処理 : public Screen {
public:
    期末処理();

private:
    void Form_Load();
    void 旧年度_LostFocus();
    void 新年度_LostFocus();
    void 開始日_LostFocus();
    void 終了日_LostFocus();
    void B確定_Click();

    void checkAll();
    QString readRetention();
    void showRetention();

    QLineEdit* 旧年度;
    QLineEdit* 新年度;
    QLineEdit* 開始日;
    QLineEdit* 終了日;
    QLabel* L保存期間;
    std::array<QCheckBox*, kCarriedTables> 移行_{};
    std::array<QCheckBox*, kDeletedTables> 削除_{};
    int retention_ = kDefaultRetention;
};
