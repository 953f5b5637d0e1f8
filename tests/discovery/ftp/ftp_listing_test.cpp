// The FTP listing through libcurl against a small FTP peer on loopback (internal edition only: the
// standard edition does not link libcurl).
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <map>
#include <thread>

#include "discovery/ftp_listing.h"
#include "platform/curl_ftp_client.h"
#include "platform/qt_event_pump.h"
#include "support/loopback_listener.h"
#include "support/qt_test_app.h"

namespace {

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
    std::atomic<bool> listed{false}, ended{false}; // LIST came; the client closed both connections

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
                listed = true;
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
        ended = true;
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
// never comes ends with both its connections when its window closes, and does not keep the program from
// closing.
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
    // The peer's flags are set on its own thread, which wakes no event loop: look every 10 ms.
    const auto within = [&pump](const std::atomic<bool>& flag, int ms) {
        for (int waited = 0; !flag && waited < ms; waited += 10)
            pump.pausa(0.01);
        return flag.load();
    };
    FtpPeer stopped("", Listing::Silent), silent("", Listing::Silent);
    auto client = std::make_unique<CurlFtpClient>();
    FtpBrowser browser(*client);
    browser.Command1_Click({"127.0.0.1:" + std::to_string(stopped.port)});
    ASSERT_TRUE(within(stopped.listed, 10000));
    browser.stop();
    EXPECT_TRUE(within(stopped.ended, 2000)); // not the 60 s limit
    ASSERT_TRUE(browser.Command1_Click({"127.0.0.1:" + std::to_string(silent.port)}));
    pump.pausa(0.3);
    const auto start = std::chrono::steady_clock::now();
    client.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)); // not the 60 s limit
}

} // namespace
