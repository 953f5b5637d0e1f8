#include <gtest/gtest.h>

#include "search_fixture.h"

namespace {

struct SerialFixture : SearchFixture {
    SimController sim{1};
    std::string path = sim.startRtu();
    SerialFixture() {
        DescribeJxv9(sim, 5);
        search->Form_Load({path});
        search->form.cmb_porta = 33;
        search->form.chk_baud = 7;
        search->form.txt_Timeout = "1000";
        search->form.txt_indir = {"1", "1"};
    }
};

TEST(SerialScan, PollsTheRangeAndListsTheDeviceByItsOwnAddress) {
    SerialFixture f;
    f.search->cmd_Search_Click();
    ASSERT_FALSE(f.sim.wire().empty());
    EXPECT_EQ(f.sim.wire()[0], (Bytes{0x01, 0x04, 0x00, 0x00, 0x00, 0x07, 0xB1, 0xC8}));
    EXPECT_EQ(f.lines(), (std::vector<std::string>{"rete||" + f.path + "|connect", "nodo1|rete|JXV9 [5]|",
                                                   "addr1|nodo1|Addr: 5|", "vers1|nodo1|Vers: 1234|"}));
    EXPECT_EQ(Record(f.comm->DeviceTable[1]),
              ":502 ch1 row48 node5 '' mask  init0 mac /000000000000 ipee 0.0.0.0 115200 " + f.path);
    EXPECT_EQ(f.search->form.lbl_search, "Search Complete");
    // The link stays on the scanned port.
    EXPECT_NE(f.comm->CurrentDevice.Connected, 0);
    EXPECT_EQ(f.comm->CurrentDevice.LinkTimeout, 1000);
    EXPECT_EQ(f.comm->AnswerTimeout, 1);
    // A device without a MAC address cannot be given an IP address.
    f.dialogs.inputs = {"10.0.0.7"};
    f.search->SetIP();
    EXPECT_EQ(f.dialogs.inputs.size(), 1u);
}

TEST(SerialScan, BadNumbersNeverDropTheUsersLink) {
    const std::vector<std::array<std::string, 3>> cases{
        {"1000", "x", "5"}, {"1000", "1", "256"}, {"40000", "1", "2"}, {"1e3", "1", "2"}};
    for (const auto& [timeout, from, to] : cases) {
        SerialFixture f;
        f.search->form.txt_Timeout = timeout;
        f.search->form.txt_indir = {from, to};
        f.search->cmd_Search_Click();
        EXPECT_EQ(f.dialogs.shown.size(), 1u) << timeout << from << to;
        EXPECT_EQ(f.comm->CurrentDevice.Channel, 0);
        EXPECT_EQ(f.comm->CurrentDevice.SerialDevice, "");
        for (const std::string& line : f.shell->log.lines())
            EXPECT_EQ(line.find("Disconnect"), std::string::npos);
        EXPECT_TRUE(f.sim.wire().empty());
    }
}

} // namespace
