#include "common/checks.h"

#include <QRegularExpression>

#include "common/date_input.h"
#include "data/dates.h"
#include "data/new_database.h"
#include "data/recordset.h"
#include "ui/fields.h"
#include "ui/palette.h"

namespace {

QString messageFor(const QString& item, const char* suffix, const char* fallback) {
    const QString label = itemLabel(item);
    return label.isEmpty() ? QString::fromUtf8(fallback) : label + QString::fromUtf8(suffix);
}

void pass(QWidget* field) {
    setFieldColour(field, colour::kBlack);
}

void report(WorkContext& ctx, QWidget* field, const QString& message) {
    ctx.errorFlag = 1;
    ctx.checkResult = 1;
    if (ctx.firstErrorFlag == 0) {
        if (field) setTabFirst(field);
        ctx.firstErrorFlag = 1;
        ctx.message = message;
    }
}

void fail(WorkContext& ctx, QWidget* field, const QString& message) {
    setFieldColour(field, colour::kLightRed);
    report(ctx, field, message);
}

bool isWholeNumber(const QString& text, qint64* value) {
    static const QRegularExpression digits(QStringLiteral("^\\d+$"));
    if (!digits.match(text).hasMatch()) return false;
    bool ok = false;
    *value = text.toLongLong(&ok);
    return ok;
}

}  // namespace

QString itemLabel(const QString& item) {
    Recordset rs("項目名");
    rs.setIndex("Key_メッセジ");
    rs.seek(Seek::Equal, {item});
    if (!rs.noMatch()) return rs.text("MSG_項目");
    // A database made before an item was added still names the field in its messages.
    for (const ItemLabel& standard : standardItemLabels())
        if (item == QString::fromUtf8(standard.number)) return QString::fromUtf8(standard.label);
    return QString();
}

void CHK必須(WorkContext& ctx, QWidget* field, const QString& item) {
    ctx.checkResult = 0;
    // Blanks alone (half- or full-width) are nothing typed.
    if (!fieldText(field).trimmed().isEmpty())
        pass(field);
    else
        fail(ctx, field, messageFor(item, "に入力してください", "必須項目に入力してください"));
}

void CHK数字(WorkContext& ctx, QWidget* field, const QString& item, Numeric kind, int min,
             int max) {
    ctx.checkResult = 0;
    const QString raw = fieldText(field);
    QString text = toHalfWidth(raw).trimmed();
    if (text.isEmpty() && !raw.isEmpty()) {
        // Blanks are not a number, and must never become the 0 an empty field stands for: the
        // field is emptied and refused.
        setFieldText(field, QString());
        fail(ctx, field,
             messageFor(item, "に正しく入力してください", "項目に正しく入力してください"));
        return;
    }
    if (text.isEmpty()) text = QStringLiteral("0");
    if (text != raw) setFieldText(field, text);
    static const QRegularExpression digits(QStringLiteral("^\\d+$"));
    bool ok = digits.match(text).hasMatch();
    const bool bounded =
        kind == Numeric::Integer || min > 0 || max < std::numeric_limits<int>::max();
    if (ok && bounded) {
        // Integer fields are stored in 16 bits.
        qint64 value = 0;
        ok = isWholeNumber(text, &value) && value >= min && value <= max &&
             (kind == Numeric::Digits || value <= 32767);
    }
    if (ok)
        pass(field);
    else
        fail(ctx, field,
             messageFor(item, "に正しく入力してください", "項目に正しく入力してください"));
}

void CHK年度(WorkContext& ctx, QWidget* field, const QString& item) {
    CHK数字(ctx, field, item, Numeric::Integer, kFirstYear, kLastYear);
}

void CHK日付(WorkContext& ctx, QWidget* field, const QString& item) {
    ctx.checkResult = 0;
    const QString raw = fieldText(field);
    ctx.normalizedDateText = raw;
    if (const auto date = parseDateInput(raw)) {
        ctx.normalizedDate = *date;
        ctx.normalizedDateText = dateText(*date);
        pass(field);
    } else {
        fail(ctx, field,
             messageFor(item, "に正しく(YYYY/MM/DD)入力してください",
                        "日付に正しく(YYYY/MM/DD)入力してください"));
    }
}

void CHK大小(WorkContext& ctx, QWidget* first, QWidget* second, const QString& item, int mode) {
    if (ctx.errorFlag == 1) return;
    if (mode != 1 && mode != 2) return;
    ctx.checkResult = 0;
    const QString a = toHalfWidth(fieldText(first)).trimmed();
    const QString b = toHalfWidth(fieldText(second)).trimmed();
    int order;
    qint64 na = 0, nb = 0;
    if (isWholeNumber(a, &na) && isWholeNumber(b, &nb))
        order = na < nb ? -1 : (na > nb ? 1 : 0);
    else
        order = QString::compare(fieldText(first), fieldText(second), Qt::CaseSensitive);
    const bool ok = mode == 1 ? order <= 0 : order < 0;
    if (ok) {
        pass(first);
        pass(second);
        return;
    }
    ctx.errorFlag = 1;
    ctx.checkResult = 1;
    setFieldColour(first, colour::kLightRed);
    setFieldColour(second, colour::kLightRed);
    if (ctx.firstErrorFlag == 0) {
        setTabFirst(first);
        ctx.firstErrorFlag = 1;
        ctx.message = messageFor(item, "の大小関係を正しく入力してください",
                                 "大小関係を正しく入力してください");
    }
}

void reportError(WorkContext& ctx, QWidget* field, const QString& message) {
    report(ctx, field, message);
}

void reportFieldError(WorkContext& ctx, QWidget* field, const QString& message) {
    fail(ctx, field, message);
}

void reportFieldErrorFirst(WorkContext& ctx, QWidget* field, const QString& message) {
    fail(ctx, field, message);
    ctx.message = message;
    setTabFirst(field);
    ctx.firstErrorFlag = 1;
}
