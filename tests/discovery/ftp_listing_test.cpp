// The FTP window's listing through libcurl, against a small FTP peer on loopback.
#include <gtest/gtest.h>

#include <map>
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
    void serve() {
        int c = accept(control_, nullptr, nullptr);
        if (c < 0) return;
        auto say = [c](const std::string& line) { send(c, line.data(), line.size(), MSG_NOSIGNAL); };
        const std::map<std::string, std::string> replies{{"USER", "331 password"},
                                                         {"PASS", "230 in"},
                                                         {"PWD", "257 \"/\""},
                                                         {"TYPE", "200 ok"},
                                                         {"QUIT", "221 bye"}};
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
                send(d, listing_.data(), listing_.size(), MSG_NOSIGNAL);
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
    int control_, data_ = -1;
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
