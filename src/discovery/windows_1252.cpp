#include "discovery/windows_1252.h"

#include <algorithm>
#include <array>

namespace {

// Bytes 0x80..0x9F; the others are the characters of the same number.
constexpr std::array<char32_t, 32> HighControls{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

char32_t Windows1252Char(uint8_t byte) {
    return byte >= 0x80 && byte <= 0x9F ? HighControls[byte - 0x80u] : byte;
}

std::optional<uint8_t> Windows1252Byte(char32_t c) {
    const auto* at = std::find(HighControls.begin(), HighControls.end(), c);
    if (at != HighControls.end()) return static_cast<uint8_t>(0x80 + (at - HighControls.begin()));
    if (c <= 0xFF && (c < 0x80 || c > 0x9F)) return static_cast<uint8_t>(c);
    return std::nullopt;
}

Windows1252Text ToWindows1252(std::u32string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (char32_t c : text) {
        const std::optional<uint8_t> b = Windows1252Byte(c);
        if (!b) return {std::nullopt, c};
        bytes += static_cast<char>(*b);
    }
    return {std::move(bytes), 0};
}

std::u32string FromWindows1252(std::string_view bytes) {
    std::u32string text;
    text.reserve(bytes.size());
    for (char b : bytes)
        text += Windows1252Char(static_cast<uint8_t>(b));
    return text;
}
