#include "app/main_menu.h"

#include <algorithm>

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleOption>
#include <QVBoxLayout>

#include "app/initial_processing.h"
#include "app/screen_registry.h"
#include "app/year_setup.h"
#include "common/school_masters.h"
#include "context/school_context.h"
#include "data/recordset.h"
#include "ui/fonts.h"

namespace {

struct MenuButton {
    const char* control;
    const char* caption;
    const char* form;  // the screen it opens; "" for actions and buttons without a function
};

struct Panel {
    const char* caption;
    std::vector<MenuButton> buttons;
};

const std::vector<Panel>& panels() {
    static const std::vector<Panel> p = {
        {"授業情報",
         {{"B時間割登", "時間割作成", "組時間割"},
          {"B時割コピー", "時間割コピー", "時間割コピー"},
          {"B時割チェック", "時間割チェック", "時間割チェック"},
          {"B自動作成", "時間割自動作成", "時間割自動作成"},
          {"B教員コマ", "教員コマ照会", "教員コマ"},
          {"B時限コマ", "時限コマ照会", "時限コマ"},
          {"B変更通知", "授業変更通知", "変更通知"},
          {"Command8", "希望勤務一覧", ""}}},
        {"授業基本情報",
         {{"B科目登録", "科目登録", "科目登録"},
          {"B教科登録", "教科登録", "教科登録"},
          {"B教科コピー", "科目・教科コピー", "教科コピー"}}},
        {"教員情報",
         {{"B教員登録", "教員登録", "教員登録"},
          {"B教員一括", "教員一括登録", "教員一括"},
          {"B教員一覧", "教員一覧照会", "教員一覧"},
          {"B担任照会", "担任教員照会", "担任照会"},
          {"B担当一覧", "担当教科一覧", "担当一覧"}}},
        {"年度情報",
         {{"B期間登録", "期間登録", "期間登録"}, {"B行事登録", "行事登録", "行事予定"}}},
        {"基本情報",
         {{"B基本情報", "基本情報登録", "基本登録"},
          {"B項目名登", "項目名登録", "項目名登"},
          {"B時程登録", "時程登録", "時程登録"}}},
        {"年度処理", {{"B期末処理", "期末処理", "期末処理"}, {"B再編成", "DB再編成", ""}}},
    };
    return p;
}

// The panels' frames. Fusion draws a group box's frame from an image, and reading the first
// image makes Qt load every image-format plugin to ask whether it reads PNG: for the menu's six
// frames that was a twentieth of the start-up. The same rounded outline is drawn here instead.
class PanelStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        if (element != PE_FrameGroupBox) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        const auto* box = qobject_cast<const QGroupBox*>(widget);
        const int top =
            box && !box->title().isEmpty()
                ? std::max(pixelMetric(PM_ExclusiveIndicatorHeight), option->fontMetrics.height()) +
                      kTitleMargin
                : kTitleMargin;
        const QRect frame = option->rect.adjusted(0, top, -1, -1);
        // The outline of an aliased rounded rectangle of radius 2, pixel for pixel, filled as
        // one-pixel rectangles: stroking the rounded path cost a hundred times more, and even
        // straight strokes blend pixel by pixel where a fill writes whole spans.
        const QColor line = option->palette.window().color().darker(112);
        const int l = frame.left(), t = frame.top();
        const int r = l + frame.width(), b = t + frame.height();
        painter->fillRect(frame.adjusted(1, 1, -1, -1), option->palette.window().color().darker(104));
        painter->fillRect(QRect(l + 1, t, r - l - 2, 1), line);
        painter->fillRect(QRect(l, t + 1, 1, b - t - 2), line);
        painter->fillRect(QRect(r, t + 2, 1, b - t - 3), line);
        painter->fillRect(QRect(l + 2, b, r - l - 3, 1), line);
        painter->fillRect(QRect(r - 1, t + 1, 1, 1), line);
        painter->fillRect(QRect(r - 1, b - 1, 1, 1), line);
        painter->fillRect(QRect(l + 1, b - 1, 1, 1), line);
    }

private:
    static constexpr int kTitleMargin = 4;  // Fusion's own
};

}  // namespace

std::map<QString, メニュ::Factory>& メニュ::screens() {
    static std::map<QString, Factory> s = menuScreens();
    return s;
}

std::map<QString, std::function<void(Screen&)>>& メニュ::actions() {
    static std::map<QString, std::function<void(Screen&)>> a;
    return a;
}

