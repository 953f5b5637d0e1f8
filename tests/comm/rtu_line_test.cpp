// The RTU line as a device on a pseudo-terminal sees it: the silence before each request, and an answer
// that never ends.
#include <gtest/gtest.h>

#include <chrono>
#include <mutex>

#include "comm/transaction.h"
#include "support/pty_instrument.h"
#include "support/sim_session.h"

namespace {

using Clock = std::chrono::steady_clock;

int64_t usBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration_cast<std::chrono::microseconds>(to - from).count();
}

// At 9600 bit/s the frame gap is 3.5 characters of 11 bits, 4011 us; a request follows it after the last
// answer byte, and after a broadcast's last byte has left the wire (8 characters, 9167 us).
TEST(RtuLine, EachRequestWaitsForTheFrameGapAfterTheLastByte) {
    std::mutex m;
    std::vector<Clock::time_point> heard, answered;
    PtyInstrument device([&](const std::string& request) {
        std::lock_guard lock(m);
        heard.push_back(Clock::now());
        answered.push_back(Clock::now()); // the answer goes out right after
        return request[0] == '\xFF' ? std::string() : request; // a register write's answer repeats it
    });
    SimSession s;
    ASSERT_TRUE(s.connectRtu(device.path(), "9600"));
    for (const uint8_t node : {10, 10, 255, 10}) {
        s.comm->AnswerExpected = node == 255 ? 0 : -1;
        s.request({node, 0x06, 0x00, 0x01, 0x00, 0x02});
        ASSERT_EQ(TrasmettiRicevi(s.app, -1), ComOk);
    }
    s.comm->AnswerExpected = -1;
    std::lock_guard lock(m);
    ASSERT_EQ(heard.size(), 4u);
    EXPECT_GE(usBetween(answered[0], heard[1]), 4011);
    EXPECT_GE(usBetween(answered[1], heard[2]), 4011);
    EXPECT_GE(usBetween(heard[2], heard[3]), 9167 + 4011);
}

// A device that never stops sending after its answer began: the wait ends once more has come than the
// buffer holds, long before the time-out, and gives the memory back; the next request waits for a silence
// that never comes and says so.
TEST(RtuLine, AnAnswerWithoutEndIsCutOffAndItsMemoryGivenBack) {
    PtyInstrument device([](const std::string&) { return std::string("\x0A\x04", 2); }, std::string(256, '\xA5'));
    SimSession s;
    ASSERT_TRUE(s.connectRtu(device.path()));
    s.comm->AnswerTimeout = 10;
    s.request({0x0A, 0x04, 0x00, 0x05, 0x00, 0x01});
    const int64_t start = s.pump.nowMs();
    EXPECT_EQ(TrasmettiRicevi(s.app, -1), ComTimeout);
    EXPECT_LT(s.pump.nowMs() - start, 5000);
    EXPECT_LT(s.comm->RxRaw.capacity(), 64u);
    s.comm->AnswerTimeout = 1;
    s.request({0x0A, 0x04, 0x00, 0x05, 0x00, 0x01});
    EXPECT_EQ(TrasmettiRicevi(s.app, -1), ComTimeout);
    EXPECT_EQ(s.dialogs.shown, (std::vector<std::string>{"Answer too long for the buffer",
                                                         "The line did not fall silent for the request"}));
}

} // namespace
