#include "common/text_encoding.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {

// Qt names the converters its ICU knows; "Shift_JIS" there is the Windows variant (with the NEC
// and IBM extensions) that spreadsheets write.
constexpr const char* kShiftJisNames[] = {"Shift_JIS", "windows-31j", "CP932"};

const char* shiftJisName() {
    for (const char* name : kShiftJisNames)
        if (QStringDecoder(name).isValid()) return name;
    return nullptr;
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
    return shiftJisName() != nullptr;
}

std::optional<DecodedText> decodeText(const QByteArray& bytes) {
    static const QByteArray bom("\xEF\xBB\xBF");
    DecodedText out;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const char* sjisName = shiftJisName();
    if (bytes.startsWith(bom)) {
        out.text = utf8.decode(bytes.mid(bom.size()));
        if (utf8.hasError()) return std::nullopt;
        out.encoding = TextEncoding::Utf8WithBom;
    } else {
        out.text = utf8.decode(bytes);
        const bool ascii = isAscii(bytes);
        if (!utf8.hasError() && (!ascii || !sjisName)) {
            out.encoding = TextEncoding::Utf8;
        } else if (sjisName) {
            QStringDecoder sjis(sjisName, QStringDecoder::Flag::Stateless);
            out.text = sjis.decode(bytes);
            if (sjis.hasError()) return std::nullopt;
            out.encoding = TextEncoding::ShiftJis;
        } else {
            return std::nullopt;
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
    const char* name = shiftJisName();
    if (!name) return text.toUtf8();
    QStringEncoder sjis(name, QStringEncoder::Flag::Stateless);
    QByteArray out = sjis.encode(text);
    if (!sjis.hasError()) return out;
    // Character by character only when some character has no Shift_JIS form: the stand-in ICU
    // writes for it differs between versions, so such a character is written as "?" here.
    out.clear();
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QStringEncoder single(name, QStringEncoder::Flag::Stateless);
        const QByteArray b = single.encode(QStringView(text).mid(i, len));
        out += single.hasError() ? QByteArray("?") : b;
        i += len;
    }
    return out;
}
