#include "data/value.h"

qint64 Value::toInt() const {
    if (isInt()) return std::get<qint64>(v_);
    bool ok = false;
    const qint64 n = std::get<QString>(v_).trimmed().toLongLong(&ok);
    return ok ? n : 0;
}

QString Value::toText() const {
    if (isInt()) return QString::number(std::get<qint64>(v_));
    return std::get<QString>(v_);
}

QString Value::describe() const {
    return isInt() ? toText() : '"' + toText() + '"';
}
