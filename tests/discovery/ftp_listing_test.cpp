// The FTP window's listing through libcurl, against a small FTP peer on loopback.
#include <gtest/gtest.h>

#include <thread>

#include "discovery/ftp_listing.h"
#include "platform/curl_ftp_client.h"
#include "platform/qt_event_pump.h"
#include "support/loopback_listener.h"
#include "support/qt_test_app.h"

namespace {

// Serves one session: the login, the passive data connection and one LIST.
class FtpPeer {
  public:
    explicit FtpPeer(std::string listing) : listing_(std::move(listing)) {
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
    static void say(int c, const std::string& line) { send(c, line.data(), line.size(), MSG_NOSIGNAL); }
    static std::string command(int c) {
        std::string line;
        char ch;
        while (recv(c, &ch, 1, 0) == 1 && ch != '\n')
            if (ch != '\r') line += ch;
        return line;
    }
    void serve() {
        int c = accept(control_, nullptr, nullptr);
        if (c < 0) return;
        int data = -1;
        say(c, "220 ready\r\n");
        for (std::string cmd = command(c); !cmd.empty(); cmd = command(c)) {
            std::string verb = cmd.substr(0, cmd.find(' '));
            std::string arg = cmd.size() > verb.size() ? cmd.substr(verb.size() + 1) : "";
            if (verb == "USER")
                user = arg, say(c, "331 password\r\n");
            else if (verb == "PASS")
                password = arg, say(c, "230 in\r\n");
            else if (verb == "PWD")
                say(c, "257 \"/\"\r\n");
            else if (verb == "EPSV") {
                uint16_t p = 0;
                data = ListenOnLoopback(p);
                say(c, "229 Entering Extended Passive Mode (|||" + std::to_string(p) + "|)\r\n");
            } else if (verb == "TYPE")
                say(c, "200 ok\r\n");
            else if (verb == "LIST") {
                say(c, "150 here\r\n");
                int d = accept(data, nullptr, nullptr);
                send(d, listing_.data(), listing_.size(), MSG_NOSIGNAL);
                close(d);
                close(data);
                say(c, "226 done\r\n");
            } else if (verb == "QUIT") {
                say(c, "221 bye\r\n");
                break;
            } else
                say(c, "500 ?\r\n");
        }
        close(c);
    }
    std::string listing_;
    int control_;
    std::thread thread_;
};

TEST(FtpListing, SplitsLinesSkippingEmptyOnesAndKeepingAnUnendedLast) {
    EXPECT_EQ(splitFtpListing("a\r\n\r\nb\r\n"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(splitFtpListing("a\nb"), (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(splitFtpListing("").empty());
}

TEST(FtpListing, ReadsAWholeLongListingAndRefusesASecondRequestMeanwhile) {
    QtTestApp();
    std::string listing;
    for (int i = 0; i < 40; ++i)
        listing += "-rw-r--r-- 1 ftp ftp 1024 Dec 07 10:00 file" + std::to_string(i) + ".txt\r\n";
    listing += "drwxr-xr-x 2 ftp ftp 0 Dec 07 10:00 last"; // no line end
    ASSERT_GT(listing.size(), 1024u);
    FtpPeer peer(listing);
    CurlFtpClient client;
    FtpBrowser browser(client);
    FtpAccount account{"127.0.0.1:" + std::to_string(peer.port)};
    ASSERT_TRUE(browser.Command1_Click(account));
    EXPECT_FALSE(browser.Command1_Click(account));
    QtEventPump pump;
    ASSERT_TRUE(pump.waitUntil([&] { return !browser.busy(); }, 10000, false));
    ASSERT_EQ(browser.rows.size(), 43u) << browser.lastError;
    EXPECT_EQ(browser.rows[0], "Directory/");
    EXPECT_EQ(browser.rows[1], "../");
    EXPECT_EQ(browser.rows.back(), "drwxr-xr-x 2 ftp ftp 0 Dec 07 10:00 last");
    EXPECT_EQ(peer.user, "korvane");
    EXPECT_EQ(peer.password, "kom-vur");
}

TEST(FtpListing, AnUnreachableServerLeavesTheTwoFixedRowsAndSaysWhy) {
    QtTestApp();
    const uint16_t port = ClosedLoopbackPort();
    CurlFtpClient client;
    FtpBrowser browser(client);
    browser.Command1_Click({"127.0.0.1:" + std::to_string(port)});
    QtEventPump pump;
    ASSERT_TRUE(pump.waitUntil([&] { return !browser.busy(); }, 10000, false));
    EXPECT_EQ(browser.rows.size(), 2u);
    EXPECT_NE(browser.lastError.find("FTP"), std::string::npos);
}

} // namespace
