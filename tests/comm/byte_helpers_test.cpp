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

TEST(Crc16, VerificaCrcNamesWhichByteIsWrong) {
    CommState comm;
    FakeDialogs dialogs;
    Bytes answer{0x01, 0x03, 0x00, 0x00, 0x00, 0x0A, 0xC5, 0xCD};
    std::copy(answer.begin(), answer.end(), comm.RxBuffer.begin());
    comm.RxLength = 8;
    EXPECT_TRUE(VerificaCRC(comm, dialogs, comm.RxBuffer, comm.RxLength - 2));
    EXPECT_TRUE(dialogs.shown.empty());

    comm.RxBuffer[6] = 0xC4;
    EXPECT_FALSE(VerificaCRC(comm, dialogs, comm.RxBuffer, comm.RxLength - 2));
    comm.RxBuffer[6] = 0xC5;
    comm.RxBuffer[7] = 0x00;
    EXPECT_FALSE(VerificaCRC(comm, dialogs, comm.RxBuffer, comm.RxLength - 2));
    EXPECT_EQ(dialogs.shown, (std::vector<std::string>{"Errore Checksum 1", "Errore Checksum 2"}));

    comm.RxLength = 1; // too short to hold a CRC: refused without a box
    EXPECT_FALSE(VerificaCRC(comm, dialogs, comm.RxBuffer, -1));
    EXPECT_EQ(dialogs.shown.size(), 2u);
}

TEST(CheckBytes, LrcAndCrc8) {
    EXPECT_EQ(Lrc8(Bytes{0x01, 0x03}), 0xFC);
    EXPECT_EQ(Lrc8(Bytes(300, 0xFF)), static_cast<uint8_t>(256 - (300 * 255) % 256)); // long frames too
    CommState comm;
    CalcolaLRC(comm, Bytes{0x01, 0x03, 0x77}, 2);
    EXPECT_EQ(comm.Lrc, 0xFC);

    EXPECT_EQ(Crc8("123456789"), 0xA1);
}

TEST(Numbers, IntLongAndFloatBytes) {
    EXPECT_EQ(BytesToInt(0x80, 0x00, true), -32768);
    EXPECT_EQ(BytesToInt(0x80, 0x00, false), 32768);
    EXPECT_EQ(IntToBytes(-1), (std::array<uint8_t, 3>{0xFF, 0xFF, 0}));
    EXPECT_EQ(IntToBytes(258), (std::array<uint8_t, 3>{0x02, 0x01, 0}));
    EXPECT_EQ(IntToBytes(70000), (std::array<uint8_t, 3>{0x70, 0, 0})); // high byte cannot be formed

    EXPECT_EQ(*LongToBytes(0x01020304, false), (std::array<uint8_t, 4>{0x02, 0x01, 0x04, 0x03}));
    EXPECT_EQ(*LongToBytes(-1, true), (std::array<uint8_t, 4>{0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_FALSE(LongToBytes(-1, false));
    EXPECT_FALSE(LongToBytes(int64_t{1} << 32, false));
    EXPECT_EQ(BytesToLong(0x80, 0, 0, 0, true), -(int64_t{1} << 31));
    EXPECT_EQ(BytesToLong(0xFF, 0xFF, 0xFF, 0xFF, false), (int64_t{1} << 32) - 1);
    EXPECT_EQ(BytesToLong(1, 2, 3, 4, false), 0x01020304);

    EXPECT_EQ(FloatToBytes(10.0), (std::array<uint8_t, 4>{0x41, 0x20, 0x00, 0x00}));
    EXPECT_EQ(FloatToBytes(-2.5), (std::array<uint8_t, 4>{0xC0, 0x20, 0x00, 0x00}));
    EXPECT_EQ(FloatToBytes(-0.0), (std::array<uint8_t, 4>{0, 0, 0, 0}));
    EXPECT_EQ(FloatToBytes(1e39), (std::array<uint8_t, 4>{0x7F, 0x80, 0, 0}));
    // Every single survives the trip through the bytes.
    for (float f : {1.5f, -123.456f, 3.4028235e38f, 1e-40f, 0.1f}) {
        auto b = FloatToBytes(f);
        EXPECT_EQ(BytesToFloat(b[0], b[1], b[2], b[3]), f);
    }
}

TEST(Texts, HexAndBinary) {
    EXPECT_EQ(ByteToHex(0x0A), "0A");
    EXPECT_EQ(IntToHex4(4660), "1234");
    EXPECT_EQ(IntToHex4(-1), "FFFF");
    EXPECT_EQ(IntToBin16(0x0102, true), "00000001 00000010");
    EXPECT_EQ(IntToBin16(0x0102, false), "0000000100000010");
    EXPECT_EQ(IntToAscii2(0x4142), "BA");
    EXPECT_EQ(IntToAscii2(0x4100), "A");

    EXPECT_EQ(HexToByte("7F"), 127);
    EXPECT_EQ(HexToByte("7F00"), 127);
    EXPECT_FALSE(HexToByte(""));
    EXPECT_FALSE(HexToByte("zz"));
    EXPECT_EQ(HexPairToByte("A5"), 0xA5);
    EXPECT_FALSE(HexPairToByte("a5"));
    EXPECT_FALSE(HexPairToByte("5"));
    EXPECT_EQ(Hex4ToVal("1234"), 0x1234);
    EXPECT_EQ(Hex4ToVal("zz34"), 0);

    std::string text = "1,5,2";
    EXPECT_EQ(VirgolaInPunto(text), "1.5.2");
    EXPECT_EQ(text, "1.5.2");

    std::array<uint8_t, 3> bytes{};
    StrToBytes("ABCDE", bytes);
    EXPECT_EQ(bytes, (std::array<uint8_t, 3>{'A', 'B', 'C'}));
}
