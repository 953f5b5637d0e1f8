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
    EXPECT_EQ(DecodeReplyA("\xE9\xFF").Name, "\xE9\xFF"); // bytes above 127 stay bytes
}

TEST(SearchProtocol, TypedNumbersAddressesAndKeys) {
    for (auto [typed, want] : {std::pair{"10.0.0.7", "10.0.0.7"},
                               {" 1 . 2.3.4", "1.2.3.4"},
                               {"10.0.0.7.9", ""},
                               {"192.168.1", ""},
                               {"256.1.1.1", ""},
                               {"1.2.3.-4", ""},
                               {"a.b.c.d", ""},
                               {"1..2.3", ""},
                               {"", ""},
                               {"0001.2.3.4", ""}}) {
        const auto ip = ParseIpv4(typed);
        EXPECT_EQ(ip ? DottedText(*ip) : "", want) << typed;
    }
    // Keys end in the device number.
    for (auto [key, n] : {std::pair{"nodo12", 12},
                          {"Mask7", 7},
                          {"rete", 0},
                          {"subNet3", 3},
                          {"nodo99999", 0},
                          {"nodo123456", 0}})
        EXPECT_EQ(KeyNumber(key), n) << key;
    // Time-outs round halves to even.
    for (auto [ms, s] : {std::pair{1000, 1}, {1500, 2}, {2500, 2}, {250, 0}, {3500, 4}})
        EXPECT_EQ(SecondsHalfEven(ms), s) << ms;
    EXPECT_EQ(LeadingNumber(" 300x"), 300);
}

TEST(SearchProtocol, NodeIdentityFromTheSevenRegisters) {
    const std::pair<std::array<uint8_t, 4>, std::string> cases[]{{{1, 2, 3, 4}, "1234"},
                                                                 {{1, 12, 3, 4}, "11234"},
                                                                 {{0x31, 0x32, 0x33, 0x34}, "49505152"},
                                                                 {{0x41, 0x42, 0x43, 0x44}, "ABCD"},
                                                                 {{1, 2, 3, 65},
                                                                  "\x01\x02\x03"
                                                                  "A"}};
    for (const auto& [v, text] : cases) {
        std::vector<uint8_t> a{7, 4, 14, 0, 0, v[0], v[1], v[2], v[3], 'X', 'J', '9', 'V', 0, 0, 0, 5};
        const auto id = DecodeNodeIdentity(a);
        ASSERT_TRUE(id);
        EXPECT_EQ(id->Version, text);
        EXPECT_EQ(id->Name, "JXV9");
        EXPECT_EQ(id->Address, 5);
        a.pop_back();
        EXPECT_FALSE(DecodeNodeIdentity(a));
    }
}

} // namespace
