#pragma once
// The FTP window's listing of the fixed account's top directory: the account as settings, the
// listing's lines as rows, one request at a time.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ftp_client.h"

struct FtpAccount {
    std::string host = "ftp.local";
    std::string user = "korvane";
    std::string password = "kom-vur";
};

// "ftp://" user ":" password "@" host "/", user and password percent-encoded.
std::string ftpAccountUrl(const FtpAccount& account);
// A host name, IPv4 address (with ":port") or bracketed IPv6 address: nothing that a URL reads otherwise.
bool ftpHostAllowed(const std::string& host);

// The non-empty lines of a listing; CR LF or a bare LF ends a line, a last line without one is kept.
std::vector<std::string> splitFtpListing(std::string_view answer);

class FtpBrowser {
  public:
    explicit FtpBrowser(FtpClient& client) : client_(client) {}

    // Starts the listing and puts the two fixed rows in place; false (nothing sent) while one runs or
    // when the host is not allowed (lastError says so).
    bool Command1_Click(const FtpAccount& account);
    bool busy() const { return busy_; }
    // Its window closed: a running listing ends with its connection, and the rows say it was stopped.
    void stop();

    std::vector<std::string> rows; // ListView1
    std::string lastError;         // why the last listing brought no rows
    std::function<void()> rowsChanged;

  private:
    FtpClient& client_;
    bool busy_ = false;
    unsigned listing_ = 0; // the running listing's number: a stopped one's late answer is dropped
};
