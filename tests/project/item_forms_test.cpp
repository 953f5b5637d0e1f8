// Item text forms of the project files, written and read.
#include <gtest/gtest.h>

#include <cmath>

#include "project/item_reader.h"
#include "project/item_writer.h"

// Numbers carry the sign place; file items end in a blank, table values do not.
TEST(ItemForms, NumbersAreWrittenInTheSetsFormAndReadBackExactly) {
    const std::pair<std::string, std::string> forms[] = {
        {integerText(5), " 5 "},        {integerText(-5), "-5 "},     {integerText(0), " 0 "},
        {doubleText(0.5), " .5 "},      {doubleText(-0.25), "-.25 "}, {doubleText(1.5), " 1.5 "},
        {doubleText(100), " 100 "},     {doubleText(0), " 0 "},       {doubleText(1e20), " 1E+20 "},
        {doubleText(-1e-5), "-1E-05 "}, {tableValueText(-2), "-2"},   {tableValueText(0.25), " .25"},
        {tableValueText(0), " 0"},
    };
    for (const auto& [got, want] : forms)
        EXPECT_EQ(got, want);
    for (double v :
         {1.0 / 3, -2.0 / 3, 123456.789, 1e20, 1e-300, -1.7976931348623157e308, 0.1, 5e-324, 65535.0}) {
        EXPECT_EQ(parseNumber(doubleText(v)), v) << doubleText(v);
        EXPECT_EQ(parseNumber(tableValueText(v)), v);
    }
}

TEST(ItemForms, NumberReaderTakesEveryWrittenFormAndNothingElse) {
    EXPECT_EQ(parseNumber("+3"), 3);
    EXPECT_EQ(parseNumber("\t7\t"), 7);
    for (const char* bad : {"", " ", "abc", "inf", "nan", "1.5x", "--1", "1,5", "."})
        EXPECT_FALSE(parseNumber(bad)) << bad;
}

TEST(ItemForms, WriterFlattensLineBreaksOfSingleLineTexts) {
    ItemWriter out;
    out.text("a\r\nb\nc");
    out.flag(-1);
    out.flag(0);
    out.multiLineText("A\r\nB\nC");
    EXPECT_EQ(out.contents(), "a  b c\r\n 1 \r\n 0 \r\nA\r\nB\r\nC\r\n");
}

TEST(ItemReader, FieldsThatDoNotConvertOrAreMissingKeepTheirValues) {
    ItemReader in(" 300 \r\nabc\r\n-1 \r\n 5 \r\n 1 \r\n 2.5 \r\n", ItemMode::Lines);
    uint8_t b = 7;
    uint16_t u = 0;
    int16_t i = 9, f1 = -1, f2 = 0, rounded = 0;
    in.byte(b);
    in.integer(i);
    in.integer(u);
    in.flag(f1);
    in.flag(f2);
    in.integer(rounded);
    // 2.5 rounds half to even.
    EXPECT_EQ(std::tuple(b, i, u, f1, f2, rounded), std::tuple(7, 9, 65535, 0, -1, 2));
    EXPECT_EQ(in.unconvertible, 2);
    EXPECT_FALSE(in.truncated);
    std::string t = "kept";
    in.text(t);
    EXPECT_EQ(t, "kept");
    EXPECT_TRUE(in.truncated);
}
