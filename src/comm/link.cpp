#include "comm/link.h"

#include <filesystem>
#include <utility>

#include "core/app_context.h"
#include "core/link_port.h"
#include "core/web_page.h"

namespace {

constexpr const char* NoModemNumber = "Modem link: no telephone number in the settings";

void logLine(ShellState& shell, const std::string& text) {
    shell.log.LogStart();
    shell.log.LogWrite(text);
}

void logDropped(CommState& comm, ShellState& shell) {
    if (comm.DroppedInput == 0) return;
    logLine(shell,
            std::to_string(std::exchange(comm.DroppedInput, 0)) + " bytes arrived while idle and were dropped");
}

// Receive events: an arrival raises DataArrived (the transaction reads the bytes); a vanished device
// closes the link.
void wireEvents(AppContext& app, LinkPort& link) {
    CommState* comm = &app.comm;
    ShellState* shell = &app.shell;
    const EventPump* pump = &app.pump;
    link.onBytesReceived = [comm, pump] {
        comm->DataArrived = 1;
        comm->LineActiveUs = pump->nowUs();
    };
    link.onInputDropped = [comm, shell](size_t count) {
        comm->DroppedInput += count;
        // A request drains a flood batch by batch: it tells the sum once, when it ends.
        if (!comm->TransactionBusy) logDropped(*comm, *shell);
    };
    link.onLinkLost = [comm, shell](const std::string& reason) {
        comm->CurrentDevice.Connected = 0;
        shell->status.set(4, ""); // the last exchange's outcome is no news about a link that is gone
        logLine(*shell, "Link lost: " + reason);
        shell->status.AggiornaStato();
    };
}

void enableLinkGroups(StatusPanels& status, bool enable) {
    status.AbilitaPulsanti("Puls_DebugRelease", enable);
    status.AbilitaPulsanti("Puls_Download", enable);
}

void connectSerial(AppContext& app, LinkPort& link) {
    DeviceRecord& device = app.comm.CurrentDevice;
    if (device.ModemDialUp && app.shell.ModemNumber.empty()) {
        // Without a number the modem dials nothing, and the link would only look connected.
        app.dialogs.messageBox(NoModemNumber, MsgButtons::Ok, MsgIcon::Critical);
        logLine(app.shell, NoModemNumber);
        return;
    }
    const std::string path = SerialDevicePath(device);
    if (!link.openSerial(path, SerialSettingsText(device), device.ModemDialUp != 0)) {
        app.shell.log.LogWrite("Port " + path + " not opened: " + link.error());
        return;
    }
    if (device.ModemDialUp) {
        // The modem's reply is not awaited: success means the dial command was handed over.
        link.write("atdt0, " + app.shell.ModemNumber + "\r");
    } else {
        logLine(app.shell, "Port Open");
    }
    device.Connected = -1;
}

// The outcome of a TCP connect: connected, or why not.
struct TcpOpen {
    bool connected = false;
    std::string reason;
    std::string where;    // "  [address:port]" after a refusal, which the log tells with its reason
    bool closing = false; // cut short by the program's close
};

// Connects the link to the current device's address and port. The wait ends at the link time-out, or
// earlier when the socket gives up (refused, unreachable): there is nothing left to wait for. A connection
// that did not come is closed.
TcpOpen openTcp(AppContext& app, LinkPort& link, bool holdInput) {
    const DeviceRecord& device = app.comm.CurrentDevice;
    // The 16-bit field holds ports above 32767 as negative numbers.
    link.connectTcp(device.IpAddress, static_cast<uint16_t>(device.Port));
    const auto settled = [&] { return link.isConnected() || link.failed(); };
    TcpOpen open;
    open.connected = app.pump.waitUntil(settled, device.LinkTimeout, holdInput) && link.isConnected();
    if (open.connected) return open;
    // A refused connection says why; one that never came is a time-out.
    const bool refused = link.failed();
    open.closing = !refused && app.pump.closing();
    open.reason = refused        ? link.error()
                  : open.closing ? "Connection ended: the program is closing"
                                 : "Connection Timeout";
    const uint16_t port = static_cast<uint16_t>(device.Port);
    if (refused) open.where = "  [" + device.IpAddress + ":" + std::to_string(port) + "]";
    link.close();
    return open;
}

constexpr const char* NewConnectionReason =
    "the device numbers its answers 0, and an earlier answer may still come (logged once: until the next "
    "connect, every request after one that did not take its answer whole goes on a new connection)";

// No answer of an earlier connection can come on a new one.
void forgetConnection(CommState& comm) {
    comm.TcpAnswerPending = 0;
    comm.LinkSettled = 0;
}

void connectTcp(AppContext& app, LinkPort& link) {
    DeviceRecord& device = app.comm.CurrentDevice;
    // A malformed numeric address is not handed to the resolver, which would take it for a host name.
    if (!isHostAddress(device.IpAddress)) {
        const std::string reason = "Invalid IP address: " + device.IpAddress;
        app.dialogs.messageBox(reason, MsgButtons::Ok, MsgIcon::Critical);
        logLine(app.shell, reason);
        return;
    }
    const TcpOpen open = openTcp(app, link, false);
    if (!open.connected) {
        // One that the program's close cut short is only logged, since no window is left to show a box.
        if (!open.closing) app.dialogs.messageBox(open.reason, MsgButtons::Ok, MsgIcon::Critical);
        logLine(app.shell, open.reason + open.where);
        device.Connected = 0;
        enableLinkGroups(app.shell.status, false);
        return;
    }
    logLine(app.shell, "Connected  [" + device.IpAddress + "]");
    device.Connected = -1;
    enableLinkGroups(app.shell.status, true);
}

} // namespace

