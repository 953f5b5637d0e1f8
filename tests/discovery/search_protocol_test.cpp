#include <gtest/gtest.h>

#include "discovery/device_tree.h"
#include "discovery/node_identity.h"
#include "discovery/search_protocol.h"
#include "discovery/typed_numbers.h"

namespace {

TEST(SearchProtocol, ShortRepliesGiveWhatTheyHold) {
    const SearchReply a = DecodeReplyA(std::string("AB\0\0\0\0\0\0\x02\x1A", 10));
    EXPECT_EQ(a.Name, std::string("AB\0\0\0\0\0", 7));
    EXPECT_EQ(a.MacText, "02-1A");
    EXPECT_EQ(DottedText(a.StoredIp), "0.0.0.0");
    EXPECT_EQ(a.Node, 0);
    EXPECT_EQ(DecodeReplyB("").MacText, "");
    // Bytes above 127 stay bytes.
    EXPECT_EQ(DecodeReplyA("\xE9\xFF").Name, "\xE9\xFF");
}

TEST(SearchProtocol, TypedAddressesAreFourPartsUpTo255) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"10.0.0.7", "10.0.0.7"}, {" 1 . 2.3.4", "1.2.3.4"}, {"10.0.0.7.9", ""}, {"192.168.1", ""},
        {"256.1.1.1", ""},        {"1.2.3.-4", ""},          {"a.b.c.d", ""},    {"1..2.3", ""},
        {"", ""},                 {"0001.2.3.4", ""}};
    for (const auto& [typed, want] : cases) {
        const auto ip = ParseIpv4(typed);
        EXPECT_EQ(ip ? DottedText(*ip) : "", want) << typed;
    }
}

TEST(SearchProtocol, KeysEndInTheDeviceNumber) {
    const std::vector<std::pair<std::string, int>> cases{
        {"nodo12", 12}, {"Mask7", 7}, {"rete", 0}, {"subNet3", 3}, {"nodo99999", 0}, {"nodo123456", 0}};
    for (const auto& [key, n] : cases)
        EXPECT_EQ(KeyNumber(key), n) << key;
}

TEST(SearchProtocol, NodeIdentityFromTheSevenRegisters) {
    struct Case {
        std::array<uint8_t, 4> version;
        std::string text;
    };
    const std::vector<Case> cases{{{1, 2, 3, 4}, "1234"},
                                  {{1, 12, 3, 4}, "11234"},
                                  {{0x31, 0x32, 0x33, 0x34}, "49505152"},
                                  {{0x41, 0x42, 0x43, 0x44}, "ABCD"},
                                  {{1, 2, 3, 65}, std::string("\x01\x02\x03" "A")}};
    for (const Case& c : cases) {
        std::vector<uint8_t> a{7, 4, 14, 0, 0, c.version[0], c.version[1], c.version[2], c.version[3],
                               'X', 'J', '9', 'V', 0, 0, 0, 5};
        const auto id = DecodeNodeIdentity(a);
        ASSERT_TRUE(id);
        EXPECT_EQ(id->Version, c.text);
        EXPECT_EQ(id->Name, "JXV9");
        EXPECT_EQ(id->Address, 5);
        a.pop_back();
        EXPECT_FALSE(DecodeNodeIdentity(a));
    }
}

TEST(SearchProtocol, TimeoutsRoundHalvesToEven) {
    const std::vector<std::pair<int, int>> cases{{1000, 1}, {1500, 2}, {2500, 2}, {250, 0}, {3500, 4}};
    for (const auto& [ms, s] : cases)
        EXPECT_EQ(SecondsHalfEven(ms), s) << ms;
    EXPECT_EQ(LeadingNumber(" 300x"), 300);
}

} // namespace
