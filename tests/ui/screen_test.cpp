// What every screen gets from its base: handlers behind one operation each, engine errors shown
// once and rolled back, lost-focus wiring, and a shared context for modal sub-screens only.

#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include "support/screen_driver.h"
#include "ui/fields.h"
#include "ui/grid.h"

namespace {

class SampleScreen : public Screen {
public:
    explicit SampleScreen(Screen* caller = nullptr) : Screen("見本", "見本画面", caller) {
        ctx().title = QStringLiteral("見本のタイトル");
        field = textBox("名称", 20);
        onLostFocus(field, [this] { ++lostFocus; });
        button("B確定", "確定", [this] { writeThenFail(); });
        button("B追加", "追加", [this] { add("002"); });
        button("B保存", "保存", [this] {
            add("003", field->text());
            afterCommit([this] { ++stored; });
            showMessage(QStringLiteral("保存しました"));
        });
    }

    void add(const char* no, const QString& name = {}) {
        Recordset rs("マスタ");
        rs.addNew();
        rs.set("マ_番号", "002");
        rs.set("マ_連番", no);
        rs.set("マ_名称", name);
        rs.update();
    }

    // Writes one record, then meets an index the table does not have.
    void writeThenFail() {
        add("001");
        Recordset rs("マスタ");
        rs.setIndex("Idx_無い索引");
    }

    QLineEdit* field;
    int lostFocus = 0;
    int stored = 0;
};

// Built in an order unlike the one it is laid out in, as screens are.
class LaidOutScreen : public Screen {
public:
    LaidOutScreen() : Screen("配置", "配置") {
        auto* ok = button("B確定", "確定", {});
        auto* list = grid("G一覧", [this](int r, int c) { clicked = {r, c}; });
        auto* show = button("B表示", "表示", {});
        auto* klass = comboBox("C組");
        auto* year = textBox("年度", 4);
        auto* top = new QHBoxLayout;
        top->addWidget(labelled("年度", year));
        top->addWidget(labelled("組", klass));
        top->addWidget(show);
        auto* layout = new QVBoxLayout(this);
        layout->addLayout(top);
        layout->addWidget(list);
        layout->addWidget(ok);
        list->setRows(3);
        list->setCols(3);
    }
    std::pair<int, int> clicked{-1, -1};
};

class ScreenBaseTest : public ScreenTest {};

TEST_F(ScreenBaseTest, AnEngineErrorIsShownOnceRolledBackAndTheScreenStaysUsable) {
    ScreenDriver d(new SampleScreen);
    d.click("B確定");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.last().contains("Idx_無い索引"));
    EXPECT_TRUE(messages.last().contains("取り消されました"));
    EXPECT_EQ(messages.shown[0].title, "見本のタイトル");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_TRUE(records("マスタ").empty());

