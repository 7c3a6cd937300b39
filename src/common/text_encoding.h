#pragma once

#include <optional>

#include <QByteArray>
#include <QString>

// The encodings school staff's text files come in: spreadsheet programs on Japanese Windows save
// CSV in Shift_JIS, other programs in UTF-8, with or without a byte-order mark.
enum class TextEncoding { Utf8, Utf8WithBom, ShiftJis };

struct DecodedText {
    QString text;
    TextEncoding encoding;
    QString lineEnd;  // what ends the lines of the file: "\r\n" or "\n"
};

// Tells the encoding from the bytes and decodes them: a byte-order mark means UTF-8, so do bytes
// that are valid UTF-8 and hold more than ASCII, everything else is Shift_JIS. Plain ASCII counts
// as Shift_JIS, so that what is written back in its encoding opens in the spreadsheet as it does.
// Nothing when the bytes are neither (a UTF-16 file, a picture).
std::optional<DecodedText> decodeText(const QByteArray& bytes);

// The text in the given encoding. Shift_JIS cannot hold every character (𠮷): such a character
// becomes "?" rather than failing the whole file.
QByteArray encodeText(const QString& text, TextEncoding encoding);

// Whether this Qt can convert Shift_JIS (it needs ICU, which every supported platform's Qt has).
bool shiftJisAvailable();
