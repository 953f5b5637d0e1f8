#pragma once
// The traffic sniffer: asks one device to send copies of its traffic to this computer ("0003" starts,
// "0004" stops, both to UDP port 1001) and lists every datagram that comes back as a dump line.
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct AppContext;
class DatagramSocket;

// Date and time, a space, the first byte's two hex digits and a space, then the other bytes' digits; a
// datagram longer than DumpBytes shows its first DumpBytes bytes, then "... (n bytes)".
constexpr size_t DumpBytes = 512;
std::string snifferDumpLine(const std::string& dateTime, std::string_view datagram);

class Sniffer {
  public:
    // now: the date and time of an arrival as the user's locale writes them.
    Sniffer(AppContext& app, DatagramSocket& socket, std::function<std::string()> now,
            uint16_t devicePort = 1001);
    ~Sniffer();

    // The list keeps the newest lines; the oldest go first.
    static constexpr size_t MostLines = 10000;

    static constexpr const char* DefaultAddress = "192.168.1.100";
    std::string IP_SNIFF = DefaultAddress;
    std::deque<std::string> List1;
    std::function<void(const std::string& line)> onAdded; // the line is the last of List1
    std::function<void()> onCleared;

    void Command5_Click(); // Start Sniffer: clears the list, sends "0003"
    void Command3_Click(); // Stop Sniffer: sends "0004"
    void clear();          // empties List1
    // The window closed: every device started and not stopped since gets "0004" at the address it was
    // started at, and the socket's port is freed. The next start takes a new port.
    void Form_Unload();

  private:
    bool send(const char* command, const std::string& address);

    AppContext& app_;
    std::vector<std::string> sending_; // the addresses "0003" went to without a "0004" after it
    DatagramSocket& socket_;
    std::function<std::string()> now_;
    uint16_t devicePort_;
};
