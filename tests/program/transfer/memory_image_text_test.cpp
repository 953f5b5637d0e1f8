// The text form of a memory image read back: tolerant of line ends and blanks, strict on values.
#include <gtest/gtest.h>

#include "program/transfer/memory_image_text.h"

TEST(MemoryImageText, RoundTripOfEveryByteValueTolerantReadingAndMalformedFilesRefusedWhole) {
    std::vector<uint8_t> all(256);
    for (int i = 0; i < 256; ++i)
        all[i] = static_cast<uint8_t>(i);
    EXPECT_EQ(ParseMemoryImageText(FormatMemoryImageText(all), 256), all);
    // LF lines and blanks are read; values beyond the count are ignored.
    EXPECT_EQ(ParseMemoryImageText("1\n 2\t\n  3  \r\n4\n", 3), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(ParseMemoryImageText("9\r\n", 0), std::vector<uint8_t>{});
    // A malformed file is refused whole.
    EXPECT_FALSE(ParseMemoryImageText(" 1 \r\n 2 \r\n", 3));    // too few values
    EXPECT_FALSE(ParseMemoryImageText("1\r\nx\r\n3\r\n", 3));   // not a number
    EXPECT_FALSE(ParseMemoryImageText("1\r\n256\r\n3\r\n", 3)); // over 255
    EXPECT_FALSE(ParseMemoryImageText("1\r\n-1\r\n3\r\n", 3));
    EXPECT_FALSE(ParseMemoryImageText("1\r\n\r\n3\r\n", 3)); // empty line
    EXPECT_FALSE(ParseMemoryImageText("1\r\n2.5\r\n3\r\n", 3));
    EXPECT_FALSE(ParseMemoryImageText("", 1));
}
