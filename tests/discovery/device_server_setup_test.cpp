// The gateway's default set-up over its console port, against a scripted TCP peer on loopback.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "discovery/device_server_setup.h"
#include "platform/qt_event_pump.h"
#include "platform/qt_link_port.h"
#include "support/qt_test_app.h"

namespace {

// Accepts one connection, then for each step reads what the step sends and answers in pieces.
class ConsolePeer {
  public:
    ConsolePeer(std::vector<std::vector<size_t>> answers) : answers_(std::move(answers)) {
        listener_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(listener_, reinterpret_cast<sockaddr*>(&a), sizeof a);
        listen(listener_, 1);
        socklen_t len = sizeof a;
        getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &len);
        port = ntohs(a.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~ConsolePeer() {
        shutdown(listener_, SHUT_RDWR);
        close(listener_);
        thread_.join();
    }
    uint16_t port = 0;
    std::vector<std::string> received; // what each step sent

  private:
    void serve() {
        int c = accept(listener_, nullptr, nullptr);
        if (c < 0) return;
        for (size_t step = 0; step < answers_.size(); ++step) {
            size_t want = DeviceServerSetup[step].text.size();
            std::string got;
            char buf[256];
            while (got.size() < want) {
                ssize_t n = recv(c, buf, sizeof buf, 0);
                if (n <= 0) break;
                got.append(buf, static_cast<size_t>(n));
            }
            received.push_back(got);
            for (size_t piece : answers_[step]) {
                std::string text(piece, 'x');
                send(c, text.data(), text.size(), MSG_NOSIGNAL);
                std::this_thread::sleep_for(std::chrono::milliseconds(30));
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        close(c);
    }
    std::vector<std::vector<size_t>> answers_;
    int listener_;
    std::thread thread_;
};

struct SetupRun : ::testing::Test {
    SetupRun() { QtTestApp(); }
    QtEventPump pump;
    QtLinkPort telnet;
};

TEST_F(SetupRun, SendsTheSevenStepsAndCountsAnswersThatComeInPieces) {
    ConsolePeer peer({{60, 60}, {900}, {100, 100}, {800}, {40}, {500, 500}, {40}});
    EXPECT_EQ(RunDeviceServerSetup(telnet, pump, "127.0.0.1", peer.port, 1000), 0);
    std::vector<std::string> sent(peer.received.begin(), peer.received.end());
    ASSERT_EQ(sent.size(), 7u);
    EXPECT_EQ(sent[2], "1192\r168\r1\r100\rY192\r168\r1\r1\rY255\r255\r255\r0\r");
    EXPECT_EQ(sent[2].size(), 43u);
    EXPECT_EQ(sent[5], "1\r1\r38400,8,N,1\r");
    EXPECT_EQ(sent[6], "S");
    EXPECT_FALSE(telnet.isConnected());
}

TEST_F(SetupRun, AShortAnswerOrARefusedConnectionFailsItsStep) {
    {
        ConsolePeer peer({{100}, {900}, {100}});
        EXPECT_EQ(RunDeviceServerSetup(telnet, pump, "127.0.0.1", peer.port, 300), 3);
    }
    uint16_t closedPort;
    {
        ConsolePeer peer({});
        closedPort = peer.port;
    }
    EXPECT_EQ(RunDeviceServerSetup(telnet, pump, "127.0.0.1", closedPort, 300), 1);
}

} // namespace
