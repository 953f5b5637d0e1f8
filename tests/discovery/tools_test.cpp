// The search window's tools: the MAC address register (list file and report bytes, the read from a device,
// the ways a user's list could be lost or corrupted) and "Search by MAC", whose typed text reaches the
// system tools only as canonical arguments. The FTP listing has its own folder (ftp/).
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "app_context_fixture.h"
#include "core/busy_run.h"
#include "discovery/lett_mac.h"
#include "discovery/manual_assignment.h"
#include "platform/program_runner.h"
#include "program/transfer/file_output.h"
#include "support/sim_controller.h"
#include "support/sim_session.h"

namespace {

const std::vector<MacEntry> Sample{
    {"00-1A-2B-3C-4D-5E", 1, "123", "15", "Rossi, Milano"},
    {"00-1A-2B-3C-4D-5F", 2, "", "09", ""},
    {"00-1A-2B-3C-4D-60", 3, "AB", "16", "C\tD"},
};

TEST(MacListFile, WritesRecordsReadsThemBackAndStopsAtTheFirstUnreadableOne) {
    std::string bytes = writeMacList(Sample);
    EXPECT_EQ(bytes, "1\t00-1A-2B-3C-4D-5E\t123/15\tRossi, Milano\r\n"
                     "2\t00-1A-2B-3C-4D-5F\t/09\t\r\n"
                     "3\t00-1A-2B-3C-4D-60\tAB/16\tC\tD\r\n");
    MacListRead back = readMacList(bytes);
    EXPECT_FALSE(back.badRecord);
    EXPECT_EQ(writeMacList(back.entries), bytes); // the write is pinned above: the read gave every field
    // Reading stops at the first unreadable record.
    struct Case {
        std::string bytes;
        size_t loaded;
        std::optional<size_t> bad;
    };
    for (const Case& c : std::vector<Case>{
             {"5\tA\t/\n6\tB\t1/2\tX", 2, std::nullopt}, // bare LF, last line without an end
             {"5\tA\t/\r\n\r\n6\tB\t/\r\n", 1, 2},       // an empty line
             {"5\tA\t/\r\nx7\tB\t/\r\n", 1, 2},          // an ID that is no number
         }) {
        MacListRead r = readMacList(c.bytes);
        EXPECT_EQ(r.entries.size(), c.loaded) << c.bytes;
        EXPECT_EQ(r.badRecord, c.bad) << c.bytes;
    }
}

TEST(MacReport, ListsTheFilteredEntriesUnderFourHeaderLines) {
    const std::string head =
        "\r\n07/12/2026 10:00:00\r\n" + std::string(53, '-') + "\r\nID\tMAC\t\t\tPFC\tCliente\r\n";
    EXPECT_EQ(macReport(Sample, {MacReportBy::Cliente, "", "", ""}, "07/12/2026 10:00:00"),
              "Report MAC per Cliente " + head + "2\t00-1A-2B-3C-4D-5F\t___/__\t_________________\r\n");
    EXPECT_EQ(macReport(Sample, {MacReportBy::Pfc, "123", "15", ""}, "07/12/2026 10:00:00"),
              "Report MAC per PCF 123/15" + head + "1\t00-1A-2B-3C-4D-5E\t123/15\tRossi, Milano\r\n");
    EXPECT_EQ(macReport(Sample, {MacReportBy::Anno, "", "99", ""}, "07/12/2026 10:00:00"),
              "Report MAC per Anno 2099" + head);
}

struct MacWindow : ::testing::Test {
    MacWindow() : device(1) {
        session.connectTcp(device.startTcp());
        setMac({0x001A, 0x2B3C, 0x4D5E});
    }
    void setMac(std::array<uint16_t, 3> words) {
        for (uint16_t i = 0; i < 3; ++i)
            device.setInput(static_cast<uint16_t>(14 + i), words[i]);
    }
    std::string path(const char* name) { return dir.filePath(name).toStdString(); }

