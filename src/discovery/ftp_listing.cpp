#include "discovery/ftp_listing.h"

std::string ftpAccountUrl(const FtpAccount& account) {
    return "ftp://" + account.user + ":" + account.password + "@" + account.host + "/";
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
    busy_ = true;
    rows = {"Directory/", "../"};
    lastError.clear();
    if (rowsChanged) rowsChanged();
    client_.list(ftpAccountUrl(account), [this](bool ok, const std::string& text) {
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
