#include "core/app_context.h"
#include "core/link_port.h"
#include "discovery/device_search.h"
#include "discovery/device_server_setup.h"
#include "platform/local_addresses.h"

void DeviceSearch::ConfiguraServer() {
    const DeviceRecord* d = selected();
    if (!d || d->IpAddress.empty()) {
        app_.dialogs.messageBox("Selezionare dispositivo");
        return;
    }
    std::unique_ptr<LinkPort> telnet = services_.newTcpLink();
    int failed = RunDeviceServerSetup(*telnet, app_.pump, d->IpAddress, ports_.ConsolePort);
    if (failed)
        app_.shell.log.LogWrite("Gateway set-up of " + d->IpAddress + ": step " + std::to_string(failed) +
                                " failed");
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
                     addresses_.networks(),
                     form.Text1};
    ::cmd_Manual_Click(app_, manual, m);
}