    SimController device;
    SimSession session;
    LettMac mac{session.app};
    QTemporaryDir dir;
};

TEST_F(MacWindow, ReadsTheMacFromInputRegisters14To16AndNumbersIt) {
    {
        const BusyRun download(session.app, "a download"); // nothing goes between the run's requests
        mac.Command1_Click({"7", "26", "ACME"});
    }
    EXPECT_TRUE(device.transcript().empty());
    EXPECT_EQ(session.shell->log.lines().back(), "Carica MAC refused: a download is under way  ");
    mac.Command1_Click({"7", "26", "ACME"});
    ASSERT_EQ(mac.lines(), std::vector<std::string>{"[1]\t00-1A-2B-3C-4D-5E\tPFC:7/26\tCl.:ACME"});
    EXPECT_EQ(device.transcript().back(), (Bytes{1, 4, 0, 14, 0, 3}));
    EXPECT_TRUE(mac.ElencoModificato);

    mac.Command1_Click({});
    EXPECT_EQ(session.dialogs.shown.back(), "MAC gi\xE0 inserito");
    setMac({0xFFFF, 0xFFFF, 0xFFFF});
    mac.Command1_Click({});
    EXPECT_EQ(session.dialogs.shown.back(), "MAC non valido");
    setMac({0, 0, 7});
    mac.Command1_Click({"1/2", "26", ""});
    EXPECT_EQ(mac.ElencoMAC.size(), 1u) << "a PFC with \"/\" would split its record";
    device.inject({SimFault::Raw, 0, 0, {0, 1, 0, 0, 0, 5, 1, 4, 2, 0, 0}}); // two bytes where six are due
    mac.Command1_Click({});
    EXPECT_EQ(session.dialogs.shown.back(), "Errore Lettura");
    EXPECT_EQ(mac.ElencoMAC.size(), 1u);
}

TEST_F(MacWindow, ABadRecordLoadsWhatCameBeforeAndTheNextSaveAsksForAFile) {
    WriteWholeFile(path("list.csv"), "40\tAA\t/\r\nbad\r\n41\tBB\t/\r\n");
    session.dialogs.files = {path("list.csv")};
    mac.cmd_loadFile_Click();
    EXPECT_EQ(mac.ElencoMAC.size(), 1u);
    EXPECT_NE(session.dialogs.shown.back().find("Record 2"), std::string::npos);
    EXPECT_TRUE(mac.FileElenco.empty());
    mac.Command1_Click({});
    EXPECT_EQ(mac.ElencoMAC.back().ID, 41);

    // Loading over the modified list asks first; Cancel keeps it.
    session.dialogs.choices = {MsgChoice::Cancel};
    mac.cmd_loadFile_Click();
    EXPECT_EQ(mac.ElencoMAC.size(), 2u);
    // Closing: Yes, then a cancelled save dialog, keeps the window open and the list modified.
    session.dialogs.choices = {MsgChoice::Yes};
    EXPECT_FALSE(mac.Form_Unload());
    EXPECT_TRUE(mac.ElencoModificato);
    session.dialogs.choices = {MsgChoice::Yes};
    session.dialogs.files = {path("saved.csv")};
    EXPECT_TRUE(mac.Form_Unload());
    std::string saved;
    ASSERT_TRUE(ReadWholeFile(path("saved.csv"), saved));
    EXPECT_EQ(saved, "40\tAA\t/\t\r\n41\t00-1A-2B-3C-4D-5E\t/09\t\r\n");
}

struct FakeRunner : ProgramRunner {
    std::vector<std::vector<std::string>> calls; // program then its arguments
    int neighExit = 0;
    bool hasPing = true;
    ProgramRun run(const std::string& program, const std::vector<std::string>& args, int) override {
        calls.push_back({program});
        calls.back().insert(calls.back().end(), args.begin(), args.end());
        return {true, neighExit, neighExit ? "RTNETLINK answers: Operation not permitted\n" : ""};
    }
    bool startDetached(const std::string& program, const std::vector<std::string>& args) override {
        run(program, args, 0);
        return true;
    }
    bool exists(const std::string& program) override { return program != "ping" || hasPing; }
};

// The machine's networks: loopback, and two documentation networks nothing is ever sent to.
const std::vector<LocalNetwork> Networks{{"lo", {127, 0, 0, 1}, {255, 0, 0, 0}, true, true},
                                         {"enp3s0", {198, 51, 100, 2}, {255, 255, 255, 0}, true, false},
                                         {"wlan0", {203, 0, 113, 5}, {255, 255, 255, 0}, true, false}};
// Its routes' gateway, and its neighbours: another host, and the device itself from an earlier entry.
const MachineNetworking Machine{Networks,
                                {{198, 51, 100, 1}},
                                {{{198, 51, 100, 20}, "0A:00:00:00:00:01", "enp3s0"},
                                 {{198, 51, 100, 9}, "02:1A:2B:3C:4D:5E", "enp3s0"}}};

struct Manual : ::testing::Test {
    std::function<void(const std::string&, uint16_t)> record(std::string what) {
        return [this, what](const std::string& h, uint16_t p) {
            actions.push_back(what + h + ":" + std::to_string(p));
        };
    }
    ManualServices services() {
        return {runner,
                record("probe "),
                record("console "),
                [this](const std::string& url) { actions.push_back(url); },
                Machine,
                bind};
    }
    void click(ManualDeviceType type, std::string lastMac = "5E",
               std::array<std::string, 4> ip = {"198", "51", "100", "007"}) {
        cmd_Manual_Click(f.ctx, {{"2", "1a", "2B", "3C", "4D", lastMac}, ip, type}, services());
    }
    AppContextFixture f;
    FakeRunner runner;
    std::string bind = "198.51.100.2";
    std::vector<std::string> actions;
};

TEST_F(Manual, TypedTextBecomesCanonicalOrIsRefused) {
    EXPECT_EQ(canonicalMac({"2", "1a", "2B", "3c", "4D", "5e"}), "02:1A:2B:3C:4D:5E");
    EXPECT_EQ(canonicalIpv4({"127", "000", "0", "010"}), "127.0.0.10");
    for (const char* last : {"", "5G", "123", "5;rm"})
        EXPECT_FALSE(canonicalMac({"02", "1A", "2B", "3C", "4D", last})) << last;
    for (const char* last : {"256", "-1", " 7", "7 && x"})
        EXPECT_FALSE(canonicalIpv4({"127", "0", "0", last})) << last;
    click(ManualDeviceType::Gateway, "ZZ");
    EXPECT_TRUE(runner.calls.empty());
    EXPECT_TRUE(actions.empty());
    EXPECT_EQ(f.dialogs.shown.size(), 1u);
}

// Addresses that would touch the machine's own networking are refused before any program runs.
TEST_F(Manual, TheTemporaryAddressIsAFreeUnicastAddressOfTheChosenNetwork) {
    struct Case {
        std::array<std::string, 4> ip;
        std::string bind, said, dev;
    };
    const Case cases[]{
        {{"127", "0", "0", "9"}, "198.51.100.2", "127.0.0.9 is a loopback address", ""},
        {{"127", "0", "0", "1"}, "127.0.0.1", "is a loopback address", ""},
        {{"0", "1", "2", "3"}, "198.51.100.2", "network 0", ""},
        {{"224", "0", "0", "5"}, "198.51.100.2", "a multicast address", ""},
        {{"255", "255", "255", "255"}, "198.51.100.2", "broadcast address", ""},
        {{"198", "51", "100", "2"}, "198.51.100.2", "is an address of this machine", ""},
        {{"203", "0", "113", "5"}, "198.51.100.2", "is an address of this machine", ""},
        {{"203", "0", "113", "9"},
         "198.51.100.2",
         "is not on the network of Network bind 198.51.100.2, 198.51.100.0/24 (enp3s0)",
         ""},
        {{"198", "51", "100", "255"}, "198.51.100.2", "own or broadcast address", ""},
        {{"198", "51", "100", "0"}, "198.51.100.2", "own or broadcast address", ""},
        {{"198", "51", "100", "1"}, "198.51.100.2", "is the gateway of a route of this machine", ""},
        {{"198", "51", "100", "20"},
         "198.51.100.2",
         "in use by another host (0A:00:00:00:00:01 on enp3s0)",
         ""},
        {{"192", "0", "2", "50"}, "192.168.1.1", "lies on none of this machine's networks", ""},
        // A bind address of no interface: the network that holds the address.
        {{"203", "0", "113", "9"}, "192.168.1.1", "", "wlan0"},
        {{"198", "51", "100", "9"}, "198.51.100.2", "", "enp3s0"},
    };
    for (const Case& c : cases) {
        runner.calls.clear();
        f.dialogs.shown.clear();
        bind = c.bind;
        click(ManualDeviceType::None, "5E", c.ip);
        if (c.said.empty()) {
            ASSERT_EQ(runner.calls.size(), 1u) << c.ip[3];
            EXPECT_EQ(runner.calls[0][7], c.dev);
            EXPECT_TRUE(f.dialogs.shown.empty());
        } else {
            EXPECT_TRUE(runner.calls.empty()) << c.said;
            ASSERT_EQ(f.dialogs.shown.size(), 1u) << c.said;
            EXPECT_NE(f.dialogs.shown[0].find(c.said), std::string::npos) << f.dialogs.shown[0];
            EXPECT_EQ(f.dialogs.shown[0].find("sudo"), std::string::npos);
        }
    }
}

TEST_F(Manual, GatewayGetsTheEntryAFirstPacketAndItsConsole) {
    click(ManualDeviceType::Gateway);
    ASSERT_EQ(runner.calls.size(), 1u);
    EXPECT_EQ(runner.calls[0],
              (std::vector<std::string>{"ip", "neigh", "replace", "198.51.100.7", "lladdr",
                                        "02:1A:2B:3C:4D:5E", "dev", "enp3s0", "nud", "permanent"}));
    EXPECT_EQ(actions, (std::vector<std::string>{"probe 198.51.100.7:1", "console 198.51.100.7:9999"}));
    EXPECT_EQ(f.pump.paused, 2);
}

TEST_F(Manual, ControllerIsPingedAndItsPageOpenedOrTheRefusalSaysWhatToRun) {
    runner.hasPing = false;
    click(ManualDeviceType::Controller);
    EXPECT_EQ(actions, std::vector<std::string>{"http://198.51.100.7"});
    EXPECT_NE(f.shell.log.lines().back().find("ping"), std::string::npos);
    runner.neighExit = 2;
    actions.clear();
    click(ManualDeviceType::Controller);
    EXPECT_TRUE(actions.empty());
    const std::string told = "sudo ip neigh replace 198.51.100.7 lladdr 02:1A:2B:3C:4D:5E dev enp3s0";
    EXPECT_NE(f.dialogs.shown.back().find(told), std::string::npos);
}

} // namespace
