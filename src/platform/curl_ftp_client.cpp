#include "platform/curl_ftp_client.h"

#include <mutex>

#include <curl/curl.h>

#include <QMetaObject>

namespace {

constexpr long ConnectLimitSeconds = 10;
constexpr long TransferLimitSeconds = 60;

size_t append(char* data, size_t size, size_t count, void* target) {
    static_cast<std::string*>(target)->append(data, size * count);
    return size * count;
}

// The listing's bytes, or the reason it failed.
std::pair<bool, std::string> fetch(const std::string& url) {
    CURL* curl = curl_easy_init();
    if (!curl) return {false, "FTP: libcurl could not start"};
    std::string body;
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, ConnectLimitSeconds);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, TransferLimitSeconds);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, append);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
    CURLcode rc = curl_easy_perform(curl);
    curl_easy_cleanup(curl);
    if (rc != CURLE_OK) return {false, std::string("FTP: ") + curl_easy_strerror(rc)};
    return {true, body};
}

} // namespace

CurlFtpClient::CurlFtpClient() = default;

CurlFtpClient::~CurlFtpClient() {
    if (worker_.joinable()) worker_.join();
}

void CurlFtpClient::list(const std::string& url, std::function<void(bool, const std::string&)> done) {
    // The library's set-up loads the TLS library: it waits for the first listing, not for start-up.
    static std::once_flag initialised;
    std::call_once(initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    if (worker_.joinable()) worker_.join(); // the caller refuses a second request while one runs
    worker_ = std::thread([this, url, done = std::move(done)] {
        std::pair<bool, std::string> result = fetch(url);
        QMetaObject::invokeMethod(&receiver_, [done, result] { done(result.first, result.second); },
                                  Qt::QueuedConnection);
    });
}