    d.click("B追加");
    EXPECT_EQ(records("マスタ").size(), 1u);
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(ScreenBaseTest, LeavingAFieldRunsItsLostFocusHandler) {
    ScreenDriver d(new SampleScreen);
    auto& s = static_cast<SampleScreen&>(d.screen());
    d.set("名称", "abc");
    d.leave("名称");
    EXPECT_EQ(s.lostFocus, 1);
    EXPECT_EQ(d.text("名称"), "abc");
}

TEST_F(ScreenBaseTest, OnlyAModalSubScreenSharesItsCallersValues) {
    SampleScreen a, b;
    a.ctx().departmentCode = "001";
    b.ctx().departmentCode = "002";
    EXPECT_EQ(a.ctx().departmentCode, "001");
    SampleScreen sub(&a);
    sub.ctx().slotWeekday = 3;
    EXPECT_EQ(a.ctx().slotWeekday, 3);
    EXPECT_EQ(b.ctx().slotWeekday, 0);
}

TEST_F(ScreenBaseTest, WorkDoneBeforeAModalScreenIsKeptWhenTheModalScreenFails) {
    auto* caller = new SampleScreen;
    ScreenDriver d(caller);
    onModal([](ScreenDriver& sub) { sub.click("B確定"); });  // fails inside the sub-screen
    caller->run([&] {
        caller->add("010");
        caller->showModal(new SampleScreen(caller));
        caller->add("011");
    });
    QStringList numbers;
    for (const Record& r : records("マスタ")) numbers << r.at("マ_連番").toText();
    EXPECT_EQ(numbers, QStringList({"010", "011"}));
    EXPECT_EQ(modalOpened, QStringList({"見本"}));
}

TEST_F(ScreenBaseTest, SuccessIsReportedOnlyOnceTheFileHasTheWork) {
    SKIP_ON_SERVER();
    ScreenDriver d(new SampleScreen);
    auto& s = static_cast<SampleScreen&>(d.screen());
    d.set("名称", "𠮷田");
    {
        // Another program reads the file: this one's commit cannot go through.
        OtherProgram other(OtherProgram::Hold::Read);
        d.click("B保存");
    }
    ASSERT_EQ(messages.shown.size(), 1u) << messages.texts().join("|").toStdString();
    EXPECT_TRUE(messages.last().contains("他のプログラムが使用中"))
        << messages.last().toStdString();
    EXPECT_FALSE(messages.last().contains("時間割のデータベースではありません"));
    EXPECT_EQ(s.stored, 0);
    EXPECT_TRUE(records("マスタ").empty());

    // The file free again, the same click stores, then says so.
    messages.clear();
    d.click("B保存");
    EXPECT_EQ(messages.texts(), QStringList({"保存しました"}));
    EXPECT_EQ(s.stored, 1);
    ASSERT_EQ(records("マスタ").size(), 1u);
    EXPECT_EQ(records("マスタ")[0].at("マ_名称"), Value("𠮷田"));
}

TEST_F(ScreenBaseTest, APrintIsPreviewedOnceItsOperationHasEndedAndItsMessageAfterIt) {
    ScreenDriver d(new SampleScreen);
    auto& s = d.screen();
    QStringList events;
    setPrintSink([&](const PrintedDocument&) {
        events << (db().inOperation() ? "preview inside the operation" : "preview");
        events << messages.texts();
    });
    s.run([&] {
        static_cast<SampleScreen&>(s).add("004");
        Printer p(QStringLiteral("見本"));
        p.endDoc();
        s.showMessage(QStringLiteral("出力を終了しました"));
    });
    EXPECT_EQ(events, QStringList({"preview"}));  // no message before the sheet
    EXPECT_EQ(messages.texts(), QStringList({"出力を終了しました"}));
}

TEST_F(ScreenBaseTest, AFileHeldByAnotherProgramIsReportedAsInUseForEveryOperation) {
    SKIP_ON_SERVER();
    ScreenDriver d(new SampleScreen);
    OtherProgram other(OtherProgram::Hold::Write);
    d.click("B追加");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.last().contains("他のプログラムが使用中"));
    EXPECT_TRUE(messages.last().contains("取り消されました"));
}

TEST_F(ScreenBaseTest, LengthsCountCharactersAndNeverCutOneInHalf) {
    ScreenDriver d(new SampleScreen);
    const QString yoshi = QStringLiteral("𠮷");
    d.set("名称", yoshi.repeated(21));
    EXPECT_EQ(textLength(d.text("名称")), 20);
    EXPECT_EQ(d.text("名称"), yoshi.repeated(20));
    d.set("名称", QStringLiteral("ab") + yoshi.repeated(19) + QStringLiteral("😀"));
    EXPECT_EQ(d.text("名称"), QStringLiteral("ab") + yoshi.repeated(18));
    EXPECT_EQ(leftText(QStringLiteral("a😀b"), 2), QStringLiteral("a😀"));
}

TEST_F(ScreenBaseTest, TabFollowsTheLayoutAGridIsOneStopAndReturnOnACellClicksIt) {
    LaidOutScreen s;
    s.show();
    s.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&s));
    QWidget* year = s.control("年度");
    year->setFocus();
    QStringList order;
    for (int i = 0; i < 5; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* w = QApplication::focusWidget();
        while (w && w->objectName().isEmpty()) w = w->parentWidget();  // a drop-down's editor
        order << (w ? w->objectName() : QString());
    }
    EXPECT_EQ(order, QStringList({"C組", "B表示", "G一覧", "B確定", "年度"}));

    auto* list = s.control<Grid>("G一覧");
    list->setFocus();
    list->setCurrentIndex(list->model()->index(0, 0));
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Right);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(s.clicked, std::make_pair(1, 1));
    QTest::keyClick(list, Qt::Key_Right);
    QTest::keyClick(list, Qt::Key_Space);
    EXPECT_EQ(s.clicked, std::make_pair(1, 2));
}

