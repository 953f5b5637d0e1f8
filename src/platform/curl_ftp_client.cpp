#include "platform/curl_ftp_client.h"

#include <mutex>
#include <optional>

#include <curl/curl.h>

#include <QMetaObject>

namespace {

constexpr long ConnectLimitSeconds = 10;
constexpr long TransferLimitSeconds = 60;
constexpr int PollMs = 1000;

// The listing's bytes as they come, refused past the limits.
struct Listing {
    std::string body;
    size_t lines = 0;
    size_t lineLength = 0;
    std::string tooLong; // why the transfer was stopped
};

size_t append(char* data, size_t size, size_t count, void* target) {
    auto& l = *static_cast<Listing*>(target);
    const size_t n = size * count;
    for (size_t i = 0; i < n; ++i) {
        if (data[i] == '\n') {
            ++l.lines;
            l.lineLength = 0;
        } else if (++l.lineLength > CurlFtpClient::LongestLine) {
            l.tooLong = "a line is longer than " + std::to_string(CurlFtpClient::LongestLine) + " bytes";
            return 0;
        }
    }
    if (l.lines > CurlFtpClient::MostLines)
        l.tooLong = "it is longer than " + std::to_string(CurlFtpClient::MostLines) + " lines";
    else if (l.body.size() + n > CurlFtpClient::MostBytes)
        l.tooLong = "it is longer than " + std::to_string(CurlFtpClient::MostBytes >> 20) + " MB";
    if (!l.tooLong.empty()) return 0; // libcurl ends the transfer
    l.body.append(data, n);
    return n;
}

// The listing's bytes, or the reason it failed; nullopt when stopped.
std::optional<std::pair<bool, std::string>> fetch(const std::string& url, CURLM* multi,
                                                  const std::atomic<bool>& stop) {
    CURL* curl = curl_easy_init();
    if (!curl) return std::pair{false, std::string("FTP: libcurl could not start")};
    Listing listing;
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_FORBID_REUSE, 1L); // each listing ends its session
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, ConnectLimitSeconds);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, TransferLimitSeconds);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, append);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &listing);
    curl_multi_add_handle(multi, curl);
    int running = 1;
    CURLcode rc = CURLE_OK;
    while (running && !stop) {
        if (curl_multi_perform(multi, &running) != CURLM_OK) break;
        if (running) curl_multi_poll(multi, nullptr, 0, PollMs, nullptr);
    }
    int left = 0;
    while (CURLMsg* m = curl_multi_info_read(multi, &left))
        if (m->msg == CURLMSG_DONE) rc = m->data.result;
    curl_multi_remove_handle(multi, curl);
    curl_easy_cleanup(curl);
    if (stop) return std::nullopt;
    if (!listing.tooLong.empty()) return std::pair{false, "FTP: the listing was stopped: " + listing.tooLong};
    if (running) return std::pair{false, std::string("FTP: the transfer failed")};
    if (rc != CURLE_OK) return std::pair{false, std::string("FTP: ") + curl_easy_strerror(rc)};
    return std::pair{true, std::move(listing.body)};
}

} // namespace

CurlFtpClient::CurlFtpClient() = default;

CurlFtpClient::~CurlFtpClient() {
    if (!multi_) return; // never listed: nothing was set up
    cancel();
    if (worker_.joinable()) worker_.join();
    curl_multi_cleanup(multi_);
}

void CurlFtpClient::cancel() {
    if (!multi_) return;
    stopping_ = true;
    curl_multi_wakeup(multi_);
}

void CurlFtpClient::list(const std::string& url, std::function<void(bool, const std::string&)> done) {
    // The library's set-up loads the TLS library: it waits for the first listing, not for start-up.
    static std::once_flag initialised;
    std::call_once(initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    if (!multi_) multi_ = curl_multi_init();
    if (worker_.joinable()) worker_.join(); // the caller refuses a second request while one runs
    stopping_ = false;                      // a cancelled transfer has ended: the new one runs
    worker_ = std::thread([this, url, done = std::move(done)] {
        std::optional<std::pair<bool, std::string>> result = fetch(url, multi_, stopping_);
        if (!result) return;
        QMetaObject::invokeMethod(
            &receiver_, [done, r = std::move(*result)] { done(r.first, r.second); }, Qt::QueuedConnection);
    });
}
