#include "core/app_context.h"
#include "core/link_port.h"
#include "discovery/device_search.h"
#include "discovery/device_server_setup.h"
#include "platform/local_addresses.h"

void DeviceSearch::ConfiguraServer() {
    const DeviceRecord* d = selected();
    if (busy_) return;
    if (!d || d->IpAddress.empty()) {
        app_.dialogs.messageBox("Selezionare dispositivo");
        return;
    }
    const std::string host = d->IpAddress;
    busy_ = true;
    closed_ = false;
    form.cmd_Search_enabled = false;
    std::unique_ptr<LinkPort> telnet = services_.newTcpLink();
    const auto steps = std::to_string(DeviceServerSetup.size());
    int failed = RunDeviceServerSetup(
        *telnet, app_.pump, host, ports_.ConsolePort, TelnetStepTimeoutMs,
        [&](int step) {
            setLabel("Gateway set-up of " + host + ": step " + std::to_string(step) + " of " + steps);
        },
        [this] { return closed_; });
    busy_ = false;
    form.cmd_Search_enabled = true;
    if (closed_) {
        app_.shell.log.LogWrite("Gateway set-up of " + host + ": stopped at step " + std::to_string(failed) +
                                ", the search window was closed");
        return;
    }
    if (failed)
        app_.shell.log.LogWrite("Gateway set-up of " + host + ": step " + std::to_string(failed) + " failed");
    setLabel("Gateway set-up of " + host +
             (failed ? ": step " + std::to_string(failed) + " failed" : ": done"));
    app_.dialogs.messageBox(failed ? "errore" : "Parameters saved, Restarting ...");
}

void DeviceSearch::cmd_Manual_Click() {
    std::unique_ptr<LinkPort> probe; // open until the console is up, then dropped
    ManualServices m{*services_.runner,
                     [&](const std::string& host, uint16_t port) {
                         probe = services_.newTcpLink();
                         probe->connectTcp(host, port);
                     },
                     services_.openTerminal,
                     services_.openUrl,
                     {addresses_.networks(), addresses_.gateways(), addresses_.neighbours()},
                     form.Text1};
    ::cmd_Manual_Click(app_, manual, m);
}
