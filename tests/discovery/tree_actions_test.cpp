#include <gtest/gtest.h>

#include "search_fixture.h"

namespace {

TEST(TreeActions, SetAsControllerConnectsToTheDeviceFound) {
    SimController sim(10);
    sim.setIdentification(0x84, 0x10, 0, 0);
    SearchFixture f;
    f.make(sim.startTcp("127.0.0.2"));
    f.search->cmd_Search_Click();
    ASSERT_EQ(f.search->DeviceIndex, 1);
    f.search->SetAsController();
    const DeviceRecord& c = f.comm->CurrentDevice;
    EXPECT_NE(c.Connected, 0);
    EXPECT_EQ(c.IpAddress, "127.0.0.2");
    EXPECT_EQ(c.NodeAddress, 10);
    EXPECT_EQ(c.LinkTimeout, 1000);
    ASSERT_FALSE(sim.transcript().empty());
    EXPECT_EQ(sim.transcript()[0], (Bytes{10, 4, 0, 1, 0, 2}));
    EXPECT_EQ(f.redraws, 1);
}

TEST(TreeActions, NodeOfADeviceInItsInitialState) {
    struct Case {
        std::string name;
        uint8_t init;
        bool modulesBox;
        uint8_t node;
    };
    const std::vector<Case> cases{{"JXV9568", 1, false, 245}, {"jxv9568", 1, false, 10},
                                  {"JXV9568", 2, false, 3},   {"JXV8410", 1, true, 245},
                                  {"JXV8410", 1, false, 10},  {"JXV9XXX", 0, true, 3}};
    for (const Case& c : cases) {
        SearchFixture f;
        f.enterA(ReplyA(c.name, 3, c.init), "127.0.0.9");
        f.search->form.chk_disp_ethernet[2] = c.modulesBox;
        f.search->SetAsController();
        EXPECT_EQ(f.comm->CurrentDevice.NodeAddress, c.node) << c.name << int(c.init);
    }
}

TEST(TreeActions, LinesSelectTheirDeviceAndCopyItsAddresses) {
    SearchFixture f;
    f.search->form.chk_disp_ethernet = {true, true, false};
    f.search->cmd_Search_Click();
    const std::vector<std::pair<std::string, std::string>> clicks{
        {"mac1", "127.0.0.2"}, {"nodo2", "127.0.0.3"}, {"rete", ""}, {"nodoB1.1", ""}};
    for (const auto& [key, ip] : clicks) {
        f.clipboard.clear();
        f.search->Elenco_NodeClick(key);
        f.search->CopyIP();
        EXPECT_EQ(f.clipboard, ip.empty() ? std::vector<std::string>{} : std::vector<std::string>{ip}) << key;
    }
    f.search->Elenco_NodeClick("ip1");
    f.search->CopyMAC();
    EXPECT_EQ(f.clipboard.back(), "02-1A-2B-3C-4D-5E");
    f.search->Elenco_DblClick();
    EXPECT_EQ(f.urls, std::vector<std::string>{"http://127.0.0.2"});
    // The gateway offers its set-up instead of a web page.
    f.search->Elenco_NodeClick("nodo2");
    f.dialogs.choices = {MsgChoice::Ok};
    f.search->Elenco_DblClick();
    EXPECT_EQ(f.dialogs.shown,
              (std::vector<std::string>{"Write default prog?", "Parameters saved, Restarting ..."}));
    EXPECT_EQ(f.urls.size(), 1u);
    f.search->Elenco_NodeClick("rete");
    f.search->ConfiguraServer();
    EXPECT_EQ(f.dialogs.shown.back(), "Selezionare dispositivo");
}

TEST(TreeActions, SetIpAddressSendsOneCheckedDatagram) {
    SearchFixture f;
    f.search->cmd_Search_Click();
    f.controller.received.clear();
    // Wrong answers ask again and send nothing; cancel ends.
    f.dialogs.inputs = {"10.0.0.7.9", "300.1.1.1", std::nullopt};
    f.search->SetIP();
    f.dialogs.inputs = {"192.168.1.50"};
    f.comm->SearchQueryA = -1;
    f.search->SetIP();
    EXPECT_EQ(f.comm->SearchQueryA, 0);
    f.pump.waitUntil([&] { return !f.gateway.received.empty(); }, 2000, false);
    ASSERT_EQ(f.gateway.received.size(), 1u);
    EXPECT_EQ(f.gateway.received[0], std::string("0002\x02\x1A\x2B\x3C\x4D\x5E\xC0\xA8\x01\x32\x2F"));
    EXPECT_TRUE(f.dialogs.inputs.empty());
}

TEST(TreeActions, SubNodesAreScannedThroughTheGatewayOverTcp) {
    SimController sim(10);
    DescribeJxv9(sim, 7);
    SearchFixture f;
    f.make(sim.startTcp("127.0.0.2"));
    f.enterA(ReplyA("GW", 10, 0), "127.0.0.2");
    f.enterA(ReplyA("GW", 10, 0), "127.0.0.2");
    f.comm->CurrentDevice.Channel = 1; // the link was serial before
    for (const char* gateway : {"nodo1", "nodo2", "ip1"}) {
        f.search->Elenco_NodeClick(gateway);
        f.search->SearchSubNodes();
    }
    EXPECT_EQ(sim.commandRegister(), 0x64);
    EXPECT_EQ(f.comm->CurrentDevice.Channel, 0);
    EXPECT_EQ(f.comm->CurrentDevice.IpAddress, "127.0.0.2");
    std::vector<std::string> sub;
    for (const std::string& l : f.lines())
        if (l.substr(0, l.find('|')).find_first_of(".N") != std::string::npos) sub.push_back(l);
    // A second gateway's sub-nodes are listed too; scanning the first again replaces its lines.
    EXPECT_EQ(sub, (std::vector<std::string>{"subNet2|nodo2|SubNet|", "nodoB2.1|subNet2|JXV9 [7]|",
                                             "addrB2.1|nodoB2.1|Addr: 7|", "versB2.1|nodoB2.1|Vers: 1234|",
                                             "subNet1|nodo1|SubNet|", "nodoB1.1|subNet1|JXV9 [7]|",
                                             "addrB1.1|nodoB1.1|Addr: 7|", "versB1.1|nodoB1.1|Vers: 1234|"}));
    EXPECT_TRUE(f.search->form.cmd_Search_enabled);
}

} // namespace
