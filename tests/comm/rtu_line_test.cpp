// The RTU line as a device on a pseudo-terminal sees it: the silence before each request, and an answer
// that never ends or a flood.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

#include "comm/transaction.h"
#include "support/pty_bridge.h"
#include "support/pty_instrument.h"
#include "support/sim_session.h"

namespace {

// A request follows the frame gap after the last answer byte, and after a broadcast's last byte left the
// wire (8 characters): at 9600 bit/s 3.5 characters of 11 bits, 4011 us, and 9167 us; above 19200 bit/s a
// fixed 1750 us, which the wait keeps to the microsecond, and 764 us.
TEST(RtuLine, EachRequestWaitsForTheFrameGapAfterTheLastByte) {
    const struct {
        const char* baud;
        int64_t gapUs, broadcastUs;
    } speeds[] = {{"9600", 4011, 9167}, {"115200", 1750, 764}};
    for (const auto& speed : speeds) {
        SCOPED_TRACE(speed.baud);
        std::mutex m;
        std::vector<std::chrono::steady_clock::time_point> heard; // when each request came; its answer follows
        PtyInstrument device([&](const std::string& request) {
            std::lock_guard lock(m);
            heard.push_back(std::chrono::steady_clock::now());
            return request[0] == '\xFF' ? std::string() : request; // a register write's answer repeats it
        });
        SimSession s;
        ASSERT_TRUE(s.connectRtu(device.path(), speed.baud));
        for (const uint8_t node : {10, 10, 255, 10}) {
            s.comm->AnswerExpected = node == 255 ? 0 : -1;
            s.request({node, 0x06, 0x00, 0x01, 0x00, 0x02});
            ASSERT_EQ(TrasmettiRicevi(s.app, -1), ComOk);
        }
        std::lock_guard lock(m);
        const auto us = [&](int i) {
            return std::chrono::duration_cast<std::chrono::microseconds>(heard.at(i) - heard.at(i - 1)).count();
        };
        EXPECT_GE(us(1), speed.gapUs);
        EXPECT_GE(us(2), speed.gapUs);
        EXPECT_GE(us(3), speed.broadcastUs + speed.gapUs);
    }
}

// A device that never stops once its answer began: the wait ends long before the time-out, once more has
// come than the buffer holds, and gives the memory back; the next request finds no silence and says so.
TEST(RtuLine, AnAnswerWithoutEndIsCutOffAndItsMemoryGivenBack) {
    PtyInstrument device([](const std::string&) { return std::string("\x0A\x04", 2); }, std::string(256, '\xA5'));
    SimSession s;
    ASSERT_TRUE(s.connectRtu(device.path()));
    for (const int16_t timeout : {10, 1}) {
        s.comm->AnswerTimeout = timeout;
        s.request({0x0A, 0x04, 0x00, 0x05, 0x00, 0x01});
        const int64_t start = s.pump.nowMs();
        EXPECT_EQ(TrasmettiRicevi(s.app, -1), ComTimeout);
        EXPECT_LT(s.pump.nowMs() - start, 5000);
        EXPECT_LT(s.comm->RxRaw.capacity(), 64u);
    }
    EXPECT_EQ(s.dialogs.shown, (std::vector<std::string>{"Answer too long for the buffer",
                                                         "The line did not fall silent for the request"}));
}

// A line flooded while the requests wait for it to fall silent: each fails at its time-out and tells
// what the link dropped in one log line, however many batches it drained.
TEST(RtuLine, AFloodIsLoggedOncePerRequest) {
    std::string path;
    int keep = -1;
    const int peer = OpenRawPty(path, keep);
    ::fcntl(peer, F_SETFL, O_NONBLOCK);
    std::atomic<bool> flooding{true};
    std::thread flood([&] {
        const std::string noise(64 * 1024, '\xA5');
        while (flooding)
            if (::write(peer, noise.data(), noise.size()) < 0) ::usleep(200);
    });
    SimSession s;
    ASSERT_TRUE(s.connectRtu(path));
    s.comm->AnswerTimeout = 1;
    for (long i = 1; i <= 2; ++i) {
        s.request({0x0A, 0x04, 0x00, 0x05, 0x00, 0x01});
        EXPECT_EQ(TrasmettiRicevi(s.app, 0), ComTimeout);
        const auto& log = s.shell->log.lines();
        EXPECT_EQ(std::count_if(log.begin(), log.end(), [](const std::string& l) {
                      return l.ends_with(" bytes arrived while idle and were dropped  ");
                  }), i);
    }
    flooding = false;
    flood.join();
    s.link.close();
    ::close(peer);
    ::close(keep);
}

} // namespace
