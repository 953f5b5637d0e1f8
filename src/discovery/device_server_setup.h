#pragma once
// The default set-up of a serial-to-Ethernet gateway, written through its set-up console on TCP
// port 9999: seven steps, each a text sent and an answer of a least length awaited.
#include <array>
#include <cstdint>
#include <functional>
#include <string_view>

class EventPump;
class LinkPort;

struct TelnetStep {
    std::string_view text; // sent as one piece; empty for the greeting
    size_t minimumLength;  // bytes of answer that make the step good
};

// Menu choice 1: address 192.168.1.100, gateway 192.168.1.1, mask 255.255.255.0; "N"; menu choice 2:
// serial port 38400,8,N,1; "S" saves and restarts the device.
inline constexpr std::array<TelnetStep, 7> DeviceServerSetup{{
    {"", 100},
    {"\r", 900},
    {"1192\r168\r1\r100\rY192\r168\r1\r1\rY255\r255\r255\r0\r", 200},
    {"N", 800},
    {"2", 40},
    {"1\r1\r38400,8,N,1\r", 1000},
    {"S", 40},
}};

constexpr uint16_t DeviceServerPort = 9999;
constexpr int TelnetStepTimeoutMs = 2000;

// Sends one step's text and waits until the bytes received since then reach the step's minimum or
// the time-out passes; false also when the connection is not up, the send fails or stopped() turns
// true, which ends the wait at once.
bool InviaTelnet(LinkPort& telnet, EventPump& pump, const TelnetStep& step, int timeoutMs,
                 const std::function<bool()>& stopped = {});

// Connects to host:port and runs the steps in order; returns 0 when all passed, else the number
// (1..7) of the first step that failed. The connection is closed in both cases. onStep hears the number
// of each step as it starts; the window stays live during the waits. Once stopped() is true the step
// that runs fails at once and no later one starts.
int RunDeviceServerSetup(LinkPort& telnet, EventPump& pump, const std::string& host,
                         uint16_t port = DeviceServerPort, int timeoutMs = TelnetStepTimeoutMs,
                         const std::function<void(int step)>& onStep = {},
                         const std::function<bool()>& stopped = {});
