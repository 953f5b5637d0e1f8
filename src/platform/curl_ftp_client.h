#pragma once
// FtpClient on libcurl: the transfer runs on a thread of its own, bounded by connect and total limits.
#include <QObject>
#include <thread>

#include "platform/ftp_client.h"

class CurlFtpClient : public FtpClient {
  public:
    CurlFtpClient();
    ~CurlFtpClient() override; // waits for a transfer still running (bounded by its limits)
    void list(const std::string& url, std::function<void(bool, const std::string&)> done) override;

  private:
    QObject receiver_; // lives on the window thread: results are queued to it
    std::thread worker_;
};
