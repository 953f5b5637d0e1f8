#pragma once
// The device search datagrams: the two queries, the two kinds of reply, the set-address command, and the
// text forms of MAC and IPv4 addresses. Payloads are single-byte strings.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

inline const std::string QueryA = "0001";
inline const std::string QueryB{'\0', '\0', '\0', '\xF6'};

// A reply decoded as kind A (controllers and I/O modules) or kind B (gateways). A reply shorter than the
// bytes read gives what it holds: a shorter name and MAC text, missing bytes 0.
struct SearchReply {
    std::string Name;    // kind A: bytes 0..6 as they stand
    std::string MacText; // 02-1A-2B-3C-4D-5E
    std::array<uint8_t, 6> Mac{};
    std::array<uint8_t, 4> StoredIp{}; // kind A only
    std::array<uint8_t, 4> Mask{};     // kind A only
    uint8_t Node = 0;
    uint8_t Init = 0;
    uint8_t SwInt = 0;
};

// The bytes a reply of each kind must hold, and the most any datagram may hold to be taken for a reply
// (a device's reply fits one Ethernet frame); anything else is no reply and is ignored.
constexpr size_t ReplyLengthA = 25;
constexpr size_t ReplyLengthB = 30;
constexpr size_t LongestReply = 1472;
inline bool IsReplyLength(size_t size, size_t kindLength) {
    return size >= kindLength && size <= LongestReply;
}

SearchReply DecodeReplyA(std::string_view payload);
SearchReply DecodeReplyB(std::string_view payload);

// Each byte as two upper-case hex digits, joined by "-".
std::string MacText(std::string_view bytes);
// a.b.c.d without leading zeros.
std::string DottedText(const std::array<uint8_t, 4>& bytes);
// Exactly four decimal parts 0..255 ("10.0.0.7"); blanks around a part are allowed.
std::optional<std::array<uint8_t, 4>> ParseIpv4(std::string_view text);

// "0002", the MAC, the new address and the CRC-8/MAXIM of those 14 bytes.
std::string SetAddressDatagram(const std::array<uint8_t, 6>& mac, const std::array<uint8_t, 4>& ip);
