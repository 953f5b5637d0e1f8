// Variable, string, CSV header and text block slots byte for byte, and the records they refuse.
#include <array>

#include "program/transfer/side_area_encoders.h"
#include "transfer_fixture.h"

namespace {

Bytes padded(std::initializer_list<int> list, size_t size) {
    Bytes v(size, 0);
    size_t i = 0;
    for (int b : list)
        v[i++] = static_cast<uint8_t>(b);
    return v;
}

// The variable's slot with strings from 35840, empty when the record is refused.
Bytes encoded(const VariableRecord& v) {
    std::array<uint8_t, 32> slot;
    slot.fill(0x77);
    if (!EncodeVariable(v, 35840, slot)) return {};
    return Bytes(slot.begin(), slot.end());
}

VariableRecord withString(VariableRecord v, int32_t alt, int32_t trigger, int32_t mask) {
    v.AltRegister = alt;
    v.TriggerRegister = trigger;
    v.Mask = mask;
    return v;
}

} // namespace

TEST(VariableEncoding, SlotsOfEachKindAndRefusedAddresses) {
    // Long texts are cut; negative registers wrap to sixteen bits.
    EXPECT_EQ(encoded(variable(-2, 4, "%+10.3fX", "ABCDEFGHIJKLMNOPQR")),
              padded({0xFE, 0xFF, 4,   '%', '+', '1', '0', '.', '3', 'f', 'A', 'B', 'C',
                      'D',  'E',  'F', 'G', 'H', 'I', 'J', 'K', 'L', 'M', 'N', 'O', 'P'},
                     32));
    // RAM strings: address, second register, third register and mask.
    EXPECT_EQ(encoded(withString(variable(300, 13, "....", "S"), 301, 0x0102, -1)),
              padded({0x2C, 0x01, 13, 0x2D, 0x01, 0x02, 0x01, 0xFF, 0xFF, 0, 'S'}, 32));
    // EPROM strings: 35840 + 64 = 0x8C40, 35840 + 96 = 0x8C60.
    EXPECT_EQ(encoded(withString(variable(2, 14, "....", "E"), 3, 0, 0)),
              padded({0x40, 0x8C, 14, 0x60, 0x8C, 0, 0, 0, 0, 0, 'E'}, 32));
    EXPECT_EQ(encoded(variable(5, 18, "%d", "Fw")), padded({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 'F', 'w'}, 32));
    EXPECT_TRUE(encoded(variable(928, 14, "", "E")).empty()); // 35840 + 32 * 928 = 65536
    EXPECT_FALSE(encoded(variable(927, 14, "", "E")).empty());
    EXPECT_TRUE(encoded(variable(70000, 13, "", "R")).empty());
    EXPECT_TRUE(encoded(variable(-1, 13, "", "R")).empty());
}

TEST(SlotEncoding, StringsTextBlocksAndCsvHeaderLinesAreZeroFilledAndCut) {
    std::array<uint8_t, 32> slot;
    slot.fill(1);
    EncodeString("Hi", slot);
    EXPECT_EQ(Bytes(slot.begin(), slot.end()), padded({'H', 'i'}, 32));
    EncodeString(std::string(40, 'x'), slot);
    EXPECT_EQ(Bytes(slot.begin(), slot.end()), Bytes(32, 'x'));
    Bytes block(512, 0x55);
    EncodeTextBlock("Line 1", block);
    EXPECT_EQ(block, padded({'L', 'i', 'n', 'e', ' ', '1'}, 512));
    EncodeTextBlock(std::string(600, 't'), block);
    EXPECT_EQ(block, Bytes(512, 't'));
    // A CSV header line: the line, its NUL and one spare piece inside the slot.
    std::array<uint8_t, 512> csv;
    csv.fill(0xAA);
    EXPECT_EQ(EncodeCsvHeader(std::string(40, 'c'), csv), 3);
    EXPECT_EQ(csv[39], 'c');
    EXPECT_EQ(csv[40], 0);
    EXPECT_EQ(csv[511], 0);
    EXPECT_EQ(EncodeCsvHeader("", csv), 2);
    EXPECT_EQ(EncodeCsvHeader(std::string(479, 'c'), csv), 16);
    EXPECT_EQ(EncodeCsvHeader(std::string(480, 'c'), csv), 16); // would be 17 pieces: kept in the slot
    EXPECT_EQ(EncodeCsvHeader(std::string(511, 'c'), csv), 16);
    EXPECT_EQ(csv[511], 0);
    EXPECT_EQ(EncodeCsvHeader(std::string(512, 'c'), csv), 0); // no room for its NUL
}
