#include "discovery/device_server_setup.h"

#include <string>

#include "core/event_pump.h"
#include "core/link_port.h"

bool InviaTelnet(LinkPort& telnet, EventPump& pump, const TelnetStep& step, int timeoutMs,
                 const std::function<bool()>& stopped) {
    auto stop = [&] { return stopped && stopped(); };
    // The greeting's time also covers the connection itself, and counts every byte since it stood.
    int64_t start = pump.nowMs();
    pump.waitUntil([&] { return telnet.isConnected() || telnet.failed() || stop(); }, timeoutMs, false);
    if (!telnet.isConnected() || stop()) return false;
    if (!step.text.empty()) {
        telnet.readAll(); // late bytes of the previous answer are not this step's
        if (!telnet.write(std::string(step.text))) return false;
        start = pump.nowMs();
    }
    size_t received = 0;
    auto answered = [&] {
        received += telnet.readAll().size();
        return received >= step.minimumLength || !telnet.isConnected() || stop();
    };
    int left = timeoutMs - static_cast<int>(pump.nowMs() - start);
    pump.waitUntil(answered, left > 0 ? left : 0, false);
    return received >= step.minimumLength && !stop();
}

int RunDeviceServerSetup(LinkPort& telnet, EventPump& pump, const std::string& host, uint16_t port,
                         int timeoutMs, const std::function<void(int step)>& onStep,
                         const std::function<bool()>& stopped) {
    telnet.connectTcp(host, port);
    int failed = 0;
    for (size_t i = 0; i < DeviceServerSetup.size() && !failed; ++i) {
        if (onStep) onStep(static_cast<int>(i) + 1);
        if (!InviaTelnet(telnet, pump, DeviceServerSetup[i], timeoutMs, stopped))
            failed = static_cast<int>(i) + 1;
    }
    telnet.close();
    return failed;
}
