#pragma once

#include <functional>
#include <map>

#include "ui/screen.h"

class QPushButton;

// メニュ: the main menu. Loading it runs the initial processing; each button opens its screen as
// an independent window while the menu stays open.
class メニュ : public Screen {
public:
    explicit メニュ(const QDate& today);

    // The screens the menu can open, by form name; a button whose screen is not here is shown
    // disabled.
    using Factory = std::function<Screen*()>;
    static std::map<QString, Factory>& screens();
    // Actions that run without a screen (the reorganization), by control name.
    static std::map<QString, std::function<void(Screen&)>>& actions();

    // Opens a screen by its form name, as its button does; nullptr when there is none.
    Screen* open(const QString& formName);

private:
    void Form_Load(const QDate& today);
    void updateTitle();
    void B年度設定_Click();
};
