#pragma once
// An instrument in the test process behind a LinkPort: what the bench writes goes to respond(), whose
// answer is at once there to read, as if the instrument had replied before the bench looked.
#include <functional>
#include <string>
#include <utility>

#include "core/link_port.h"

class FakeSerialPort : public LinkPort {
  public:
    std::function<std::string(const std::string&)> respond;
    std::string written;       // every byte written, in order
    std::string device, settings; // of the last open
    bool refuseOpen = false;

    bool openSerial(const std::string& path, const std::string& portSettings, bool) override {
        if (refuseOpen) return false;
        device = path, settings = portSettings, open_ = true;
        return true;
    }
    void connectTcp(const std::string&, uint16_t) override {}
    void close() override { open_ = false; }
    bool isSerial() const override { return true; }
    bool isConnected() const override { return open_; }
    bool failed() const override { return false; }
    bool write(const std::string& bytes) override {
        if (!open_) return false;
        written += bytes;
        if (respond) input_ += respond(bytes);
        if (!input_.empty() && onBytesReceived) onBytesReceived();
        return true;
    }
    // Bytes the instrument sent on its own, there to read.
    void arrive(const std::string& bytes) { input_ += bytes; }
    std::string readAll() override { return std::exchange(input_, {}); }
    void discardInput() override { input_.clear(); }
    std::string error() const override { return refuseOpen ? "no such device" : ""; }

  private:
    bool open_ = false;
    std::string input_;
};
