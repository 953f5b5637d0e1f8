// A peer that sends while no transaction waits, over Modbus TCP on 127.0.0.1 and over a pseudo-terminal:
// the link holds no more than its small inbox, says how much it dropped, and the next transaction is right.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include <atomic>
#include <regex>
#include <thread>

#include <sys/socket.h>
#include <unistd.h>

#include "comm/byte_helpers.h"
#include "comm/transaction.h"
#include "support/loopback_listener.h"
#include "support/pty_bridge.h"
#include "support/sim_controller.h"
#include "support/sim_session.h"

namespace {

constexpr size_t FloodSize = 32u << 20;
const Bytes Request = {0x0A, 0x04, 0x00, 0x05, 0x00, 0x01};
const Bytes Answer = {0x0A, 0x04, 0x02, 0x12, 0x34};

bool readExactly(int fd, uint8_t* into, size_t size) {
    for (size_t got = 0; got < size;) {
        const ssize_t n = ::read(fd, into + got, size - got);
        if (n <= 0) return false;
        got += static_cast<size_t>(n);
    }
    return true;
}

bool writeAll(int fd, const uint8_t* bytes, size_t size) {
    for (size_t sent = 0; sent < size;) {
        const ssize_t n = ::write(fd, bytes + sent, size - sent);
        if (n <= 0) return false;
        sent += static_cast<size_t>(n);
    }
    return true;
}

struct Channel {
    const char* name;
    bool tcp;
};

class IdleFlood : public ::testing::TestWithParam<Channel> {
  protected:
    void SetUp() override {
        if (GetParam().tcp) {
            uint16_t port = 0;
            listener = ListenOnLoopback(port);
            ASSERT_TRUE(s.connectTcp(port));
            peer = ::accept(listener, nullptr, nullptr);
        } else {
            std::string path;
            peer = OpenRawPty(path, keep);
            ASSERT_TRUE(s.connectRtu(path));
        }
        ASSERT_GE(peer, 0);
    }
    void TearDown() override {
        if (thread.joinable()) thread.join();
        s.link.close();
        for (int fd : {peer, keep, listener})
            if (fd >= 0) ::close(fd);
    }

    // The peer floods, then answers one request (the MBAP header or the CRC as the link wants).
    void floodThenAnswer() {
        thread = std::thread([this] {
            const std::vector<uint8_t> noise(64 * 1024, 0xA5);
            for (size_t sent = 0; sent < FloodSize; sent += noise.size())
                if (!writeAll(peer, noise.data(), noise.size())) return;
            flooded = true;
            Bytes request(GetParam().tcp ? 12 : 8);
            if (!readExactly(peer, request.data(), request.size())) return;
            Bytes answer = Answer;
            if (GetParam().tcp) {
                answer.insert(answer.begin(), {request[0], request[1], 0, 0, 0, uint8_t(Answer.size())});
            } else {
                const Crc16 crc = Crc16Modbus(Answer);
                answer.insert(answer.end(), {crc.CrcLo, crc.CrcHi});
            }
            writeAll(peer, answer.data(), answer.size());
        });
    }
    // The sum of the counts in the log's drop lines.
    size_t loggedDrops() const {
        const std::regex line("(\\d+) bytes arrived while idle and were dropped  ");
        size_t sum = 0;
        std::smatch m;
        for (const std::string& l : s.shell->log.lines())
            if (std::regex_match(l, m, line)) sum += std::stoul(m[1]);
        return sum;
    }

    SimSession s;
    int peer = -1, keep = -1, listener = -1;
    std::atomic<bool> flooded{false};
    std::thread thread;
};

} // namespace

TEST_P(IdleFlood, TheLinkDropsWhatNobodyReadsAndTheNextTransactionIsRight) {
    floodThenAnswer();
    while (!flooded) // nothing reads: only the event loop runs
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    // What the link holds after the flood is its small inbox; the rest was dropped. The system may still
    // hold the flood's tail: take it all before the request, so that the answer is the only thing left.
    size_t taken = 0;
    for (std::string held = s.link.readAll();; held = s.link.readAll()) {
        EXPECT_LE(held.size(), BoundedInbox::Limit);
        taken += held.size();
        if (taken + loggedDrops() == FloodSize) break;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    EXPECT_GT(loggedDrops(), FloodSize / 2);

    s.request(Request);
    EXPECT_EQ(TrasmettiRicevi(s.app, 0), ComOk);
    Bytes answer = s.answer();
    answer.resize(Answer.size()); // without the CRC of the RTU answer
    EXPECT_EQ(answer, Answer);
}

INSTANTIATE_TEST_SUITE_P(Links, IdleFlood, ::testing::Values(Channel{"Tcp", true}, Channel{"Serial", false}),
                         [](const auto& info) { return std::string(info.param.name); });
