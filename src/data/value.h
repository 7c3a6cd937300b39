#pragma once

#include <variant>

#include <QString>

// One stored value: an integer (years, grades, weekdays, periods, selection numbers, flags) or a
// text (codes, names, dates). Key values keep their type so that a look-up never compares a number
// with a text by accident.
class Value {
public:
    Value() : v_(QString()) {}
    Value(int i) : v_(static_cast<qint64>(i)) {}
    Value(qint64 i) : v_(i) {}
    Value(const QString& s) : v_(s) {}
    Value(const char* utf8) : v_(QString::fromUtf8(utf8)) {}

    bool isInt() const { return std::holds_alternative<qint64>(v_); }
    bool isText() const { return !isInt(); }

    // A text that is not a whole number reads as 0, as a number field shows an empty entry.
    qint64 toInt() const;
    QString toText() const;

    // A short description for error messages, e.g. 2007 or "001".
    QString describe() const;

    bool operator==(const Value& o) const { return v_ == o.v_; }
    bool operator!=(const Value& o) const { return !(*this == o); }

private:
    std::variant<qint64, QString> v_;
};
