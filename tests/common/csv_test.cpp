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
    // Shift_JIS has no 𠮷: it becomes one "?" and the rest of the text is kept.
    EXPECT_EQ(encodeText(QStringLiteral("𠮷野"), TextEncoding::ShiftJis), "?\x96\xEC");
}

}  // namespace