メニュ::メニュ(const QDate& today) : Screen("メニュ", QStringLiteral("時間割")) {
    // The menu is the last window to go: closing it ends the program.
#ifndef Q_OS_WIN
    // The captions are drawn without hinting: the light hinting the font configuration asks for
    // runs FreeType's autohinter on every Japanese glyph, a tenth of the start-up for the menu's
    // few dozen characters. Windows renders without it. The menu shows only its own captions.
    QFont unhinted = captionFont(font());
    unhinted.setHintingPreference(QFont::PreferNoHinting);
    setFont(unhinted);
#endif
    auto* layout = new QGridLayout(this);
    auto* panelStyle = new PanelStyle;
    panelStyle->setParent(this);
    int n = 0;
    for (const Panel& panel : panels()) {
        auto* box = new QGroupBox(QString::fromUtf8(panel.caption), this);
        box->setStyle(panelStyle);
        auto* column = new QVBoxLayout(box);
        for (const MenuButton& b : panel.buttons) {
            const QString form = QString::fromUtf8(b.form);
            const QString name = QString::fromUtf8(b.control);
            QPushButton* button = this->button(b.control, QString::fromUtf8(b.caption), nullptr);
            button->setMinimumSize(150, 36);
            if (!form.isEmpty() && screens().count(form)) {
                connect(button, &QPushButton::clicked, this, [this, form] { open(form); });
            } else if (actions().count(name)) {
                connect(button, &QPushButton::clicked, this,
                        [this, name] { run([&] { actions()[name](*this); }); });
            } else {
                button->setEnabled(false);
            }
            column->addWidget(button);
        }
        column->addStretch();
        layout->addWidget(box, n / 3, n % 3);
        ++n;
    }
    QPushButton* quit = button("終了", QStringLiteral("終了"), [this] { close(); });
    // Esc closes the screens over the menu; on the menu itself it would end the program.
    setEscapeCloses(false);
    layout->addWidget(quit, 2, 2, Qt::AlignRight | Qt::AlignBottom);

    // Without a business year every screen would work in year 0: say so, and offer the set-up
    // again to a user who closed it at the first start.
    auto* noYear = new QWidget(this);
    noYear->setObjectName("F業務年度");
    auto* noYearRow = new QHBoxLayout(noYear);
    noYearRow->setContentsMargins(0, 0, 0, 0);
    auto* hint = label("L業務年度", QStringLiteral("業務年度が登録されていません。"));
    // Red and bold through the palette and the font: a style sheet would bring in the style
    // sheet engine at every start for a line most starts hide.
    QPalette red = hint->palette();
    red.setColor(QPalette::WindowText, QColor(0xc0, 0x00, 0x00));
    hint->setPalette(red);
    QFont bold = hint->font();
    bold.setBold(true);
    hint->setFont(bold);
    noYearRow->addWidget(hint);
    noYearRow->addWidget(
        button("B年度設定", QStringLiteral("業務年度の設定..."), [this] { B年度設定_Click(); }));
    noYearRow->addStretch();
    layout->addWidget(noYear, 3, 0, 1, 3);
    run([&] { Form_Load(today); });
}

void メニュ::B年度設定_Click() {
    ctx().resetReporting();
    showModal(new 年度登録(this));
    ctx().title = QStringLiteral("初期処理");
    if (ctx().errorFlag == 1) showMessage(ctx().message);
    ctx().resetReporting();
    updateTitle();
}

void メニュ::Form_Load(const QDate& today) {
    control<QPushButton>("B項目名登")->setVisible(true);
    ctx().errorFlag = 0;
    ctx().title = QStringLiteral("初期処理");
    初期処理(ctx(), today, [this] { showModal(new 年度登録(this)); });
    // The set-up screen shares these values and leaves its own title in them.
    ctx().title = QStringLiteral("初期処理");
    if (ctx().errorFlag == 1) showMessage(ctx().message);
    updateTitle();
}

void メニュ::updateTitle() {
    const QString name = schoolName();
    QString title = QStringLiteral("時間割");
    if (!name.isEmpty()) title += QStringLiteral(" － ") + name;
    if (school().businessYear > 0) title += QStringLiteral("　%1年度").arg(school().businessYear);
    // On a shared server the title says which school database this workstation works on.
    if (Database::isOpen() && db().onServer())
        title += QStringLiteral("　［%1］").arg(db().displayName());
    setWindowTitle(title);
    control<QWidget>("F業務年度")->setVisible(school().businessYear == 0);
}

Screen* メニュ::open(const QString& formName) {
    const auto it = screens().find(formName);
    if (it == screens().end()) return nullptr;
    Screen* s = nullptr;
    run([&] { s = it->second(); });
    if (s) s->show();
    return s;
}
