#include <gtest/gtest.h>

#include <cmath>

#include "editor_fixture.h"
#include "fbeditor/arg_codec.h"
#include "fbeditor/number_text.h"

namespace {

Bytes trasf(double v, uint8_t kind, bool swap = false) {
    CommandRecord r;
    r.ArgBytes[3] = {0xAA, 0xBB, 0xCC, 0xDD};
    EXPECT_TRUE(swap ? TrasfSwap(v, kind, r, 3) : Trasf(v, kind, r, 3));
    return r.ArgBytes[3];
}

} // namespace

TEST(ArgCodec, SlotBytesByKindInBothOrders) {
    EXPECT_EQ(trasf(1234, 0), (Bytes{0xD2, 0x04, 0, 0}));
    EXPECT_EQ(trasf(1234, 0, true), (Bytes{0x04, 0xD2, 0, 0}));
    EXPECT_EQ(trasf(-1, 1), (Bytes{0xFF, 0xFF, 0, 0}));
    EXPECT_EQ(trasf(0x12345678, 2), (Bytes{0x34, 0x12, 0x78, 0x56}));
    EXPECT_EQ(trasf(0x12345678, 2, true), (Bytes{0x12, 0x34, 0x56, 0x78}));
    EXPECT_EQ(trasf(-2, 3), (Bytes{0xFF, 0xFF, 0xFE, 0xFF}));
    EXPECT_EQ(trasf(-2, 3, true), (Bytes{0xFF, 0xFF, 0xFF, 0xFE}));
    EXPECT_EQ(trasf(1.0, 5), (Bytes{0x00, 0x00, 0x80, 0x3F}));
    EXPECT_EQ(trasf(1.0, 5, true), (Bytes{0x00, 0x00, 0x80, 0x3F}));
    EXPECT_EQ(trasf(2.5, 5), (Bytes{0x00, 0x00, 0x20, 0x40}));
    EXPECT_EQ(trasf(4660, 6, true), (Bytes{0x00, 0x00, 0x12, 0x34}));
    EXPECT_EQ(trasf(2.5, 0), (Bytes{0x02, 0x00, 0, 0})); // halves to the even neighbour
    EXPECT_EQ(trasf(3.5, 0), (Bytes{0x04, 0x00, 0, 0}));
    // Float and the other kinds leave the slot as it was.
    EXPECT_EQ(trasf(7, 4), (Bytes{0xAA, 0xBB, 0xCC, 0xDD}));
    EXPECT_EQ(trasf(7, 10), (Bytes{0xAA, 0xBB, 0xCC, 0xDD}));
}

TEST(ArgCodec, NegativeValuesComeBackAdjusted) {
    CommandRecord r;
    double v = -1;
    ASSERT_TRUE(Trasf(v, 1, r, 0));
    EXPECT_EQ(v, 65535);
    v = -2;
    ASSERT_TRUE(Trasf(v, 3, r, 0));
    EXPECT_EQ(v, 4294967294.0);
    v = -2;
    ASSERT_TRUE(Trasf(v, 2, r, 0));
    EXPECT_EQ(v, -2);
}

TEST(ArgCodec, ValuesThatDoNotFitLeaveTheSlotAlone) {
    CommandRecord r;
    r.ArgBytes[0] = {1, 2, 3, 4};
    for (double v : {65536.0, -32769.0, 1e12}) {
        double x = v;
        EXPECT_FALSE(Trasf(x, 0, r, 0)) << v;
    }
    double big = 4294967296.0, huge = 1e300, nan = std::nan("");
    EXPECT_FALSE(Trasf(big, 2, r, 0));
    EXPECT_FALSE(Trasf(huge, 5, r, 0));
    EXPECT_FALSE(Trasf(nan, 0, r, 0));
    double ok = 1;
    EXPECT_FALSE(Trasf(ok, 0, r, 9));
    EXPECT_FALSE(TrasfSwap(ok, 0, r, -1));
    EXPECT_EQ(r.ArgBytes[0], (Bytes{1, 2, 3, 4}));
}

TEST(NumberText, ReaderTakesTheLeadingDecimalNumberOnly) {
    EXPECT_EQ(numericValue("100"), 100);
    EXPECT_EQ(numericValue(" -12.5abc"), -12.5);
    EXPECT_EQ(numericValue("+3"), 3);
    EXPECT_EQ(numericValue("1 2"), 12); // blanks are ignored
    EXPECT_EQ(numericValue("1e3"), 1000);
    EXPECT_EQ(numericValue("2.5E-1x"), 0.25);
    EXPECT_EQ(numericValue("7e"), 7);
    EXPECT_EQ(numericValue("7e+"), 7);
    EXPECT_EQ(numericValue("1.2.3"), 1.2);
    EXPECT_EQ(numericValue(".5"), 0.5);
    EXPECT_EQ(numericValue("5."), 5);
    EXPECT_EQ(numericValue("abc"), 0);
    EXPECT_EQ(numericValue(""), 0);
    EXPECT_EQ(numericValue("-"), 0);
    EXPECT_EQ(numericValue("."), 0);
    EXPECT_EQ(numericValue("&H10"), 0);
    EXPECT_EQ(numericValue("0x10"), 0);
    EXPECT_EQ(numericValue("12,5"), 12);
    EXPECT_EQ(numericValue("1e400"), HUGE_VAL); // too large for a double: no field accepts it
    EXPECT_EQ(numericValue("-1e400"), -HUGE_VAL);
    EXPECT_EQ(numericValue("1e-400"), 0);
    EXPECT_EQ(numericValue("-1e-400"), 0);
    EXPECT_EQ(commaToPoint("12,5,1"), "12.5.1");
    EXPECT_EQ(numberText(26), "26");
    EXPECT_EQ(numberText(1.5), "1.5");
    EXPECT_EQ(numberText(0.1), "0.1");
}
