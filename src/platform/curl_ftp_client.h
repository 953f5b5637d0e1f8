#pragma once
// FtpClient on libcurl: the transfer runs on a thread of its own, bounded by connect and total limits
// and by the size of the listing; closing the client ends a transfer at once.
#include <atomic>
#include <QObject>
#include <thread>

#include "platform/ftp_client.h"

class CurlFtpClient : public FtpClient {
  public:
    // A listing longer than any directory's: it is stopped with a message.
    static constexpr size_t MostBytes = 16u << 20;
    static constexpr size_t MostLines = 100000;
    static constexpr size_t LongestLine = 8192;

    CurlFtpClient();
    ~CurlFtpClient() override; // stops a transfer still running and returns at once
    void list(const std::string& url, std::function<void(bool, const std::string&)> done) override;
    // The transfer's thread closes the connection and ends within milliseconds; nothing waits for it.
    void cancel() override;

  private:
    QObject receiver_;      // lives on the window thread: results are queued to it
    void* multi_ = nullptr; // the transfer's libcurl multi handle, woken to stop it
    std::atomic<bool> stopping_{false};
    std::thread worker_;
};
