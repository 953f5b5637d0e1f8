#pragma once
// A complete program state wired to the real link adapter and the real event pump, for tests that talk to
// a simulated controller: session.connectTcp(sim.startTcp()) or session.connectRtu(sim.startRtu()).
#include <memory>
#include <string>
#include <vector>

#include "core/app_context.h"
#include "comm/link.h"
#include "platform/qt_event_pump.h"
#include "platform/qt_link_port.h"
#include "support/fake_dialogs.h"
#include "support/qt_test_app.h"

struct SimSession {
    SimSession() {
        QtTestApp();
        comm->CurrentDevice.NodeAddress = 10;
        shell->status.onAbilitaPulsanti = [this](const std::string& g, bool on) {
            groupCalls.push_back(g + (on ? "=on" : "=off"));
        };
        shell->status.onAggiornaStato = [this] { ++refreshes; };
    }

    // Connects over Modbus TCP to 127.0.0.1:port; true when Connected.
    bool connectTcp(uint16_t port) {
        comm->CurrentDevice.Channel = 0;
        comm->CurrentDevice.IpAddress = "127.0.0.1";
        comm->CurrentDevice.Port = static_cast<int16_t>(port);
        Connetti(app);
        return comm->CurrentDevice.Connected != 0;
    }
    // Opens the serial device path as the RTU link; true when Connected.
    bool connectRtu(const std::string& device, const std::string& baud = "115200") {
        comm->CurrentDevice.Channel = 1;
        comm->CurrentDevice.Port = 1;
        comm->CurrentDevice.SerialDevice = device;
        comm->CurrentDevice.BaudRate = baud;
        Connetti(app);
        return comm->CurrentDevice.Connected != 0;
    }
    // Puts a request into TxBuffer.
    void request(const std::vector<uint8_t>& bytes) {
        std::copy(bytes.begin(), bytes.end(), comm->TxBuffer.begin());
        comm->TxLength = static_cast<int>(bytes.size());
    }
    std::vector<uint8_t> answer() const {
        return {comm->RxBuffer.begin(), comm->RxBuffer.begin() + comm->RxLength};
    }

    std::unique_ptr<ShellState> shell = std::make_unique<ShellState>();
    std::unique_ptr<CommState> comm = std::make_unique<CommState>();
    std::unique_ptr<Project> project = std::make_unique<Project>();
    QtEventPump pump;
    FakeDialogs dialogs;
    QtLinkPort link;
    AppContext app{*shell, *comm, *project, pump, dialogs, &link};
    std::vector<std::string> groupCalls; // AbilitaPulsanti calls as "group=on|off"
    int refreshes = 0;                   // AggiornaStato calls
};
