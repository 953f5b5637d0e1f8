#include "comm/byte_helpers.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <limits>

#include "core/comm_state.h"
#include "core/user_dialogs.h"

namespace {

constexpr char HexDigits[] = "0123456789ABCDEF";

// Quotient rounded down, also for negative values.
constexpr int64_t floorDiv(int64_t value, int64_t divisor) {
    int64_t q = value / divisor;
    return (value % divisor != 0 && value < 0) ? q - 1 : q;
}

std::string binaryDigits(uint8_t byte) {
    std::string s(8, '0');
    for (int bit = 0; bit < 8; ++bit)
        if (byte & (0x80 >> bit)) s[static_cast<size_t>(bit)] = '1';
    return s;
}

// The count a caller asks for, kept inside the array it names.
size_t boundedCount(std::span<const uint8_t> bytes, int n) {
    return std::min(bytes.size(), static_cast<size_t>(std::max(n, 0)));
}

} // namespace

void StrToBytes(std::string_view text, std::span<uint8_t> bytes) {
    size_t n = std::min(text.size(), bytes.size());
    for (size_t i = 0; i < n; ++i)
        bytes[i] = static_cast<uint8_t>(text[i]);
}

std::string ByteToHex(uint8_t value) {
    return {HexDigits[value >> 4], HexDigits[value & 0x0F]};
}

std::string IntToHex4(int32_t value) {
    auto b = IntToBytes(value);
    return ByteToHex(b[1]) + ByteToHex(b[0]);
}

std::string IntToAscii2(int32_t value) {
    auto b = IntToBytes(value);
    std::string s;
    if (b[0] != 0) s += static_cast<char>(b[0]);
    s += static_cast<char>(b[1]);
    return s;
}

std::string IntToBin16(int32_t value, bool blank) {
    auto b = IntToBytes(value);
    return binaryDigits(b[1]) + (blank ? " " : "") + binaryDigits(b[0]);
}

std::string VirgolaInPunto(std::string& text) {
    std::replace(text.begin(), text.end(), ',', '.');
    return text;
}

std::optional<uint8_t> HexToByte(std::string_view text) {
    if (text.empty()) return std::nullopt;
    auto digit = [](char c) {
        int code = static_cast<unsigned char>(c);
        return code >= '0' && code <= '9' ? code - 48 : code - 55;
    };
    int value = text.size() == 1 ? digit(text[0]) : digit(text[0]) * 16 + digit(text[1]);
    if (value < 0 || value > 255) return std::nullopt;
    return static_cast<uint8_t>(value);
}

std::optional<uint8_t> HexPairToByte(std::string_view text) {
    if (text.size() < 2) return std::nullopt;
    auto digit = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    int hi = digit(text[0]), lo = digit(text[1]);
    if (hi < 0 || lo < 0) return std::nullopt;
    return static_cast<uint8_t>(hi * 16 + lo);
}

int32_t Hex4ToVal(std::string_view text) {
    auto hi = HexToByte(text.substr(0, 2));
    auto lo = HexToByte(text.size() > 2 ? text.substr(2, 2) : std::string_view{});
    if (!hi || !lo) return 0;
    return *hi * 256 + *lo;
}

int32_t BytesToInt(uint8_t high, uint8_t low, bool isSigned) {
    int32_t v = high * 256 + low;
    return isSigned && v >= 32768 ? v - 65536 : v;
}

std::array<uint8_t, 3> IntToBytes(int32_t value) {
    int64_t v = value < 0 ? int64_t{value} + 65536 : value;
    int64_t high = floorDiv(v, 256);
    int64_t low = v - 256 * high;
    auto byteOrZero = [](int64_t b) { return static_cast<uint8_t>(b >= 0 && b <= 255 ? b : 0); };
    return {byteOrZero(low), byteOrZero(high), 0};
}

int64_t BytesToLong(uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3, bool isSigned) {
    int64_t v = (int64_t{b0} << 24) | (int64_t{b1} << 16) | (int64_t{b2} << 8) | b3;
    return isSigned && v >= (int64_t{1} << 31) ? v - (int64_t{1} << 32) : v;
}

std::optional<std::array<uint8_t, 4>> LongToBytes(int64_t value, bool isSigned) {
    if (isSigned && value < 0) value += int64_t{1} << 32;
    if (value < 0 || value >= (int64_t{1} << 32)) return std::nullopt;
    int64_t highWord = value / 65536;
    int64_t lowWord = value - 65536 * highWord;
    return std::array<uint8_t, 4>{static_cast<uint8_t>(highWord % 256), static_cast<uint8_t>(highWord / 256),
                                  static_cast<uint8_t>(lowWord % 256), static_cast<uint8_t>(lowWord / 256)};
}

