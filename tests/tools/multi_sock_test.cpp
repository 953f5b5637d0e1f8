// The multi-connection scan: two simulated controllers on two ports, one of them silent, and typed
// devices refused when their address, port or node is not valid.
#include "platform/qt_link_port.h"
#include "tool_fixture.h"
#include "tools/multi_sock.h"

namespace {

class MultiSockTest : public ToolFixture {
  protected:
    QtLinkPort link;
    MultiSock scan{s.app, link};
};

TEST_F(MultiSockTest, RefusesInvalidDevicesScansEachOtherAndReportsTheSilentOne) {
    s.shell->Models[3].ModelCode = "1A0F";
    s.shell->Models[3].ModelName = "Alpha";
    SimController second{7};
    second.setIdentification(0x01, 0x0A, 0x00, 0x0F);
    second.setRunStatus(0xFF);
    const uint16_t secondPort = second.startTcp();
    for (auto [ip, port, node] : {std::array{"127.0.0", "502", "1"},
                                  {"127.0.0.256", "502", "1"},
                                  {"127.0.0.1", "0", "1"},
                                  {"127.0.0.1", "502", "256"}})
        EXPECT_FALSE(scan.add(ip, port, node)) << ip << " " << port << " " << node;
    EXPECT_TRUE(scan.Devices.empty());
    sim.inject({SimFault::Silence});
    ASSERT_TRUE(scan.add("127.0.0.1", std::to_string(uint16_t(s.comm->CurrentDevice.Port)), "10"));
    ASSERT_TRUE(scan.add("127.0.0.1", std::to_string(secondPort), "7"));
    scan.scan();
    ASSERT_EQ(scan.Devices.size(), 2u);
    EXPECT_EQ(scan.Devices[0].Result, "No answer");
    EXPECT_EQ(scan.Devices[1].Result, "OK");
    EXPECT_EQ(scan.Devices[1].Model, "Alpha");
    EXPECT_EQ(scan.Devices[1].RunState, "Run");
    EXPECT_EQ(second.transcript(), (std::vector<Bytes>{{7, 4, 0, 1, 0, 2}, {7, 4, 0, 0, 0, 1}}));
    EXPECT_TRUE(s.comm->CurrentDevice.Connected); // the current device's link is left alone
    EXPECT_EQ(s.comm->PollBusy, 0);
}

} // namespace
