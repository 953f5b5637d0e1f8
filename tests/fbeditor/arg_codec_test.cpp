#include <gtest/gtest.h>

#include <cmath>

#include "editor_fixture.h"
#include "fbeditor/arg_codec.h"
#include "fbeditor/number_text.h"

TEST(ArgCodec, SlotBytesByKindInBothOrders) {
    struct Case {
        double value;
        uint8_t kind;
        bool swap;
        Bytes slot;
    };
    const Case cases[] = {
        {1234, 0, false, {0xD2, 0x04, 0, 0}},
        {1234, 0, true, {0x04, 0xD2, 0, 0}},
        {-1, 1, false, {0xFF, 0xFF, 0, 0}},
        {0x12345678, 2, false, {0x34, 0x12, 0x78, 0x56}},
        {0x12345678, 2, true, {0x12, 0x34, 0x56, 0x78}},
        {-2, 3, false, {0xFF, 0xFF, 0xFE, 0xFF}},
        {-2, 3, true, {0xFF, 0xFF, 0xFF, 0xFE}},
        {1.0, 5, false, {0x00, 0x00, 0x80, 0x3F}},
        {1.0, 5, true, {0x00, 0x00, 0x80, 0x3F}},
        {4660, 6, true, {0x00, 0x00, 0x12, 0x34}},
        {2.5, 0, false, {0x02, 0x00, 0, 0}}, // halves to the even neighbour
        {3.5, 0, false, {0x04, 0x00, 0, 0}},
        {7, 4, false, {0xAA, 0xBB, 0xCC, 0xDD}}, // Float and the other kinds leave the slot as it was
        {7, 10, false, {0xAA, 0xBB, 0xCC, 0xDD}},
    };
    for (const Case& c : cases) {
        CommandRecord r;
        r.ArgBytes[3] = {0xAA, 0xBB, 0xCC, 0xDD};
        double v = c.value;
        EXPECT_TRUE(c.swap ? TrasfSwap(v, c.kind, r, 3) : Trasf(v, c.kind, r, 3));
        EXPECT_EQ(r.ArgBytes[3], c.slot) << c.value << " kind " << int(c.kind) << (c.swap ? " swapped" : "");
    }
    // Negative values of the unsigned kinds come back as the value the slot holds.
    const std::array<std::array<double, 3>, 3> adjusted{{{-1, 1, 65535}, {-2, 3, 4294967294.0}, {-2, 2, -2}}};
    for (auto [value, kind, back] : adjusted) {
        CommandRecord r;
        ASSERT_TRUE(Trasf(value, static_cast<uint8_t>(kind), r, 0));
        EXPECT_EQ(value, back) << kind;
    }
}

TEST(ArgCodec, ValuesThatDoNotFitLeaveTheSlotAlone) {
    CommandRecord r;
    r.ArgBytes[0] = {1, 2, 3, 4};
    const std::pair<double, uint8_t> refused[] = {{65536.0, 0},      {-32769.0, 0}, {1e12, 0},
                                                  {4294967296.0, 2}, {1e300, 5},    {std::nan(""), 0}};
    for (auto [value, kind] : refused) {
        double x = value;
        EXPECT_FALSE(Trasf(x, kind, r, 0)) << value;
    }
    double ok = 1;
    EXPECT_FALSE(Trasf(ok, 0, r, 9));
    EXPECT_FALSE(TrasfSwap(ok, 0, r, -1));
    EXPECT_EQ(r.ArgBytes[0], (Bytes{1, 2, 3, 4}));
}

TEST(NumberText, ReaderTakesTheLeadingDecimalNumberOnly) {
    // Blanks are ignored; a number too large for a double reads as infinite, so no field accepts it.
    const std::pair<const char*, double> cases[] = {{"100", 100},
                                                    {" -12.5abc", -12.5},
                                                    {"+3", 3},
                                                    {"1 2", 12},
                                                    {"1e3", 1000},
                                                    {"2.5E-1x", 0.25},
                                                    {"7e", 7},
                                                    {"7e+", 7},
                                                    {"1.2.3", 1.2},
                                                    {".5", 0.5},
                                                    {"5.", 5},
                                                    {"abc", 0},
                                                    {"", 0},
                                                    {"-", 0},
                                                    {".", 0},
                                                    {"&H10", 0},
                                                    {"0x10", 0},
                                                    {"12,5", 12},
                                                    {"1e400", HUGE_VAL},
                                                    {"-1e400", -HUGE_VAL},
                                                    {"1e-400", 0},
                                                    {"-1e-400", 0}};
    for (auto [text, value] : cases)
        EXPECT_EQ(numericValue(text), value) << "'" << text << "'";
    EXPECT_EQ(commaToPoint("12,5,1"), "12.5.1");
    EXPECT_EQ(numberText(26), "26");
    EXPECT_EQ(numberText(1.5), "1.5");
    EXPECT_EQ(numberText(0.1), "0.1");
}
