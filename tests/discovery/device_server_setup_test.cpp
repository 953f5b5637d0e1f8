// The gateway's default set-up over its console port, against a scripted TCP peer on loopback.
#include <gtest/gtest.h>

#include "console_peer.h"
#include "discovery/device_server_setup.h"
#include "platform/qt_event_pump.h"
#include "platform/qt_link_port.h"
#include "support/qt_test_app.h"

namespace {

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
    EXPECT_EQ(sent[5], "1\r1\r38400,8,N,1\r");
    EXPECT_EQ(sent[6], "S");
    EXPECT_FALSE(telnet.isConnected());
}

TEST_F(SetupRun, AShortAnswerOrARefusedConnectionFailsItsStep) {
    {
        ConsolePeer peer({{100}, {900}, {100}});
        EXPECT_EQ(RunDeviceServerSetup(telnet, pump, "127.0.0.1", peer.port, 300), 3);
    }
    EXPECT_EQ(RunDeviceServerSetup(telnet, pump, "127.0.0.1", ClosedLoopbackPort(), 300), 1);
}

} // namespace
