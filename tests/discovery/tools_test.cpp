// The search window's tools: the MAC address register (list file and report bytes, the read from a device,
// the ways a user's list could be lost or corrupted), the FTP listing through libcurl against a small FTP
// peer on loopback, and "Search by MAC", whose typed text reaches the system tools only as canonical
// arguments.
#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <QTemporaryDir>
#include <thread>

#include "app_context_fixture.h"
#include "discovery/ftp_listing.h"
#include "discovery/lett_mac.h"
#include "discovery/manual_assignment.h"
#include "platform/curl_ftp_client.h"
#include "platform/program_runner.h"
#include "program/transfer/file_output.h"
#include "support/loopback_listener.h"
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

// Serves one session: the login, the passive data connection and one LIST, sent whole, sent again and
// again without end, or never sent.
enum class Listing { Whole, Endless, Silent };
class FtpPeer {
  public:
    explicit FtpPeer(std::string listing, Listing how = Listing::Whole)
        : listing_(std::move(listing)), how_(how) {
        control_ = ListenOnLoopback(port);
        thread_ = std::thread([this] { serve(); });
    }
    ~FtpPeer() {
        shutdown(control_, SHUT_RDWR);
        close(control_);
        thread_.join();
    }
    uint16_t port = 0;
    std::string user, password;

  private:
    void serve() {
        int c = accept(control_, nullptr, nullptr);
        if (c < 0) return;
        auto say = [c](const std::string& line) { send(c, line.data(), line.size(), MSG_NOSIGNAL); };
        const std::map<std::string, std::string> replies{
            {"USER", "331 password"}, {"PASS", "230 in"}, {"PWD", "257 \"/\""}, {"TYPE", "200 ok"}};
        say("220 ready\r\n");
        for (std::string cmd = command(c); !cmd.empty() && cmd != "QUIT"; cmd = command(c)) {
            const std::string verb = cmd.substr(0, cmd.find(' '));
            if (verb == "USER" || verb == "PASS")
                (verb == "USER" ? user : password) = cmd.substr(std::min(cmd.size(), verb.size() + 1));
            if (verb == "EPSV") {
                uint16_t p = 0;
                data_ = ListenOnLoopback(p);
                say("229 Entering Extended Passive Mode (|||" + std::to_string(p) + "|)\r\n");
            } else if (verb == "LIST") {
                say("150 here\r\n");
                int d = accept(data_, nullptr, nullptr);
                if (how_ == Listing::Silent) {
                    char ch;
                    recv(d, &ch, 1, 0); // until the client goes
                }
                while (send(d, listing_.data(), listing_.size(), MSG_NOSIGNAL) > 0 &&
                       how_ == Listing::Endless) {
                }
                close(d);
                close(data_);
                say("226 done\r\n");
            } else
                say((replies.contains(verb) ? replies.at(verb) : "500 ?") + "\r\n");
        }
        say("221 bye\r\n");
        close(c);
    }
    static std::string command(int c) {
        std::string line;
        char ch;
        while (recv(c, &ch, 1, 0) == 1 && ch != '\n')
            if (ch != '\r') line += ch;
        return line;
    }
    std::string listing_;
    Listing how_;
    int control_, data_ = -1;
    std::thread thread_;
};

