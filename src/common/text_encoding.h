#pragma once

#include <optional>
#include <stdexcept>

#include <QByteArray>
#include <QString>

// The encodings school staff's text files come in: spreadsheet programs on Japanese Windows save
// CSV in Shift_JIS (the Windows variant, CP932, with the NEC and IBM extensions: ①, ㈱, 髙),
// other programs in UTF-8, with or without a byte-order mark.
enum class TextEncoding { Utf8, Utf8WithBom, ShiftJis };

struct DecodedText {
    QString text;
    TextEncoding encoding;
    QString lineEnd;  // what ends the lines of the file: "\r\n" or "\n"
};

// A text that cannot be written in the encoding asked for. The message names the character.
class EncodingError : public std::runtime_error {
public:
    explicit EncodingError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};

// Tells the encoding from the bytes and decodes them: a byte-order mark means UTF-8, so do bytes
// that are valid UTF-8 and hold more than ASCII, everything else is Shift_JIS. Plain ASCII counts
// as Shift_JIS, so that what is written back in its encoding opens in the spreadsheet as it does.
// Nothing when the bytes are neither (a UTF-16 file, a picture).
std::optional<DecodedText> decodeText(const QByteArray& bytes);

// The text in the given encoding. Shift_JIS cannot hold every character (𠮷): such a text is
// refused with an EncodingError rather than written with a stand-in the reader would take as data.
QByteArray encodeText(const QString& text, TextEncoding encoding);

// Whether Shift_JIS can be converted here (ICU's converter data is present).
bool shiftJisAvailable();
