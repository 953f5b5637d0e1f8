#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "program/transfer/side_area_encoders.h"
#include "transfer_fixture.h"

namespace {

std::vector<uint8_t> bytes(std::initializer_list<int> list, size_t size) {
    std::vector<uint8_t> v(size, 0);
    size_t i = 0;
    for (int b : list) v[i++] = static_cast<uint8_t>(b);
    return v;
}

} // namespace

TEST(VariableEncoding, LongTextsAreCutAndNegativeRegistersWrapToSixteenBits) {
    std::array<uint8_t, 32> slot;
    ASSERT_TRUE(EncodeVariable(variable(-2, 4, "%+10.3fX", "ABCDEFGHIJKLMNOPQR"), 35840, slot));
    EXPECT_EQ(std::vector<uint8_t>(slot.begin(), slot.end()),
              bytes({0xFE, 0xFF, 4, '%', '+', '1', '0', '.', '3', 'f', 'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H',
                     'I', 'J', 'K', 'L', 'M', 'N', 'O', 'P'},
                    32));
}

TEST(VariableEncoding, StringTypesCarryAddressesThirdRegisterAndMask) {
    std::array<uint8_t, 32> slot;
    VariableRecord ram = variable(300, 13, "....", "S");
    ram.AltRegister = 301;
    ram.TriggerRegister = 0x0102;
    ram.Mask = -1;
    ASSERT_TRUE(EncodeVariable(ram, 35840, slot));
    EXPECT_EQ(std::vector<uint8_t>(slot.begin(), slot.end()),
              bytes({0x2C, 0x01, 13, 0x2D, 0x01, 0x02, 0x01, 0xFF, 0xFF, 0, 'S'}, 32));

    VariableRecord eprom = variable(2, 14, "....", "E");
    eprom.AltRegister = 3;
    ASSERT_TRUE(EncodeVariable(eprom, 35840, slot)); // 35840 + 64 = 0x8C40, 35840 + 96 = 0x8C60
    EXPECT_EQ(std::vector<uint8_t>(slot.begin(), slot.end()),
              bytes({0x40, 0x8C, 14, 0x60, 0x8C, 0, 0, 0, 0, 0, 'E'}, 32));
}

TEST(VariableEncoding, StringAddressBeyondSixteenBitsIsRefused) {
    std::array<uint8_t, 32> slot;
    EXPECT_FALSE(EncodeVariable(variable(928, 14, "", "E"), 35840, slot)); // 35840 + 32 * 928 = 65536
    EXPECT_TRUE(EncodeVariable(variable(927, 14, "", "E"), 35840, slot));
    EXPECT_FALSE(EncodeVariable(variable(70000, 13, "", "R"), 35840, slot));
    EXPECT_FALSE(EncodeVariable(variable(-1, 13, "", "R"), 35840, slot));
}

TEST(VariableEncoding, OtherTypesCarryTheNameOnly) {
    std::array<uint8_t, 32> slot;
    slot.fill(0x77);
    ASSERT_TRUE(EncodeVariable(variable(5, 18, "%d", "Fw"), 35840, slot));
    EXPECT_EQ(std::vector<uint8_t>(slot.begin(), slot.end()), bytes({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 'F', 'w'}, 32));
}

TEST(StringEncoding, PaddedWithNulAndCutAt32) {
    std::array<uint8_t, 32> slot;
    slot.fill(1);
    EncodeString("Hi", slot);
    EXPECT_EQ(std::vector<uint8_t>(slot.begin(), slot.end()), bytes({'H', 'i'}, 32));
    EncodeString(std::string(40, 'x'), slot);
    EXPECT_EQ(std::vector<uint8_t>(slot.begin(), slot.end()), std::vector<uint8_t>(32, 'x'));
}

TEST(CsvHeaderEncoding, LineNulAndOneSparePieceInsideTheSlot) {
    std::array<uint8_t, 512> slot;
    slot.fill(0xAA);
    EXPECT_EQ(EncodeCsvHeader(std::string(40, 'c'), slot), 3);
    EXPECT_EQ(slot[39], 'c');
    EXPECT_EQ(slot[40], 0);
    EXPECT_EQ(slot[511], 0);
    EXPECT_EQ(EncodeCsvHeader("", slot), 2);
    EXPECT_EQ(EncodeCsvHeader(std::string(479, 'c'), slot), 16);
    EXPECT_EQ(EncodeCsvHeader(std::string(480, 'c'), slot), 16); // would be 17 pieces: kept in the slot
    EXPECT_EQ(EncodeCsvHeader(std::string(511, 'c'), slot), 16);
    EXPECT_EQ(slot[511], 0);
}

TEST(CsvHeaderEncoding, LineWithoutRoomForItsNulIsRefused) {
    std::array<uint8_t, 512> slot;
    EXPECT_EQ(EncodeCsvHeader(std::string(512, 'c'), slot), 0);
}

TEST(TextBlockEncoding, ZeroFilledTextCutAtTheBlock) {
    std::vector<uint8_t> block(512, 0x55);
    EncodeTextBlock("Line 1\r\nLine 2", block);
    EXPECT_EQ(block, bytes({'L', 'i', 'n', 'e', ' ', '1', '\r', '\n', 'L', 'i', 'n', 'e', ' ', '2'}, 512));
    EncodeTextBlock(std::string(600, 't'), block);
    EXPECT_EQ(block, std::vector<uint8_t>(512, 't'));
}
