#pragma once

#include <optional>

#include <QDate>
#include <QString>

// Full-width digits and signs (as a Japanese input method types them) turned half-width.
QString toHalfWidth(const QString& text);

// A date as a Japanese user types it: 2007/4/1, 2007-04-01, 2007.4.1, 20070401, 2007年4月1日,
// and with an era, 令和8年4月1日, R8/4/1, H19.4.1, 平成19年4月1日 (明治 to 令和, 元年 for the
// first year). Full-width digits are accepted. Impossible dates (2007/2/30) give nothing.
std::optional<QDate> parseDateInput(const QString& text);