float BytesToFloat(uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3) {
    uint32_t bits = (uint32_t{b0} << 24) | (uint32_t{b1} << 16) | (uint32_t{b2} << 8) | b3;
    return std::bit_cast<float>(bits);
}

std::array<uint8_t, 4> FloatToBytes(double value) {
    float f;
    if (value == 0) {
        f = 0.0f; // -0.0 too: the device knows one zero
    } else if (std::isnan(value)) {
        f = std::numeric_limits<float>::quiet_NaN();
    } else {
        // Beyond the largest single the standard's rounding gives infinity from half an ulp up; the
        // cast itself would be undefined there, so decide it here.
        constexpr double maxFloat = std::numeric_limits<float>::max();
        constexpr double overflowEdge = maxFloat + 0x1p103; // FLT_MAX + half its ulp
        double mag = std::fabs(value);
        if (mag >= overflowEdge)
            f = std::numeric_limits<float>::infinity();
        else if (mag > maxFloat)
            f = std::numeric_limits<float>::max();
        else
            f = static_cast<float>(mag);
        if (value < 0) f = -f;
    }
    uint32_t bits = std::bit_cast<uint32_t>(f);
    return {static_cast<uint8_t>(bits >> 24), static_cast<uint8_t>(bits >> 16),
            static_cast<uint8_t>(bits >> 8), static_cast<uint8_t>(bits)};
}

namespace {

// The CRC's eight shift steps for every byte value, worked out once: every frame sent and received is
// checked, so a byte costs one look-up instead of eight steps.
constexpr std::array<uint16_t, 256> CrcSteps = [] {
    std::array<uint16_t, 256> table{};
    for (unsigned value = 0; value < 256; ++value) {
        auto crc = static_cast<uint16_t>(value);
        for (int i = 0; i < 8; ++i)
            crc = (crc & 1) ? static_cast<uint16_t>((crc >> 1) ^ 0xA001) : static_cast<uint16_t>(crc >> 1);
        table[value] = crc;
    }
    return table;
}();

} // namespace

Crc16 Crc16Modbus(std::span<const uint8_t> bytes, Crc16 from) {
    auto crc = static_cast<uint16_t>(from.CrcHi << 8 | from.CrcLo);
    for (uint8_t byte : bytes) crc = static_cast<uint16_t>((crc >> 8) ^ CrcSteps[(crc ^ byte) & 0xFF]);
    return {static_cast<uint8_t>(crc & 0xFF), static_cast<uint8_t>(crc >> 8)};
}

void CalcolaCRC(CommState& comm, std::span<const uint8_t> bytes, int n) {
    Crc16 crc = Crc16Modbus(bytes.first(boundedCount(bytes, n)));
    comm.CrcLo = crc.CrcLo;
    comm.CrcHi = crc.CrcHi;
}

bool VerificaCRC(CommState& comm, UserDialogs& dialogs, std::span<const uint8_t> bytes, int n) {
    CalcolaCRC(comm, bytes, n);
    return ConfrontaCRC(comm, dialogs);
}

bool ConfrontaCRC(CommState& comm, UserDialogs& dialogs) {
    if (comm.RxLength < 2 || comm.RxLength > BufferSize) return false;
    auto at = [&](int i) { return comm.RxBuffer[static_cast<size_t>(i)]; };
    if (comm.CrcLo != at(comm.RxLength - 2)) {
        dialogs.messageBox("Errore Checksum 1");
        return false;
    }
    if (comm.CrcHi != at(comm.RxLength - 1)) {
        dialogs.messageBox("Errore Checksum 2");
        return false;
    }
    return true;
}

uint8_t Lrc8(std::span<const uint8_t> bytes) {
    unsigned sum = 0;
    for (uint8_t b : bytes)
        sum += b;
    return static_cast<uint8_t>((256 - sum % 256) % 256);
}

void CalcolaLRC(CommState& comm, std::span<const uint8_t> bytes, int n) {
    comm.Lrc = Lrc8(bytes.first(boundedCount(bytes, n)));
}

uint8_t Crc8(std::string_view text) {
    uint8_t crc = 0;
    for (char c : text) {
        crc ^= static_cast<uint8_t>(c);
        for (int i = 0; i < 8; ++i)
            crc = (crc & 1) ? static_cast<uint8_t>((crc >> 1) ^ 0x8C) : crc >> 1;
    }
    return crc;
}