void LogDroppedInput(AppContext& app) {
    logDropped(app.comm, app.shell);
}

std::string SerialDevicePath(const DeviceRecord& device) {
    if (!device.SerialDevice.empty()) return device.SerialDevice;
    return ComDevicePath(device.Port);
}

std::string ComDevicePath(int port) {
    const std::string number = std::to_string(port > 0 ? port - 1 : 0);
    const std::string usb = "/dev/ttyUSB" + number;
    std::error_code ec;
    return std::filesystem::exists(usb, ec) ? usb : "/dev/ttyS" + number;
}

std::string SerialSettingsText(const DeviceRecord& device) {
    const bool twoStop = device.TwoStopBits && !device.ModemDialUp;
    return device.BaudRate + (twoStop ? ",n,8,2" : ",n,8,1");
}

void Connetti(AppContext& app) {
    CommState& comm = app.comm;
    std::fill_n(comm.RxBuffer.begin(), 101, 0);
    std::fill_n(comm.TxBuffer.begin(), 101, 0);
    ForgetLinkAnswers(comm);
    if (comm.CurrentDevice.Channel == 0)
        comm.LinkMode = 2;
    else if (comm.CurrentDevice.Channel == 1)
        comm.LinkMode = 1;
    if (app.link) {
        wireEvents(app, *app.link);
        if (comm.LinkMode == 1)
            connectSerial(app, *app.link);
        else if (comm.LinkMode == 2)
            connectTcp(app, *app.link);
    }
    app.shell.status.AggiornaStato();
}

void ForgetLinkAnswers(CommState& comm) {
    comm.FixedTransactionId = 0;
    comm.NewConnectionLogged = 0;
    comm.LateAnswerUntilUs.fill(0);
    forgetConnection(comm);
}

std::string ReconnectTcp(AppContext& app) {
    LinkPort& link = *app.link;
    forgetConnection(app.comm);
    const TcpOpen open = openTcp(app, link, true);
    const std::string& ip = app.comm.CurrentDevice.IpAddress;
    if (open.connected) {
        // One line tells the rule: a device that answers every request late adds none per request.
        if (!std::exchange(app.comm.NewConnectionLogged, -1))
            logLine(app.shell, "New connection  [" + ip + "]: " + NewConnectionReason);
        return {};
    }
    const std::string reason = "no new connection: " + open.reason + open.where;
    if (!open.closing && link.onLinkLost) link.onLinkLost(reason);
    return reason;
}

void Disconnetti(AppContext& app) {
    CommState& comm = app.comm;
    if (comm.PollStop == 0) return;
    DeviceRecord& device = comm.CurrentDevice;
    if (app.link) app.link->close();
    if (comm.LinkMode == 2) {
        app.shell.status.set(4, "");
        logLine(app.shell, "Disconnect [" + device.IpAddress + "]");
    } else {
        logLine(app.shell, "Disconnect [" + std::to_string(device.NodeAddress) + "]");
    }
    device.Connected = 0;
    for (const char* group : {"Puls_DebugRelease", "Puls_Download", "Puls_Debug"})
        app.shell.status.AbilitaPulsanti(group, false);
    app.shell.status.AggiornaStato();
}
