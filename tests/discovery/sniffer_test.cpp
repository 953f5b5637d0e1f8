// The traffic sniffer against a device on loopback that echoes a copy of its traffic.
#include <gtest/gtest.h>

#include "discovery/sniffer.h"
#include "platform/qt_datagram_socket.h"
#include "search_fixture.h"

namespace {

TEST(Sniffer, StartAndStopReachTheTypedDeviceAndCopiesAreListed) {
    SimSession s;
    FakeDevice device("127.0.0.2", std::string("\x01\x03\x00\x0A", 4));
    QtDatagramSocket socket;
    Sniffer sniffer(
        s.app, socket, [] { return std::string("now"); }, device.port());
    sniffer.IP_SNIFF = "127.0.0.2";
    sniffer.Command5_Click();
    ASSERT_TRUE(s.pump.waitUntil([&] { return sniffer.List1.size() == 1; }, 2000, false));
    EXPECT_EQ(sniffer.List1[0], "now 01 03000A"); // a space only after the first byte
    EXPECT_EQ(snifferDumpLine("t", std::string("\xFF", 1)), "t FF ");
    sniffer.Command3_Click();
    ASSERT_TRUE(s.pump.waitUntil([&] { return device.received.size() == 2; }, 2000, false));
    EXPECT_EQ(device.received, (std::vector<std::string>{"0003", "0004"}));
    sniffer.Command5_Click(); // a new start clears what was listed
    EXPECT_TRUE(sniffer.List1.empty());

    sniffer.IP_SNIFF = "not an address";
    sniffer.Command3_Click();
    EXPECT_NE(s.shell->log.lines().back().find("0004 not sent to not an address"), std::string::npos);
}

} // namespace
