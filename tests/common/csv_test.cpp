// Reading and writing the CSV files school staff keep, in UTF-8 or Shift_JIS.

#include <gtest/gtest.h>

#include "common/csv.h"
#include "common/text_encoding.h"

namespace {

TEST(Csv, QuotedFieldsKeepTheirCommasAndQuotesAndALineIsOneRecord) {
    EXPECT_EQ(csvFields(u"a,\"b,c\",\"say \"\"hi\"\"\",,d "),
              QStringList({"a", "b,c", "say \"hi\"", "", "d"}));
    EXPECT_EQ(csvFields(u" \"x\" , y ,"), QStringList({"x", "y", ""}));
    EXPECT_EQ(csvFields(u""), QStringList({""}));
    // An unclosed quote ends with its line; text after a closing quote stays with the field.
    EXPECT_EQ(csvFields(u"\"open,ended"), QStringList({"open,ended"}));
    EXPECT_EQ(csvFields(u"\"ab\"cd,e"), QStringList({"abcd", "e"}));
    EXPECT_EQ(csvRecord({"a", "b,\"c\"", ""}), "\"a\",\"b,\"\"c\"\"\",\"\"");
    EXPECT_EQ(csvFields(csvRecord({"1", "x,\"y\""})), QStringList({"1", "x,\"y\""}));
    EXPECT_EQ(textLines("a\r\nb\nc\rd\r\n\r\n"), QStringList({"a", "b", "c", "d", ""}));
    EXPECT_EQ(textLines(""), QStringList());
}

TEST(Csv, AQuotedFieldMayHoldLineBreaksAndOnlyAQuoteOpenAtTheEndIsFlagged) {
    const QString text = QStringLiteral(
        "1,\"東京都港区\r\n芝公園1丁目\",\"a\nb\rc\"\r\n"
        "2,\"x,\"\"y\"\"\"\n"
        "\r\n"
        "3,\"open\r\nto the end");
    const std::vector<CsvRecord> records = csvRecords(text);
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[0].fields, QStringList({"1", "東京都港区\r\n芝公園1丁目", "a\nb\rc"}));
    EXPECT_EQ(records[1].fields, QStringList({"2", "x,\"y\""}));
    EXPECT_EQ(records[2].fields, QStringList({""}));
    EXPECT_EQ(records[3].fields, QStringList({"3", "open\r\nto the end"}));
    EXPECT_EQ(std::vector<bool>(
                  {records[0].unclosedQuote, records[1].unclosedQuote, records[3].unclosedQuote}),
              std::vector<bool>({false, false, true}));

    // What is written reads back as it was, line breaks and all.
    QString written;
    for (const CsvRecord& r : records) written += csvRecord(r.fields) + "\r\n";
    const std::vector<CsvRecord> back = csvRecords(written);
    ASSERT_EQ(back.size(), records.size());
    for (size_t i = 0; i < back.size(); ++i) {
        EXPECT_EQ(back[i].fields, records[i].fields);
        EXPECT_FALSE(back[i].unclosedQuote);
    }
}

TEST(TextEncoding, TellsUtf8WithAndWithoutBomFromShiftJisAndRefusesOtherBytes) {
    ASSERT_TRUE(shiftJisAvailable());
    const QString text = QStringLiteral("教員,髙橋,ｶﾅ,①～\r\nx\r\n");
    for (TextEncoding e : {TextEncoding::Utf8, TextEncoding::Utf8WithBom, TextEncoding::ShiftJis}) {
        const auto decoded = decodeText(encodeText(text, e));
        ASSERT_TRUE(decoded) << int(e);
        EXPECT_EQ(decoded->encoding, e);
        EXPECT_EQ(decoded->text, text);
        EXPECT_EQ(decoded->lineEnd, "\r\n");
    }
    EXPECT_EQ(encodeText(text, TextEncoding::ShiftJis).size(), 22);  // two bytes a kanji
    // Plain ASCII is written back as Shift_JIS, which the spreadsheet opens as it is.
    EXPECT_EQ(decodeText("a,b\n")->encoding, TextEncoding::ShiftJis);
    EXPECT_EQ(decodeText("a,b\n")->lineEnd, "\n");
    EXPECT_FALSE(
        decodeText(QByteArray("\xFF\xFE"
                              "a\0"
                              "b\0",
                              6)));
    EXPECT_FALSE(decodeText("\x81\x20\xFF"));
}

TEST(TextEncoding, ShiftJisIsTheWindowsTableAndACharacterItLacksIsRefusedByName) {
    // As a spreadsheet on Windows saves them: NEC specials, half-width kana, ～ at 0x8160, and
    // 髙 in both its IBM and its NEC-selected form.
    const auto decoded = decodeText("\x87\x40\x87\x8A\xFB\xFC\xEE\xE0\x81\x60\xB1\xB2,x\r\n");
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->encoding, TextEncoding::ShiftJis);
    EXPECT_EQ(decoded->text, QStringLiteral("①㈱髙髙～ｱｲ,x\r\n"));
    EXPECT_EQ(encodeText(QStringLiteral("①㈱～ｱ"), TextEncoding::ShiftJis),
              "\x87\x40\x87\x8A\x81\x60\xB1");
    // Shift_JIS has no 𠮷: the text is refused, never written with a stand-in.
    try {
        encodeText(QStringLiteral("野𠮷"), TextEncoding::ShiftJis);
        ADD_FAILURE() << "no error";
    } catch (const EncodingError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("「𠮷」は Shift_JIS で書けない文字です。"));
    }
}

}  // namespace
