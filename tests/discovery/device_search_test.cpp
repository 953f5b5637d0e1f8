// The device search against fake devices and simulated controllers on loopback: Ethernet replies, the
// tree's actions, the serial scan, the traffic sniffer, the protocol's decoders and the gateway's set-up.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <QElapsedTimer>
#include <QTimer>
#include <thread>

#include "core/build_flags.h"
#include "core/busy_run.h"
#include "discovery/device_server_setup.h"
#include "discovery/device_tree.h"
#include "discovery/node_identity.h"
#include "discovery/sniffer.h"
#include "discovery/typed_numbers.h"
#include "search_fixture.h"

namespace {

using Lines = std::vector<std::string>;

// Sends count datagrams from 127.0.0.5 to 127.0.0.1:port, in turn empty, short, a reply, too long and
// a gateway's length; the first ones are replies, so the list fills.
void Flood(uint16_t port, int count) {
    const int s = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in from{AF_INET, 0, {htonl(0x7F000005)}, {}};
    sockaddr_in to{AF_INET, htons(port), {htonl(0x7F000001)}, {}};
    bind(s, reinterpret_cast<sockaddr*>(&from), sizeof from);
    const std::string kinds[]{"", "short", ReplyA("FLOOD", 1, 0), std::string(2000, 'L'), ReplyB()};
    for (int i = 0; i < count; ++i) {
        const std::string& d = i < 150 ? kinds[2] : kinds[i % 5];
        sendto(s, d.data(), d.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    }
    close(s);
}

// Bound from a privileged port the user may not have, the search falls back to a free one and says so.
TEST(EthernetSearch, ControllerAndGatewayRepliesBecomeTreeLinesAndRecords) {
    SearchFixture f;
    f.make(502, 809);
    f.comm->DeviceTable[2].Init = -1; // left by an earlier search
    f.comm->DeviceTable[2].IpBytes[0] = 9;
    f.search->form.chk_disp_ethernet = {true, true, false};
    f.search->cmd_Search_Click();

    EXPECT_EQ(f.comm->AnswerTimeout, 1); // never below a second
    EXPECT_EQ(f.controller.received, Lines{"0001"});
    EXPECT_EQ(f.gateway.received, Lines{std::string("\0\0\0\xF6", 4)});
    Lines tree{"rete||Ethernet|connect",          "nodo1|rete|JXV8410 [127.0.0.2]|host",
               "ip1|nodo1|IP: 127.0.0.2|",        "mac1|nodo1|MAC: 02-1A-2B-3C-4D-5E|",
               "ipEE1|nodo1|IP_EE: 192.168.1.5|", "Mask1|nodo1|Mask: 255.255.255.0|",
               "addr1|nodo1|Addr: 10|",           "init1|nodo1|Init: 0|"};
    if (BuildInternal) tree.push_back("SwInt1|nodo1|intSw:  7|"); // the internal edition shows the switches
    tree.insert(tree.end(), {"nodo2|rete|JXV7950-MBTCP|", "ip2|nodo2|IP: 127.0.0.3|",
                             "mac2|nodo2|MAC: 00-20-4A-01-02-03|"});
    EXPECT_EQ(f.lines(), tree);
    EXPECT_EQ(f.search->form.lbl_search, "Search Complete");
    EXPECT_EQ(f.search->form.portNote.rfind("Port 809 not allowed", 0), 0u);
    EXPECT_NE(f.search->form.portNote.find("\nsudo setcap cap_net_bind_service=+ep "), std::string::npos);
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
    EXPECT_TRUE(std::ranges::any_of(f.shell->log.lines(), [](const std::string& l) {
        return l.find("devices answering to port 809 will not be heard") != std::string::npos;
    }));
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
        EXPECT_EQ(labels.back(), "Search Complete"); // the count goes to the log
        EXPECT_EQ(f.shell->log.lines().back(),
                  "Search Complete, devices found: " + std::to_string(c.devices) + "  ");
        EXPECT_EQ(f.search->form.portNote, "");
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

TEST(EthernetSearch, TheListEndsAtAHundredDevicesAndWhatIsNoReplyIsIgnored) {
    SearchFixture f;
    for (const std::string& junk : {std::string(), std::string(24, 'x'), std::string(1473, 'x')})
        f.enterA(junk, "127.0.0.8");
    EXPECT_EQ(f.search->DeviceIndex, 0);
    for (int i = 0; i < 101; ++i)
        f.enterA(ReplyA("N" + std::to_string(i), 1, 0), "127.0.0.9");
    f.enterA(std::string(1472, 'x'), "127.0.0.10"); // the longest reply, after the list is full
    EXPECT_TRUE(f.search->Elenco.find("nodo100"));
    EXPECT_FALSE(f.search->Elenco.find("nodo101"));
    EXPECT_EQ(f.search->DeviceIndex, 100);
    EXPECT_EQ(f.search->found(), 100);
    EXPECT_EQ(f.comm->DeviceTable[100].DeviceName, "N99    ");
    f.search->Elenco_NodeClick("ip100");
    f.search->CopyIP();
    EXPECT_EQ(f.clipboard, Lines{"127.0.0.9"});
}

// The user may select any line while replies still come: the next device still gets the next number.
TEST(EthernetSearch, ALineSelectedDuringTheSearchRenumbersNothing) {
    SearchFixture f;
    for (const char* sender : {"127.0.0.11", "127.0.0.12", "127.0.0.13"})
        f.enterA(ReplyA("N", 1, 0), sender);
    for (const char* key : {"ip1", "rete"}) {
        f.search->Elenco_NodeClick(key);
        f.enterA(ReplyA("N", 1, 0), "127.0.0.14");
    }
    EXPECT_TRUE(f.search->Elenco.find("nodo5"));
    EXPECT_EQ(f.search->found(), 5);
    for (int n = 1; n <= 3; ++n)
        EXPECT_EQ(f.comm->DeviceTable[static_cast<size_t>(n)].IpAddress, "127.0.0." + std::to_string(10 + n));
    EXPECT_EQ(f.comm->DeviceTable[5].IpAddress, "127.0.0.14");
}

// 10,000 datagrams of every length from a flooding peer on loopback during a search of one second.
TEST(EthernetSearch, AFloodIsTakenInBoundedTurnsAndTheSearchEndsOnItsTimeOut) {
    SearchFixture f;
    f.search->form.txt_Timeout = "1000";
    f.search->form.chk_disp_ethernet = {true, false, false};
    std::thread flood;
    f.search->onFormChanged = [&] {
        if (!flood.joinable() && f.search->form.lbl_search.starts_with("Searching"))
            flood = std::thread(Flood, f.udp.localPort(), 10000);
    };
    // Datagrams handled between two turns of the event loop.
    int thisTurn = 0, mostInATurn = 0;
    QTimer turn;
    QObject::connect(&turn, &QTimer::timeout,
                     [&] { mostInATurn = std::max(mostInATurn, std::exchange(thisTurn, 0)); });
    turn.start(0);
    auto handle = f.udp.onDatagram;
    f.udp.onDatagram = [&](const std::string& payload, const std::string& sender) {
        ++thisTurn;
        handle(payload, sender);
    };
    const auto start = std::chrono::steady_clock::now();
    f.search->cmd_Search_Click();
    const auto took = std::chrono::steady_clock::now() - start;
    flood.join();
    EXPECT_LE(took, std::chrono::milliseconds(1500));
    EXPECT_LE(mostInATurn, 128); // 64 per socket
    EXPECT_GE(f.search->DeviceIndex, 1);
    EXPECT_LE(f.search->DeviceIndex, 100);
    EXPECT_FALSE(f.search->Elenco.find("nodo101"));
    EXPECT_EQ(f.search->form.lbl_search.rfind("Search Complete", 0), 0u);
    EXPECT_TRUE(std::ranges::any_of(f.shell->log.lines(), [](const std::string& l) {
        return l.find("datagrams of no reply's length ignored") != std::string::npos;
    }));
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
    // With no network but loopback the bind box keeps its address, and the message names it.
    SearchFixture f;
    f.addresses.list.clear();
    f.search->form.Text1 = "198.51.100.1";
    f.search->cmd_Search_Click();
    EXPECT_EQ(f.search->form.Text1, "198.51.100.1");
    ASSERT_EQ(f.dialogs.shown.size(), 1u);
    EXPECT_EQ(f.dialogs.shown[0].rfind("Cannot bind the search to 198.51.100.1 port 0", 0), 0u);
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
        // Nothing answers there: the connect tells why, and the device is asked nothing more.
        EXPECT_EQ(f.dialogs.shown.size(), 1u);
        EXPECT_EQ(f.redraws, 1);
    }
}

TEST(TreeActions, LinesSelectTheirDeviceToCopyOpenSetUpAddressAndConnect) {
    SimController sim(10);
    sim.setIdentification(0x84, 0x10, 0, 0);
    SearchFixture f;
    f.make(sim.startTcp("127.0.0.2"));
    f.search->form.chk_disp_ethernet = {true, true, false};
    f.search->cmd_Search_Click();
    for (auto [key, ip] :
         {std::pair{"mac1", "127.0.0.2"}, {"nodo2", "127.0.0.3"}, {"rete", ""}, {"nodoB1.1", ""}}) {
        f.clipboard.clear();
        f.search->Elenco_NodeClick(key);
        f.search->CopyIP();
        EXPECT_EQ(f.clipboard, *ip ? Lines{ip} : Lines{}) << key;
    }
    f.search->Elenco_NodeClick("ip1");
    f.search->CopyMAC();
    EXPECT_EQ(f.clipboard.back(), "02-1A-2B-3C-4D-5E");
    f.search->Elenco_DblClick();
    EXPECT_EQ(f.urls, Lines{"http://127.0.0.2"});

    // Set IP address: wrong answers ask again and send nothing; cancel ends; then one checked datagram.
    f.dialogs.inputs = {"10.0.0.7.9", "300.1.1.1", std::nullopt};
    f.search->SetIP();
    // It leaves from the Network bind address; when that cannot be bound nothing leaves.
    f.dialogs.inputs = {"192.168.1.50", "192.168.1.50"};
    f.search->form.Text1 = "198.51.100.1";
    f.gateway.received.clear();
    f.gateway.senders.clear();
    f.search->SetIP();
    EXPECT_NE(f.dialogs.shown.back().find("cannot bind to Network bind 198.51.100.1"), std::string::npos);
    f.search->form.Text1 = "127.0.0.4";
    f.comm->SearchQueryA = -1;
    f.search->SetIP();
    EXPECT_EQ(f.comm->SearchQueryA, 0);
    f.pump.waitUntil([&] { return !f.gateway.received.empty(); }, 2000, false);
    EXPECT_EQ(f.gateway.received, Lines{std::string("0002\x02\x1A\x2B\x3C\x4D\x5E\xC0\xA8\x01\x32\x2F")});
    EXPECT_EQ(f.gateway.senders, Lines{"127.0.0.4"});
    EXPECT_TRUE(f.dialogs.inputs.empty());

    f.search->SetAsController();
    const DeviceRecord& c = f.comm->CurrentDevice;
    EXPECT_NE(c.Connected, 0);
    EXPECT_EQ((std::tuple{c.IpAddress, c.NodeAddress, c.LinkTimeout}), (std::tuple{"127.0.0.2", 10, 1000}));
    ASSERT_FALSE(sim.transcript().empty());
    EXPECT_EQ(sim.transcript()[0], (Bytes{10, 4, 0, 1, 0, 2}));
    EXPECT_EQ(f.redraws, 1);

    // The gateway offers its set-up instead of a web page.
    f.dialogs.shown.clear();
    f.search->Elenco_NodeClick("nodo2");
    f.dialogs.choices = {MsgChoice::Ok};
    Lines labels;
    f.search->onFormChanged = [&] {
        if (labels.empty() || labels.back() != f.search->form.lbl_search)
            labels.push_back(f.search->form.lbl_search);
    };
    f.search->Elenco_DblClick();
    f.search->onFormChanged = nullptr;
    EXPECT_EQ(f.dialogs.shown, (Lines{"Write default prog?", "Parameters saved, Restarting ..."}));
    ASSERT_EQ(labels.size(), 8u); // the set-up shows each of its seven steps, then its end
    EXPECT_EQ(labels[2], "Gateway set-up of 127.0.0.3: step 3 of 7");
    EXPECT_EQ(labels.back(), "Gateway set-up of 127.0.0.3: done");
    EXPECT_EQ(f.urls.size(), 1u);
    f.search->Elenco_NodeClick("rete");
    f.search->ConfiguraServer();
    EXPECT_EQ(f.dialogs.shown.back(), "Selezionare dispositivo");
}

// Set IP address during a search, after another network was chosen in the list: the command leaves
// through the search's own socket, query B still leaves from the search's port and the gateway is heard.
TEST(TreeActions, SetIpDuringASearchLeavesTheSearchSocketAlone) {
    SearchFixture f;
    QUdpSocket free; // a port of the search's own, as 809 is for the program
    free.bind(QHostAddress("127.0.0.1"), 0);
    const uint16_t port = free.localPort();
    free.close();
    f.make(502, port);
    f.search->form.chk_disp_ethernet = {true, true, false};
    f.search->form.txt_Timeout = "40000"; // a wait beyond the link's 16-bit time-out is taken
    auto heard = f.udp.onDatagram;
    f.udp.onDatagram = [&](const std::string& payload, const std::string& sender) {
        heard(payload, sender);
        if (f.search->form.txt_Timeout == "300" || !f.search->Elenco.find("nodo1")) return;
        f.search->form.txt_Timeout = "300";
        f.search->Elenco_NodeClick("nodo1");
        f.search->form.Text1 = "127.0.0.4";
        f.dialogs.inputs = {"192.168.1.50"};
        f.search->SetIP();
    };
    f.search->cmd_Search_Click();
    ASSERT_EQ(f.gateway.received.size(), 2u); // the command, then query B
    EXPECT_EQ(f.gateway.received[1], std::string("\0\0\0\xF6", 4));
    EXPECT_EQ(f.gateway.ports, (std::vector<uint16_t>{port, port}));
    EXPECT_EQ(f.gateway.senders, (Lines{"127.0.0.1", "127.0.0.1"}));
    ASSERT_TRUE(f.search->Elenco.find("nodo2"));
    EXPECT_EQ(f.search->Elenco.find("nodo2")->Text, "JXV7950-MBTCP");
    EXPECT_TRUE(f.dialogs.shown.empty());
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
    EXPECT_EQ(f.search->form.lbl_search, "Sub-node search complete: 1 sub-nodes");
    EXPECT_TRUE(f.search->form.cmd_Search_enabled);
}

// Stop 0.3 s in, while the scan reaches the gateway, or while the gateway is slow to answer the halt (0):
// no address is polled and the scan says it stopped.
TEST(TreeActions, StopEndsASubNodeScanInItsFirstPhase) {
    for (const int stopAtMs : {300, 0}) {
        SimController sim(10);
        sim.inject({SimFault::Delay, stopAtMs ? 0 : 1500});
        SearchFixture f;
        f.make(sim.startTcp());
        f.search->form.txt_Timeout = "3000";
        f.enterA(ReplyA("GW", 10, 0), "127.0.0.1");
        f.search->Elenco_NodeClick("nodo1");
        QElapsedTimer clock;
        clock.start();
        QTimer stopper;
        stopper.callOnTimeout([&] {
            if (stopAtMs ? clock.elapsed() >= stopAtMs : !sim.transcript().empty())
                stopper.stop(), f.search->cmd_stop_Click();
        });
        stopper.start(10);
        f.search->SearchSubNodes();
        EXPECT_EQ(sim.transcript().size(), stopAtMs ? 0u : 1u); // the halt, if any
        EXPECT_EQ(f.search->form.lbl_search, "Sub-node search stopped: 0 sub-nodes");
    }
}

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
    // Stopped, the scan says where it ended.
    f.search->form.txt_indir = {"1", "30"};
    f.search->onFormChanged = [&] {
        if (f.search->SearchRunning && f.search->form.lbl_search.ends_with("Addr: 1"))
            f.search->cmd_stop_Click();
    };
    f.search->cmd_Search_Click();
    EXPECT_EQ(f.search->form.lbl_search, "Search Complete");
    EXPECT_EQ(f.shell->log.lines().back(), "Search Complete, devices found: 1 (stopped at Addr: 2)  ");
}

// A device that answers on every address: the list ends at its hundredth device, every line a record.
TEST(SerialScan, TheListEndsAtAHundredDevices) {
    SearchFixture f;
    SimController line;
    line.setResponder([](const Bytes& r) {
        const uint16_t regs[]{0, 0x0102, 0x0304, 'X' << 8 | 'J', '9' << 8 | 'V', 0, r[0]};
        Bytes a{r[0], 4, 14};
        for (uint16_t v : regs)
            a.push_back(static_cast<uint8_t>(v >> 8)), a.push_back(static_cast<uint8_t>(v));
        return a;
    });
    const std::string path = line.startRtu();
    f.search->Form_Load({path});
    f.search->form.cmb_porta = 33;
    f.search->form.txt_indir = {"1", "120"};
    f.search->cmd_Search_Click();
    EXPECT_TRUE(f.search->Elenco.find("nodo100"));
    EXPECT_FALSE(f.search->Elenco.find("nodo101"));
    EXPECT_EQ(f.search->found(), 100);
    EXPECT_EQ(f.dialogs.shown, std::vector<std::string>{"More than 100 devices: the search ends here."});
}

TEST(SerialScan, ARunUnderWayKeepsTheUsersLink) {
    SerialFixture f;
    {
        const BusyRun download(f.app, "a download");
        f.search->cmd_Search_Click();
    }
    EXPECT_EQ(f.shell->log.lines().back(), "Search refused: a download is under way  ");
    EXPECT_EQ(f.comm->CurrentDevice.Channel, 0);
    EXPECT_TRUE(f.sim.wire().empty());
    EXPECT_TRUE(f.search->form.cmd_Search_enabled);
    // A scan is a run itself; started from inside a polling loop it ends that loop, so the link closes.
    std::string run;
    f.search->onFormChanged = [&] {
        if (f.comm->RunUnderWay) run = f.comm->RunUnderWay;
    };
    f.comm->PollStop = 0;
    f.search->cmd_Search_Click();
    EXPECT_EQ(run, "a serial search");
    EXPECT_EQ(f.comm->PollStop, 1);
    EXPECT_EQ(f.comm->CurrentDevice.Channel, 1);
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
    std::string hex; // a long datagram shows its first 512 bytes and its length
    for (int i = 0; i < 511; ++i)
        hex += "41";
    EXPECT_EQ(snifferDumpLine("t", std::string(600, 'A')), "t 41 " + hex + " ... (600 bytes)");
    for (int i = 0; i <= 10000; ++i) // the list keeps the newest 10,000 lines
        socket.onDatagram(std::to_string(i), "127.0.0.2");
    EXPECT_EQ(sniffer.List1.size(), 10000u);
    EXPECT_EQ(sniffer.List1.front(), "now 31 "); // "1": the line of "0" went first
    sniffer.Command3_Click();
    ASSERT_TRUE(s.pump.waitUntil([&] { return device.received.size() == 2; }, 2000, false));
    EXPECT_EQ(device.received, (std::vector<std::string>{"0003", "0004"}));
    sniffer.Command5_Click(); // a new start clears what was listed
    EXPECT_TRUE(sniffer.List1.empty());

    sniffer.IP_SNIFF = "not an address";
    sniffer.Command3_Click();
    EXPECT_NE(s.shell->log.lines().back().find("0004 not sent to not an address"), std::string::npos);
}

TEST(SearchProtocol, ShortRepliesGiveWhatTheyHoldTypedNumbersAddressesAndKeys) {
    const SearchReply a = DecodeReplyA(std::string("AB\0\0\0\0\0\0\x02\x1A", 10));
    EXPECT_EQ(a.Name, std::string("AB\0\0\0\0\0", 7));
    EXPECT_EQ(a.MacText, "02-1A");
    EXPECT_EQ(DottedText(a.StoredIp), "0.0.0.0");
    EXPECT_EQ(a.Node, 0);
    EXPECT_EQ(DecodeReplyB("").MacText, "");
    EXPECT_EQ(DecodeReplyA("\xE9\xFF").Name, "\xE9\xFF"); // bytes above 127 stay bytes
    // Typed addresses and numbers.
    for (auto [typed, want] : {std::pair{"10.0.0.7", "10.0.0.7"},
                               {" 1 . 2.3.4", "1.2.3.4"},
                               {"10.0.0.7.9", ""},
                               {"192.168.1", ""},
                               {"256.1.1.1", ""},
                               {"1.2.3.-4", ""},
                               {"1..2.3", ""},
                               {"0001.2.3.4", ""}}) {
        const auto ip = ParseIpv4(typed);
        EXPECT_EQ(ip ? DottedText(*ip) : "", want) << typed;
    }
    // Keys end in the device number.
    for (auto [key, n] : {std::pair{"nodo12", 12}, {"rete", 0}, {"nodo99999", 0}, {"nodo123456", 0}})
        EXPECT_EQ(KeyNumber(key), n) << key;
    EXPECT_EQ(LeadingNumber(" 300x"), 300);
}

TEST(SearchProtocol, NodeIdentityFromTheSevenRegisters) {
    const std::pair<std::array<uint8_t, 4>, std::string> cases[]{
        {{1, 12, 3, 4}, "11234"},
        {{0x31, 0x32, 0x33, 0x34}, "49505152"},
        {{0x41, 0x42, 0x43, 0x44}, "ABCD"},
        {{1, 2, 3, 65}, "\x01\x02\x03\x41"},
    };
    for (const auto& [v, text] : cases) {
        std::vector<uint8_t> a{7, 4, 14, 0, 0, v[0], v[1], v[2], v[3], 'X', 'J', '9', 'V', 0, 0, 0, 5};
        const auto id = DecodeNodeIdentity(a);
        ASSERT_TRUE(id);
        EXPECT_EQ(id->Version, text);
        EXPECT_EQ(id->Name, "JXV9");
        EXPECT_EQ(id->Address, 5);
        a.pop_back();
        EXPECT_FALSE(DecodeNodeIdentity(a));
    }
}

TEST(DeviceServerSetup, SendsTheSevenStepsCountingAnswersInPiecesAndAShortAnswerFailsItsStep) {
    SimSession s; // its link and pump, nothing of its state
    {
        ConsolePeer peer({{60, 60}, {900}, {100, 100}, {800}, {40}, {500, 500}, {40}});
        EXPECT_EQ(RunDeviceServerSetup(s.link, s.pump, "127.0.0.1", peer.port, 1000), 0);
        ASSERT_EQ(peer.received.size(), 7u);
        EXPECT_EQ(peer.received[2], "1192\r168\r1\r100\rY192\r168\r1\r1\rY255\r255\r255\r0\r");
        EXPECT_EQ(peer.received[5], "1\r1\r38400,8,N,1\r");
        EXPECT_EQ(peer.received[6], "S");
        EXPECT_FALSE(s.link.isConnected());
    }
    {
        ConsolePeer peer({{100}, {900}, {100}});
        EXPECT_EQ(RunDeviceServerSetup(s.link, s.pump, "127.0.0.1", peer.port, 300), 3);
    }
    {
        // Stopped (its window closed) as step 3 starts: the set-up ends at once, whatever the time-out.
        ConsolePeer peer({{100}, {900}, {200}});
        int step = 0;
        const int64_t start = s.pump.nowMs();
        EXPECT_EQ(RunDeviceServerSetup(
                      s.link, s.pump, "127.0.0.1", peer.port, 10000, [&](int n) { step = n; },
                      [&] { return step == 3; }),
                  3);
        EXPECT_LT(s.pump.nowMs() - start, 1000);
    }
    EXPECT_EQ(RunDeviceServerSetup(s.link, s.pump, "127.0.0.1", ClosedLoopbackPort(), 300), 1);
}

} // namespace
