#include "common/text_encoding.h"

#include <memory>

#include <QStringDecoder>
#include <unicode/ucnv.h>

namespace {

// ICU's own converter rather than Qt's: Qt reaches Shift_JIS only through ICU converters its
// Windows builds do not have. "windows-31j" is the table Windows and its spreadsheets use
// (0x8160 is ～ U+FF5E, not the wave dash; the NEC and IBM extensions included).
using Converter = std::unique_ptr<UConverter, decltype(&ucnv_close)>;

Converter shiftJis() {
    UErrorCode status = U_ZERO_ERROR;
    Converter c(ucnv_open("windows-31j", &status), ucnv_close);
    if (U_FAILURE(status)) return Converter(nullptr, ucnv_close);
    // Stop at the first byte sequence or character without a mapping instead of writing the
    // converter's substitute: a lost character must never pass for a converted one.
    ucnv_setToUCallBack(c.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    ucnv_setFromUCallBack(c.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    return U_SUCCESS(status) ? std::move(c) : Converter(nullptr, ucnv_close);
}

std::optional<QString> fromShiftJis(const QByteArray& bytes) {
    const Converter c = shiftJis();
    if (!c) return std::nullopt;
    // One or two bytes make one UTF-16 unit: the text is never longer than the bytes.
    QString out(bytes.size(), Qt::Uninitialized);
    UErrorCode status = U_ZERO_ERROR;
    const int32_t n =
        ucnv_toUChars(c.get(), reinterpret_cast<UChar*>(out.data()), int32_t(out.size()),
                      bytes.constData(), int32_t(bytes.size()), &status);
    if (U_FAILURE(status)) return std::nullopt;
    out.truncate(n);
    return out;
}

// The Shift_JIS bytes of `text`; nothing when a character has no Shift_JIS form.
std::optional<QByteArray> toShiftJis(UConverter* c, QStringView text) {
    ucnv_resetFromUnicode(c);
    // No character takes more than two bytes, a surrogate pair (two units) none at all.
    QByteArray out(text.size() * 2, Qt::Uninitialized);
    UErrorCode status = U_ZERO_ERROR;
    const int32_t n = ucnv_fromUChars(c, out.data(), int32_t(out.size()),
                                      reinterpret_cast<const UChar*>(text.utf16()),
                                      int32_t(text.size()), &status);
    if (U_FAILURE(status)) return std::nullopt;
    out.truncate(n);
    return out;
}

bool isAscii(const QByteArray& bytes) {
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

QString lineEndOf(const QString& text) {
    const qsizetype lf = text.indexOf(u'\n');
    return lf > 0 && text[lf - 1] == u'\r' ? QStringLiteral("\r\n") : QStringLiteral("\n");
}

}  // namespace

bool shiftJisAvailable() {
    return shiftJis() != nullptr;
}

std::optional<DecodedText> decodeText(const QByteArray& bytes) {
    static const QByteArray bom("\xEF\xBB\xBF");
    DecodedText out;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    if (bytes.startsWith(bom)) {
        out.text = utf8.decode(bytes.mid(bom.size()));
        if (utf8.hasError()) return std::nullopt;
        out.encoding = TextEncoding::Utf8WithBom;
    } else {
        out.text = utf8.decode(bytes);
        if (!utf8.hasError() && !isAscii(bytes)) {
            out.encoding = TextEncoding::Utf8;
        } else {
            std::optional<QString> text = fromShiftJis(bytes);
            if (!text) return std::nullopt;
            out.text = std::move(*text);
            out.encoding = TextEncoding::ShiftJis;
        }
    }
    // A NUL says it is no text file (UTF-16, a picture), whatever decoded.
    if (out.text.contains(QChar(0))) return std::nullopt;
    out.lineEnd = lineEndOf(out.text);
    return out;
}

QByteArray encodeText(const QString& text, TextEncoding encoding) {
    if (encoding == TextEncoding::Utf8) return text.toUtf8();
    if (encoding == TextEncoding::Utf8WithBom) return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    const Converter c = shiftJis();
    if (!c)
        throw EncodingError(QStringLiteral("Shift_JIS に変換できません（変換表がありません）。"));
    if (std::optional<QByteArray> out = toShiftJis(c.get(), text)) return *out;
    // Name the first character that has no Shift_JIS form, so the user can find and change it.
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QStringView one = QStringView(text).mid(i, len);
        if (!toShiftJis(c.get(), one))
            throw EncodingError(
                QStringLiteral("「%1」は Shift_JIS で書けない文字です。").arg(one.toString()));
        i += len;
    }
    throw EncodingError(QStringLiteral("Shift_JIS に変換できません。"));
}
