// Answer length prediction and MBAP assembly rules.
#include <gtest/gtest.h>

#include <vector>

#include "comm/modbus_frame.h"

namespace {

using B = std::vector<uint8_t>;

TEST(PredictRtuAnswerLength, FromFunctionByteCountOrRequest) {
    struct Case {
        B request, answer;
        int expected;
    };
    const std::vector<Case> cases = {
        {{10, 3, 0, 0, 0, 10}, {10}, 0},         // too few bytes to tell
        {{10, 3, 0, 0, 0, 10}, {10, 3}, 0},      // byte count not there yet
        {{10, 3, 0, 0, 0, 10}, {10, 3, 20}, 25}, // byte count
        {{10, 4, 0, 1, 0, 2}, {10, 4, 4}, 9},
        {{10, 6, 0, 0, 0, 0xFF}, {10, 6}, 8}, // echo of the request
        {{10, 16, 0, 0, 0, 2, 4, 1, 2, 3, 4}, {10, 16}, 8},
        {{10, 3, 0, 0, 0, 10}, {10, 0x83}, 5},   // exception
        {{10, 20, 2, 0, 0, 19, 1}, {10, 20}, 6}, // memory read: from the request's count
        {{10, 20, 1, 0, 0, 0, 32}, {10, 20}, 37},
        {{10, 20, 5, 1, 2, 3, 32}, {10, 20}, 37},
        {{10, 20, 4, 0, 0, 19, 1, 0x56}, {10, 20}, 9}, // memory write: header echoed
        {{10, 3, 0, 0, 0, 10}, {10, 4}, -1},           // another function: silence decides
        {{10, 43, 14, 1, 0}, {10, 43}, -1},            // unknown shape
        {{10, 20}, {10, 20}, -1},                      // request too short to tell
    };
    for (const Case& c : cases)
        EXPECT_EQ(PredictRtuAnswerLength(c.request, c.answer), c.expected);
}

TEST(CheckMbapAnswer, AssemblesUntilTheLengthAndRefusesBadHeaders) {
    const B whole{0, 0, 0, 0, 0, 5, 10, 4, 2, 0x12, 0x34};
    for (size_t n = 0; n < whole.size(); ++n)
        EXPECT_EQ(CheckMbapAnswer(B(whole.begin(), whole.begin() + static_cast<long>(n)), 1001).state,
                  MbapState::Incomplete);
    const MbapCheck done = CheckMbapAnswer(whole, 1001);
    EXPECT_EQ(done.state, MbapState::Complete);
    EXPECT_EQ(done.pduLength, 5);

    EXPECT_EQ(CheckMbapAnswer(B{0x12, 0x34, 0, 0, 0, 2, 10, 6}, 1001).state, MbapState::Complete); // any id
    EXPECT_EQ(CheckMbapAnswer(B{0, 0, 0, 1, 0, 2, 10, 6}, 1001).state, MbapState::Malformed);
    EXPECT_EQ(CheckMbapAnswer(B{0, 0, 0, 0, 0, 1, 10}, 1001).state, MbapState::Malformed);
    EXPECT_EQ(CheckMbapAnswer(B{0, 0, 0, 0, 0x03, 0xEA}, 1001).state, MbapState::Malformed);
    EXPECT_EQ(CheckMbapAnswer(B{0, 0, 0, 0, 0x03, 0xE9}, 1001).state, MbapState::Incomplete);
    EXPECT_EQ(CheckMbapAnswer(B{0, 0, 0, 0, 0, 2, 10, 6, 0}, 1001).state, MbapState::Malformed);
}

} // namespace
