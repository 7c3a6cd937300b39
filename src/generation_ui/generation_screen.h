#pragma once

#include <atomic>
#include <memory>
#include <vector>

#include "common/registration.h"
#include "generation/solver.h"
#include "generation/demand_store.h"
#include "generation_ui/generation_tables.h"
#include "ui/screen.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressDialog;
class QRadioButton;
class QTabWidget;
class Grid;

// 時間割自動作成: the year's standard timetable made by the generator. The user shows a year and a
// department (or 全学部), enters per class what is taught how often by whom (時数), which slots
// teachers, grades and classes cannot use (作成不可), which lessons stay where they are (固定) and
// the weights of the wishes (設定); 作成 searches in the background and shows the proposal class
// by class (作成結果), and 登録 writes it into 組時間割.
class 時間割自動作成 : public Screen {
public:
    時間割自動作成();
    ~時間割自動作成() override;

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    // The frame (generation_screen.cpp).
    void Form_Load();
    void 年度_LostFocus();
    void B表示_Click();
    void G組_Click(int row, int col);
    void showScope();
    void showClass();
    bool refuseWithoutClass();
    const ScopeClass* pickedClass() const;
    QWidget* buildClassList();

    // 時数 (demand_tab.cpp).
    QWidget* buildDemandTab();
    RegistrationPlan demandPlan();
    void checkDemand();
    void C科目_Click();
    void C教員_Click();
    void B確定_Click();
    void B削除_Click();
    void Bクリア_Click();
    void B時数取込_Click();
    void G時数_Click(int row, int col);
    void clearDemandFields();
    void showFollowing(int row, int own = 0);
    int followingRow() const;
    void checkFollowing();
    void listDemand();
    void listClassTotals();

    // 作成不可 (availability_tab.cpp).
    QWidget* buildAvailabilityTab();
    bool unavailableOwner(UnavailableOwner* owner, QString* name);
    void showUnavailable();
    void G不可_Click(int row, int col);

    // 固定 and 設定 (kept_tab.cpp).
    QWidget* buildKeptTab();
    void showKept();
    void G固定_Click(int row, int col);
    void B固定HR_Click();
    QWidget* buildSettingsTab();
    void showSettings();
    void B設定確定_Click();

    // 作成 and 作成結果 (proposal_tab.cpp).
    QWidget* buildProposalTab();
    void B作成_Click();
    bool prepare();
    void solveInBackground();
    void showProposal();
    void showProposalClass();
    void B登録_Click();

    // The year and department shown.
    int year_ = 0;
    QString department_;
    gen::Settings settings_;
    std::vector<ScopeClass> classes_;
    std::unique_ptr<EntryList> classList_;  // G組: one row per class of classes_
    int pickedRow_ = 0;                     // row of G組, 0 = none

    QLineEdit* 年度;
    QComboBox* C学部;
    QLabel* L対象;
    Grid* G組;
    QTabWidget* T作成;

    // 時数
    std::unique_ptr<Registration> demand_;
    Grid* G時数;
    QLineEdit* 行;
    QComboBox* C科目;
    QComboBox* C教科;
    QLineEdit* 教員;
    QComboBox* C教員;
    QLineEdit* 時間数;
    QLineEdit* 連続;
    QLineEdit* 選択;
    QLineEdit* 分散;
    QLineEdit* 間隔;
    QComboBox* C後続;

    // 作成不可
    QRadioButton* O教員;
    QRadioButton* O学年;
    QRadioButton* O組;
    QRadioButton* O全体;
    QComboBox* C不可教員;
    QLabel* L不可対象;
    Grid* G不可;

    // 固定
    Grid* G固定;
    std::set<std::pair<int, int>> kept_;

    // 設定
    QLineEdit* 曜日数;
    QLineEdit* 時限数;
    QLineEdit* 一日最大;
    QCheckBox* 一日最大必須;
    QLineEdit* 重み分散;
    QLineEdit* 重み空き;
    QLineEdit* 重み一日最大;
    QLineEdit* 重み最終時限;
    QLineEdit* 作成秒数;

    // 作成結果
    QLabel* L評価;
    Grid* G結果;
    Grid* G未配置;
    gen::Problem problem_;
    gen::SolveResult result_;
    bool hasProposal_ = false;
    QStringList notes_;  // what the loader and the count before the search found
    // The search running in the background: 中止 and closing the window ask it to stop.
    std::shared_ptr<std::atomic<bool>> stop_;
    bool solving_ = false;
};

// A whole number in min..max (full-width digits accepted, an empty field is 0), refused in the
// checks' way with a message that names the field and the range.
void checkRange(WorkContext& ctx, QWidget* field, const QString& name, int min, int max);
