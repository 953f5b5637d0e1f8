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

TEST(RtuTiming, SilenceIsThreeAndAHalfCharactersPlusTheAdapterMargin) {
    struct Case {
        int baud;
        int64_t silenceMs, tenCharactersMs;
    };
    const Case cases[] = {
        {1200, 33 + 20, 92}, {9600, 5 + 20, 12},  {19200, 3 + 20, 6}, // 11-bit characters
        {38400, 2 + 20, 3},  {115200, 2 + 20, 1},                     // a fixed 1.75 ms above 19200
        {0, 33 + 20, 92},                                             // unreadable: the slowest
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RtuSilenceMs(c.baud), c.silenceMs) << c.baud;
        EXPECT_EQ(RtuCharactersMs(c.baud, 10), c.tenCharactersMs) << c.baud;
    }
}

// An answer whose length is unknown or did not check ends one silence after its last byte once the
// shortest answer has come (a USB adapter's burst), later by the time the missing characters need.
TEST(RtuTiming, AnAnswerEndsOneSilenceAfterItsLastByteOnceTheShortestAnswerCame) {
    const struct {
        int baud, received, shortest;
        int64_t endMs; // after the last arrival at 100 ms
    } cases[] = {
        {9600, 25, 25, 100 + 25},      {9600, 3, 5, 100 + 3 + 25}, {1200, 25, 5, 100 + 53},
        {115200, 25, 25, 100 + 22},    {19200, 30, 25, 100 + 23},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RtuAnswerEndMs(c.baud, 100, c.received, c.shortest), c.endMs) << c.baud << " " << c.received;
}

TEST(CheckMbapAnswer, AssemblesUntilTheLengthAndRefusesBadHeaders) {
    const B whole{0, 0, 0, 0, 0, 5, 10, 4, 2, 0x12, 0x34};
    for (size_t n = 0; n < whole.size(); ++n)
        EXPECT_EQ(CheckMbapAnswer(B(whole.begin(), whole.begin() + static_cast<long>(n)), 1001, 0).state,
                  MbapState::Incomplete);
    const MbapCheck done = CheckMbapAnswer(whole, 1001, 0);
    EXPECT_EQ(done.state, MbapState::Complete);
    EXPECT_EQ(done.pduLength, 5);

    // Another request's transaction identifier, or another protocol: a whole frame to drop.
    EXPECT_EQ(CheckMbapAnswer(B{0x12, 0x34, 0, 0, 0, 2, 10, 6}, 1001, 0x1234).state, MbapState::Complete);
    const MbapCheck stale = CheckMbapAnswer(B{0x12, 0x33, 0, 0, 0, 2, 10, 6, 0x12, 0x34}, 1001, 0x1234);
    EXPECT_EQ(stale.state, MbapState::Foreign);
    EXPECT_EQ(stale.pduLength, 2);
    EXPECT_EQ(CheckMbapAnswer(B{0, 0, 0, 1, 0, 2, 10, 6}, 1001, 0).state, MbapState::Foreign);
    EXPECT_EQ(CheckMbapAnswer(B{0, 0, 0, 0, 0, 1, 10}, 1001, 0).state, MbapState::Malformed);
    EXPECT_EQ(CheckMbapAnswer(B{0, 0, 0, 0, 0x03, 0xEA}, 1001, 0).state, MbapState::Malformed);
    EXPECT_EQ(CheckMbapAnswer(B{0, 0, 0, 0, 0x03, 0xE9}, 1001, 0).state, MbapState::Incomplete);
    // Bytes after the frame its length names are not part of it.
    const MbapCheck followed = CheckMbapAnswer(B{0, 0, 0, 0, 0, 2, 10, 6, 0}, 1001, 0);
    EXPECT_EQ(followed.state, MbapState::Complete);
    EXPECT_EQ(followed.pduLength, 2);
}

} // namespace