// An unreachable server leaves no rows and says why. Then a whole long listing: empty lines are
// skipped, a bare LF ends a line too, and an unended last line is kept.
TEST(FtpListing, AnUnreachableServerThenAWholeLongListingAndNoSecondRequestMeanwhile) {
    QtTestApp();
    QtEventPump pump;
    CurlFtpClient client;
    FtpBrowser browser(client);
    browser.Command1_Click({"127.0.0.1:" + std::to_string(ClosedLoopbackPort())});
    ASSERT_TRUE(pump.waitUntil([&] { return !browser.busy(); }, 10000, false));
    EXPECT_TRUE(browser.rows.empty());
    EXPECT_NE(browser.lastError.find("FTP"), std::string::npos);

    std::string listing = "\r\n";
    for (int i = 0; i < 40; ++i)
        listing += "-rw-r--r-- 1 ftp ftp 1024 Dec 07 10:00 file" + std::to_string(i) +
                   (i == 7 ? ".txt\n" : ".txt\r\n");
    listing += "drwxr-xr-x 2 ftp ftp 0 Dec 07 10:00 last";
    ASSERT_GT(listing.size(), 1024u);
    FtpPeer peer(listing);
    FtpAccount account{"127.0.0.1:" + std::to_string(peer.port)};
    ASSERT_TRUE(browser.Command1_Click(account));
    EXPECT_FALSE(browser.Command1_Click(account));
    ASSERT_TRUE(pump.waitUntil([&] { return !browser.busy(); }, 10000, false));
    ASSERT_EQ(browser.rows.size(), 43u) << browser.lastError;
    EXPECT_EQ(browser.rows[0], "Directory/");
    EXPECT_EQ(browser.rows[1], "../");
    EXPECT_EQ(browser.rows.back(), "drwxr-xr-x 2 ftp ftp 0 Dec 07 10:00 last");
    EXPECT_EQ(peer.user, "korvane");
    EXPECT_EQ(peer.password, "kom-vur");
}

// What the user types as account reaches the server as typed, and never names another server.
TEST(FtpListing, TheAccountReachesTheServerAsTypedAndAHostWithURLSignsIsRefused) {
    QtTestApp();
    QtEventPump pump;
    CurlFtpClient client;
    FtpBrowser browser(client);
    FtpPeer peer("x\r\n");
    const std::string host = "127.0.0.1:" + std::to_string(peer.port);
    ASSERT_TRUE(browser.Command1_Click({host, "us:er@127.0.0.2/", "p@ss/w%rd:#?"}));
    ASSERT_TRUE(pump.waitUntil([&] { return !browser.busy(); }, 10000, false));
    EXPECT_EQ(peer.user, "us:er@127.0.0.2/");
    EXPECT_EQ(peer.password, "p@ss/w%rd:#?");
    for (const std::string& bad : {std::string(), "127.0.0.2/@" + host, host + "/x", host + "#", std::string("a b")}) {
        EXPECT_FALSE(browser.Command1_Click({bad})) << bad;
        EXPECT_TRUE(browser.rows.empty());
        EXPECT_NE(browser.lastError.find("is no host name or address"), std::string::npos);
    }
    EXPECT_TRUE(ftpHostAllowed("[::1]:21") && ftpHostAllowed("ftp.local"));
}

// A listing without end, or one endless line, is stopped at its bound with a message; a listing that
// never comes does not keep the program from closing.
TEST(FtpListing, AnEndlessListingStopsAtItsBoundAndClosingDoesNotWait) {
    QtTestApp();
    QtEventPump pump;
    const std::pair<std::string, std::string> cases[]{
        {"drwxr-xr-x 2 ftp ftp 0 Dec 07 10:00 again\r\n", "it is longer than 100000 lines"},
        {std::string(65536, 'x'), "a line is longer than 8192 bytes"}};
    for (const auto& [chunk, said] : cases) {
        CurlFtpClient client;
        FtpBrowser browser(client);
        FtpPeer peer(chunk, Listing::Endless);
        browser.Command1_Click({"127.0.0.1:" + std::to_string(peer.port)});
        ASSERT_TRUE(pump.waitUntil([&] { return !browser.busy(); }, 30000, false));
        EXPECT_TRUE(browser.rows.empty());
        EXPECT_NE(browser.lastError.find("FTP: the listing was stopped: " + said), std::string::npos)
            << browser.lastError;
    }
    FtpPeer silent("", Listing::Silent);
    auto client = std::make_unique<CurlFtpClient>();
    FtpBrowser browser(*client);
    browser.Command1_Click({"127.0.0.1:" + std::to_string(silent.port)});
    pump.pausa(0.3);
    const auto start = std::chrono::steady_clock::now();
    client.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)); // not the 60 s limit
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
