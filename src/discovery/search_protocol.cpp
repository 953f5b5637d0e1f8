#include "discovery/search_protocol.h"

#include <algorithm>

#include "comm/byte_helpers.h"

namespace {

constexpr size_t NameLength = 7;
constexpr size_t MacOffsetA = 8;
constexpr size_t StoredIpOffset = 14;
constexpr size_t MaskOffset = 18;
constexpr size_t NodeOffset = 22;
constexpr size_t InitOffset = 23;
constexpr size_t SwIntOffset = 24;
constexpr size_t MacOffsetB = 24;

uint8_t byteAt(std::string_view p, size_t i) {
    return i < p.size() ? static_cast<uint8_t>(p[i]) : 0;
}

template <size_t N> std::array<uint8_t, N> bytesAt(std::string_view p, size_t offset) {
    std::array<uint8_t, N> out{};
    for (size_t i = 0; i < N; ++i)
        out[i] = byteAt(p, offset + i);
    return out;
}

// The MAC bytes and, from those present, its text.
void decodeMac(SearchReply& r, std::string_view p, size_t offset) {
    r.Mac = bytesAt<6>(p, offset);
    r.MacText = MacText(offset < p.size() ? p.substr(offset, 6) : std::string_view{});
}

} // namespace

SearchReply DecodeReplyA(std::string_view payload) {
    SearchReply r;
    r.Name = std::string(payload.substr(0, std::min(NameLength, payload.size())));
    decodeMac(r, payload, MacOffsetA);
    r.StoredIp = bytesAt<4>(payload, StoredIpOffset);
    r.Mask = bytesAt<4>(payload, MaskOffset);
    r.Node = byteAt(payload, NodeOffset);
    r.Init = byteAt(payload, InitOffset);
    r.SwInt = byteAt(payload, SwIntOffset);
    return r;
}

SearchReply DecodeReplyB(std::string_view payload) {
    SearchReply r;
    decodeMac(r, payload, MacOffsetB);
    return r;
}

std::string MacText(std::string_view bytes) {
    std::string out;
    for (char c : bytes)
        out += (out.empty() ? "" : "-") + ByteToHex(static_cast<uint8_t>(c));
    return out;
}

std::string DottedText(const std::array<uint8_t, 4>& bytes) {
    return std::to_string(bytes[0]) + "." + std::to_string(bytes[1]) + "." + std::to_string(bytes[2]) + "." +
           std::to_string(bytes[3]);
}

std::optional<std::array<uint8_t, 4>> ParseIpv4(std::string_view text) {
    std::array<uint8_t, 4> out{};
    size_t part = 0;
    while (true) {
        const size_t dot = text.find('.');
        std::string_view p = text.substr(0, dot);
        while (!p.empty() && p.front() == ' ')
            p.remove_prefix(1);
        while (!p.empty() && p.back() == ' ')
            p.remove_suffix(1);
        if (part == 4 || p.empty() || p.size() > 3 || !std::all_of(p.begin(), p.end(), [](char c) {
                return c >= '0' && c <= '9';
            }))
            return std::nullopt;
        const int value = std::stoi(std::string(p));
        if (value > 255) return std::nullopt;
        out[part++] = static_cast<uint8_t>(value);
        if (dot == std::string_view::npos) break;
        text.remove_prefix(dot + 1);
    }
    if (part != 4) return std::nullopt;
    return out;
}

std::string SetAddressDatagram(const std::array<uint8_t, 6>& mac, const std::array<uint8_t, 4>& ip) {
    std::string d = "0002";
    for (uint8_t b : mac)
        d += static_cast<char>(b);
    for (uint8_t b : ip)
        d += static_cast<char>(b);
    d += static_cast<char>(Crc8(d));
    return d;
}
