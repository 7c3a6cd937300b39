#pragma once

#include <functional>
#include <map>

#include <QString>

class Screen;

// Every screen the menu opens, by form name. A screen lands here once it exists; until then its
// menu button stays disabled.
std::map<QString, std::function<Screen*()>> menuScreens();
