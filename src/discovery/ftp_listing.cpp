#include "discovery/ftp_listing.h"

#include <algorithm>

namespace {

bool unreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

// A user name or password as URL text: "@", ":" or "/" in it can never move the request to another host.
std::string percentEncoded(const std::string& text) {
    constexpr char Hex[] = "0123456789ABCDEF";
    std::string out;
    for (const unsigned char c : text)
        out +=
            unreserved(c) ? std::string(1, static_cast<char>(c)) : std::string{'%', Hex[c >> 4], Hex[c & 15]};
    return out;
}

} // namespace

bool ftpHostAllowed(const std::string& host) {
    return !host.empty() && std::all_of(host.begin(), host.end(), [](unsigned char c) {
        return unreserved(c) || c == ':' || c == '[' || c == ']';
    });
}

std::string ftpAccountUrl(const FtpAccount& account) {
    return "ftp://" + percentEncoded(account.user) + ":" + percentEncoded(account.password) + "@" +
           account.host + "/";
}

std::vector<std::string> splitFtpListing(std::string_view answer) {
    std::vector<std::string> lines;
    while (!answer.empty()) {
        size_t eol = answer.find('\n');
        std::string_view line = answer.substr(0, eol);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!line.empty()) lines.emplace_back(line);
        answer.remove_prefix(eol == std::string_view::npos ? answer.size() : eol + 1);
    }
    return lines;
}

bool FtpBrowser::Command1_Click(const FtpAccount& account) {
    if (busy_) return false;
    if (!ftpHostAllowed(account.host)) {
        rows.clear();
        lastError = "FTP: \"" + account.host + "\" is no host name or address: nothing was listed";
        if (rowsChanged) rowsChanged();
        return false;
    }
    busy_ = true;
    rows = {"Directory/", "../"};
    lastError.clear();
    if (rowsChanged) rowsChanged();
    client_.list(ftpAccountUrl(account), [this, listing = ++listing_](bool ok, const std::string& text) {
        if (listing != listing_) return;
        busy_ = false;
        if (ok) {
            for (std::string& line : splitFtpListing(text))
                rows.push_back(std::move(line));
        } else {
            rows.clear(); // a failed listing shows no directory
            lastError = text;
        }
        if (rowsChanged) rowsChanged();
    });
    return true;
}

void FtpBrowser::stop() {
    if (!busy_) return;
    client_.cancel();
    busy_ = false;
    ++listing_;
    rows.clear();
    lastError = "FTP: the listing was stopped when its window closed";
    if (rowsChanged) rowsChanged();
}
