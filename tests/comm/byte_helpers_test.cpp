#include <gtest/gtest.h>

#include <vector>

#include "comm/byte_helpers.h"
#include "core/comm_state.h"
#include "support/fake_dialogs.h"

namespace {
using Bytes = std::vector<uint8_t>;
const Bytes Check123456789{'1', '2', '3', '4', '5', '6', '7', '8', '9'};
} // namespace

// CalcolaCRC counts only the first n bytes and stays inside the array when n is beyond it.
TEST(Crc16, ModbusVectorsLowByteFirst) {
    const Bytes frame{0x01, 0x03, 0x00, 0x00, 0x00, 0x0A, 0xC5, 0xCD};
    const struct {
        Bytes bytes;
        int count;
        uint8_t lo, hi;
    } cases[] = {{Check123456789, 9, 0x37, 0x4B},
                 {frame, 6, 0xC5, 0xCD},
                 {{}, 0, 0xFF, 0xFF},
                 {frame, 0, 0xFF, 0xFF},
                 {Check123456789, 5000, 0x37, 0x4B}};
    CommState comm;
    for (const auto& c : cases) {
        const Bytes counted(c.bytes.begin(), c.bytes.begin() + std::min<size_t>(c.count, c.bytes.size()));
        const Crc16 crc = Crc16Modbus(counted);
        EXPECT_EQ(std::pair(crc.CrcLo, crc.CrcHi), std::pair(c.lo, c.hi)) << c.count;
        CalcolaCRC(comm, c.bytes, c.count);
        EXPECT_EQ(std::pair(comm.CrcLo, comm.CrcHi), std::pair(c.lo, c.hi)) << c.count;
    }
}

// A wrong high byte and a right one are met by the RTU transactions.
TEST(Crc16, VerificaCrcNamesAWrongLowByteAndRefusesAnAnswerTooShortWithoutABox) {
    CommState comm;
    FakeDialogs dialogs;
    const Bytes answer{0x01, 0x03, 0x00, 0x00, 0x00, 0x0A, 0xC4, 0xCD};
    std::copy(answer.begin(), answer.end(), comm.RxBuffer.begin());
    comm.RxLength = 8;
    EXPECT_FALSE(VerificaCRC(comm, dialogs, comm.RxBuffer, comm.RxLength - 2));
    EXPECT_EQ(dialogs.shown, (std::vector<std::string>{"Errore Checksum 1"}));
    comm.RxLength = 1;
    EXPECT_FALSE(VerificaCRC(comm, dialogs, comm.RxBuffer, -1));
    EXPECT_EQ(dialogs.shown.size(), 1u);
}

// Only the cases the transactions, goldens and readers elsewhere do not reach: a high byte that cannot be
// formed, the signed long's edge, the one zero and the overflow of a single, and every single's round trip.
TEST(Numbers, IntLongAndFloatBytes) {
    EXPECT_EQ(IntToBytes(70000), (std::array<uint8_t, 3>{0x70, 0, 0}));
    EXPECT_EQ(BytesToLong(0x80, 0, 0, 0, true), -(int64_t{1} << 31));
    EXPECT_EQ(FloatToBytes(-0.0), (std::array<uint8_t, 4>{0, 0, 0, 0}));
    EXPECT_EQ(FloatToBytes(1e39), (std::array<uint8_t, 4>{0x7F, 0x80, 0, 0}));
    for (float f : {1.5f, -123.456f, 3.4028235e38f, 1e-40f, 0.1f}) {
        auto b = FloatToBytes(f);
        EXPECT_EQ(BytesToFloat(b[0], b[1], b[2], b[3]), f);
    }
}

TEST(Texts, TwoCharactersAndHexPairs) {
    EXPECT_EQ(IntToAscii2(0x4100), "A"); // a zero byte is left out
    EXPECT_EQ(HexPairToByte("A5"), 0xA5);
    EXPECT_FALSE(HexPairToByte("a5"));
    EXPECT_FALSE(HexPairToByte("5"));
}
