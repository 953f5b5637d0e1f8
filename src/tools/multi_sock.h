#pragma once
// MultiSock without its window: a list of Modbus TCP devices that it connects to one after another
// over a link of its own (the current device's link stays as it is), reading each one's model and run
// state into its row.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/comm_state.h"

struct AppContext;
class LinkPort;
class UserDialogs;

class MultiSock {
  public:
    MultiSock(AppContext& ctx, LinkPort& link);
    ~MultiSock();

    struct Device {
        std::string IpAddress;
        uint16_t Port = 502;
        uint8_t Node = 1;
        std::string Model;
        std::string RunState;
        std::string Result;
    };

    // Adds a device from the typed address, port (1..65535) and node (0..255); false and a message box
    // when one of them is not valid.
    bool add(const std::string& ip, const std::string& port, const std::string& node);
    void remove(int row);
    // Every device in turn: connect, identify, read the run state, close. Ends early on stop().
    void scan();
    // Ends the scan at once: the link closes, so a connect or request that waits ends now, and the
    // device it was talking to says "Stopped" (no message box for the request it cut off).
    void stop();
    bool running() const { return running_; }

    std::vector<Device> Devices;
    std::function<void()> onChanged;

  private:
    void scanOne(Device& d);
    bool connect(const Device& d);
    void changed() const;

    AppContext& ctx_;
    LinkPort& link_;
    std::unique_ptr<CommState> comm_ = std::make_unique<CommState>();
    bool running_ = false;
    bool stop_ = false;
    std::unique_ptr<UserDialogs> dialogs_; // the program's boxes, none once stopped
};