TEST_F(ScreenBaseTest, AModalScreenOpensOverItsCallerAndEscClosesIt) {
    auto* caller = new SampleScreen;
    ScreenDriver d(caller);
    caller->setGeometry(200, 150, 700, 500);
    caller->show();
    struct CloseWatch : QObject {
        bool closed = false;
        bool eventFilter(QObject*, QEvent* e) override {
            closed |= e->type() == QEvent::Close;
            return false;
        }
    } watch;
    QRect opened;
    bool closed = false;
    onModal([&](ScreenDriver& sub) {
        opened = sub.screen().frameGeometry();
        sub.screen().installEventFilter(&watch);
        QTest::keyClick(&sub.screen(), Qt::Key_Escape);
        closed = watch.closed;
    });
    caller->run([&] { caller->showModal(new SampleScreen(caller)); });
    EXPECT_LE((opened.center() - caller->frameGeometry().center()).manhattanLength(), 2);
    EXPECT_TRUE(closed);

    // Wider than a caller at the display's edge: it still opens whole on the display.
    caller->setGeometry(0, 0, 300, 200);
    onModal([&](ScreenDriver& sub) { opened = sub.screen().frameGeometry(); });
    auto* wide = new SampleScreen(caller);
    wide->setMinimumWidth(900);
    caller->run([&] { caller->showModal(wide); });
    EXPECT_GE(opened.left(), caller->screen()->availableGeometry().left());
}

TEST_F(ScreenBaseTest, AQuestionOpensOverItsScreenAndReturnOnItAnswersNo) {
    SampleScreen s;
    ScreenDriver d(&s, false);
    d.showActive();
    setMessageService(nullptr);  // the real dialogs
    QWidget* parent = nullptr;
    QString title;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        parent = box->parentWidget();
        title = box->windowTitle();
        QTest::keyClick(box, Qt::Key_Return);
    });
    const bool yes = s.ask(QStringLiteral("登録内容を削除します。"));
    setMessageService(&messages);
    EXPECT_FALSE(yes);
    EXPECT_EQ(parent, &s);
    EXPECT_EQ(title, "見本のタイトル");
}

TEST_F(ScreenBaseTest, FunctionKeysPressTheirButtonsWhateverTheCaptionAndEscLeaves) {
    SampleScreen s;
    ScreenDriver d(&s, false);
    d.showActive();

    // The store button of this screen is B保存; renamed, it takes the store key.
    d.control<QPushButton>("B確定")->setObjectName("B失敗");
    d.control<QPushButton>("B保存")->setObjectName("B確定");
    d.control<QPushButton>("B確定")->setText("登録");  // a caption set later keeps the key
    d.focus("名称");
    const int left = s.lostFocus;
    d.key(Qt::Key_F2);
    EXPECT_EQ(messages.texts(), QStringList({"保存しました"}));
    EXPECT_EQ(s.lostFocus, left + 1);  // the field was left, and checked, before the button acted
    d.key(Qt::Key_Escape);
    EXPECT_FALSE(s.isVisible());
}

TEST_F(ScreenBaseTest, ARedFieldTurnsBlackWhenAnEntryIsPickedAndOnlyItsTextIsRed) {
    LaidOutScreen s;
    ScreenDriver d(&s, false);
    auto* klass = s.control<QComboBox>("C組");
    klass->addItems({"1組", "2組"});
    setFieldColour(klass, 12);
    EXPECT_EQ(klass->lineEdit()->palette().color(QPalette::Text), QColor(255, 0, 0));
    EXPECT_NE(klass->view()->palette().color(QPalette::Text), QColor(255, 0, 0));
    d.pick("C組", "2組");
    EXPECT_EQ(d.colour("C組"), 0);
}

}  // namespace
