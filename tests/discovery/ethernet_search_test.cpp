#include <gtest/gtest.h>

#include "search_fixture.h"

namespace {

using Lines = std::vector<std::string>;

TEST(EthernetSearch, ControllerAndGatewayRepliesBecomeTreeLinesAndRecords) {
    SearchFixture f;
    f.comm->DeviceTable[2].Init = -1; // left by an earlier search
    f.comm->DeviceTable[2].IpBytes[0] = 9;
    f.search->form.chk_disp_ethernet = {true, true, false};
    f.search->cmd_Search_Click();

    EXPECT_EQ(f.comm->AnswerTimeout, 1); // never below a second
    EXPECT_EQ(f.controller.received, Lines{"0001"});
    EXPECT_EQ(f.gateway.received, Lines{std::string("\0\0\0\xF6", 4)});
    EXPECT_EQ(f.lines(), (Lines{"rete||Ethernet|connect", "nodo1|rete|JXV8410 [127.0.0.2]|host",
                                "ip1|nodo1|IP: 127.0.0.2|", "mac1|nodo1|MAC: 02-1A-2B-3C-4D-5E|",
                                "ipEE1|nodo1|IP_EE: 192.168.1.5|", "Mask1|nodo1|Mask: 255.255.255.0|",
                                "addr1|nodo1|Addr: 10|", "init1|nodo1|Init: 0|", "nodo2|rete|JXV7950-MBTCP|",
                                "ip2|nodo2|IP: 127.0.0.3|", "mac2|nodo2|MAC: 00-20-4A-01-02-03|"}));
    EXPECT_EQ(f.search->form.lbl_search, "Search Complete");
    EXPECT_EQ(f.search->Elenco.SelectedKey, "nodo1"); // the gateway is shown, not selected
    EXPECT_EQ(f.search->form.List2, Lines{"127.0.0.1"});
    EXPECT_EQ(f.search->form.Text1, "127.0.0.1");
    EXPECT_EQ(f.comm->SearchQueryA + f.comm->SearchQueryB, 0);

    // Records start cleared: nothing of an earlier search stays; a gateway gets its own MAC bytes.
    EXPECT_EQ(Record(f.comm->DeviceTable[1]),
              "127.0.0.2:502 ch0 row0 node10 'JXV8410' mask 255.255.255.0 init0 "
              "mac 02-1A-2B-3C-4D-5E/021A2B3C4D5E ipee 192.168.1.5 9600 ");
    EXPECT_EQ(Record(f.comm->DeviceTable[2]), "127.0.0.3:502 ch0 row12 node0 'JXV7950-MBTCP' mask  init0 "
                                              "mac 00-20-4A-01-02-03/00204A010203 ipee 0.0.0.0 9600 ");
    EXPECT_EQ(f.search->found(), 2);
}

TEST(EthernetSearch, FamilyBoxesChooseTheQueries) {
    struct Case {
        std::array<bool, 3> boxes;
        size_t queriesA, queriesB, devices;
        std::string label;
    };
    const Case cases[]{{{true, false, false}, 1, 0, 1, "Searching: Ethernet; JXV8410"},
                       {{false, false, true}, 1, 0, 1, "Searching: Ethernet; JXV8410"},
                       {{false, true, false}, 0, 1, 1, "Searching: Ethernet;  JXV7950-MBTCP"},
                       {{false, false, false}, 0, 0, 0, "Search Complete"}};
    for (const Case& c : cases) {
        SearchFixture f;
        std::vector<std::string> labels;
        f.search->onFormChanged = [&] {
            if (labels.empty() || labels.back() != f.search->form.lbl_search)
                labels.push_back(f.search->form.lbl_search);
        };
        f.search->form.chk_disp_ethernet = c.boxes;
        f.search->cmd_Search_Click();
        EXPECT_EQ(f.controller.received.size(), c.queriesA);
        EXPECT_EQ(f.gateway.received.size(), c.queriesB);
        EXPECT_EQ(f.search->DeviceIndex, static_cast<int16_t>(c.devices));
        EXPECT_EQ(labels.back(), "Search Complete");
        EXPECT_NE(std::find(labels.begin(), labels.end(), c.label), labels.end());
    }
}

TEST(EthernetSearch, NoSecondSearchWhileOneRuns) {
    SearchFixture f;
    bool pressed = false;
    f.search->onFormChanged = [&] {
        if (!pressed && f.search->form.lbl_search.starts_with("Searching")) {
            pressed = true;
            f.search->cmd_stop_Click();
            EXPECT_FALSE(f.search->form.cmd_Search_enabled);
            f.search->cmd_Search_Click();
        }
    };
    f.search->cmd_Search_Click();
    EXPECT_EQ(f.controller.received.size(), 1u);
    EXPECT_TRUE(f.search->form.cmd_Search_enabled);
}

TEST(EthernetSearch, BeyondAHundredDevicesTheTreeGoesOnButTheTableEnds) {
    SearchFixture f;
    for (int i = 0; i < 101; ++i)
        f.enterA(ReplyA("N" + std::to_string(i), 1, 0), "127.0.0.9");
    EXPECT_TRUE(f.search->Elenco.find("nodo101"));
    EXPECT_EQ(f.search->found(), 100);
    EXPECT_EQ(f.comm->DeviceTable[100].DeviceName, "N99    ");
    // Device 101 has no record: the actions do nothing with it.
    f.search->CopyIP();
    f.search->Elenco_NodeClick("ip100");
    f.search->CopyIP();
    EXPECT_EQ(f.clipboard, Lines{"127.0.0.9"});
}

TEST(EthernetSearch, FailuresAreShownAndLeaveNoQueryFlagBehind) {
    struct Case {
        std::string bind, mask, message;
    };
    const Case cases[]{{"not-an-address", "127.0.0.2", "Cannot bind the search to not-an-address port 0"},
                       {"127.0.0.1", "no.such.mask", "Cannot send the search to no.such.mask"}};
    for (const Case& c : cases) {
        SearchFixture f;
        f.search->BindAddressSet = true;
        f.search->form.Text1 = c.bind;
        f.search->form.Loc_mask = c.mask;
        f.search->cmd_Search_Click();
        ASSERT_EQ(f.dialogs.shown.size(), 1u);
        EXPECT_EQ(f.dialogs.shown[0].rfind(c.message, 0), 0u) << f.dialogs.shown[0];
        EXPECT_EQ(f.search->form.lbl_search, "Search failed");
        EXPECT_EQ(f.comm->SearchQueryA, 0);
        EXPECT_TRUE(f.search->form.cmd_Search_enabled);
        EXPECT_TRUE(f.controller.received.empty());
        // A reply that comes late is not taken for a device.
        f.search->UDP_DataArrival(ReplyA("LATE", 1, 0), "127.0.0.2");
        EXPECT_EQ(f.search->DeviceIndex, 0);
    }
}

TEST(EthernetSearch, PrivilegedPortFallsBackToAFreePortAndSaysSo) {
    SearchFixture f;
    f.make(502, 809);
    f.search->cmd_Search_Click();
    EXPECT_GE(f.search->DeviceIndex, 1);
    const auto& lines = f.shell->log.lines();
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& l) {
        return l.find("devices answering to port 809 will not be heard") != std::string::npos;
    }));
}

} // namespace
