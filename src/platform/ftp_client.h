#pragma once
// An FTP directory listing fetched in the background; the answer comes back on the window thread, so
// the caller never waits for the network.
#include <functional>
#include <string>

class FtpClient {
  public:
    virtual ~FtpClient() = default;
    // One request at a time per client; done gets the listing's bytes, or false and the reason.
    virtual void list(const std::string& url, std::function<void(bool ok, const std::string& listingOrError)> done) = 0;
    // Ends the running request and its connection at once; its done is not called. Harmless when idle.
    virtual void cancel() = 0;
};
