// The RTU line as a device on a pseudo-terminal sees it: the silence before each request, and an answer
// that never ends or a flood.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <optional>
#include <thread>

#include <fcntl.h>
#include <poll.h>
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

// The device side of a pseudo-terminal that floods the line from a thread of its own, writing again as soon
// as the terminal has room; with an opening, it waits for a request first and sends the opening before the
// flood. It keeps no pace of its own, and the program talks to it at 300 bit/s, where a request wants
// 149 ms of silence: far longer than a loaded machine keeps this thread, or the terminal's own worker
// that hands its bytes on, from running.
class FloodingPeer {
  public:
    static constexpr const char* Baud = "300";

    explicit FloodingPeer(std::optional<std::string> opening = std::nullopt) : opening_(std::move(opening)) {
        peer_ = OpenRawPty(path_, keep_);
        ::fcntl(peer_, F_SETFL, O_NONBLOCK);
        thread_ = std::thread([this] { flood(); });
        pollfd line{keep_, POLLIN, 0};
        if (!opening_) ::poll(&line, 1, 10000); // flooded before the program opens it
    }
    ~FloodingPeer() {
        flooding_ = false;
        thread_.join();
        ::close(peer_);
        ::close(keep_);
    }
    const std::string& path() const { return path_; }

  private:
    // True once the terminal is ready for events (the 50 ms bound only lets the end be seen).
    bool ready(short events) const {
        pollfd p{peer_, events, 0};
        return ::poll(&p, 1, 50) > 0;
    }
    void flood() {
        if (opening_) {
            char request[256];
            while (flooding_ && !(ready(POLLIN) && ::read(peer_, request, sizeof request) > 0))
                continue;
            (void)!::write(peer_, opening_->data(), opening_->size());
        }
        const std::string noise(64 * 1024, '\xA5');
        while (flooding_)
            if (ready(POLLOUT)) (void)!::write(peer_, noise.data(), noise.size());
    }
    const std::optional<std::string> opening_;
    std::string path_;
    int peer_ = -1, keep_ = -1;
    std::atomic<bool> flooding_{true};
    std::thread thread_;
};

// A device that never stops once its answer began: the wait ends long before the time-out, once more has
// come than the buffer holds, and gives the memory back; the next request finds no silence and says so.
TEST(RtuLine, AnAnswerWithoutEndIsCutOffAndItsMemoryGivenBack) {
    FloodingPeer device(std::string("\x0A\x04", 2));
    SimSession s;
    ASSERT_TRUE(s.connectRtu(device.path(), FloodingPeer::Baud));
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
    FloodingPeer flood;
    SimSession s;
    ASSERT_TRUE(s.connectRtu(flood.path(), FloodingPeer::Baud));
    s.comm->AnswerTimeout = 1;
    for (long i = 1; i <= 2; ++i) {
        s.request({0x0A, 0x04, 0x00, 0x05, 0x00, 0x01});
        EXPECT_EQ(TrasmettiRicevi(s.app, 0), ComTimeout);
        const auto& log = s.shell->log.lines();
        EXPECT_EQ(std::count_if(log.begin(), log.end(), [](const std::string& l) {
                      return l.ends_with(" bytes arrived while idle and were dropped  ");
                  }), i);
    }
}

} // namespace
