#include "comm/device_procedures.h"
#include "comm/link.h"
#include "core/app_context.h"
#include "core/busy_run.h"
#include "discovery/device_search.h"
#include "discovery/node_identity.h"
#include "discovery/typed_numbers.h"

void DeviceSearch::SearchSubNodes() {
    const DeviceRecord* d = selected();
    if (!d || busy_ || d->IpAddress.empty()) return;
    const auto timeout = typedTimeout(MaxTimeoutMs);
    if (!timeout) return;
    if (RefusedDuringRun(app_, "Search Sub Nodes")) return;
    // The scan takes the link over: nothing else changes it, or the project, between its requests.
    const BusyRun run(app_, "a sub-node scan");
    const DeviceRecord gateway = *d;
    const std::string g = std::to_string(DeviceIndex);
    const std::string subNet = "subNet" + g;
    busy_ = true;
    closed_ = false;
    // Stop is taken from the first step on: pressed while the gateway is reached and halted, it ends the
    // scan before its first address.
    SearchRunning = true;
    form.cmd_Search_enabled = false;
    changed();
    Elenco.remove(subNet);
    Elenco.add("nodo" + g, subNet, "SubNet");
    // A polling loop whose wait the item came in ends once the scan returns, which lets the link close now.
    app_.comm.PollStop = 1;
    Disconnetti(app_);
    if (pause(0.1, true)) {
        // The gateway is reached over TCP at its own address and port, whatever the link was before.
        DeviceRecord& current = app_.comm.CurrentDevice;
        current.Channel = 0;
        current.IpAddress = gateway.IpAddress;
        current.Port = gateway.Port;
        current.NodeAddress = gateway.NodeAddress;
        current.LinkTimeout = static_cast<int16_t>(*timeout);
        Connetti(app_);
        if (pause(0.5, true)) {
            ScriviComando(app_, CmdHalt);
            pause(0.2, true);
        }
    }
    int count = 0;
    polling_ = true;
    for (int a = ports_.FirstSubNode; a <= ports_.LastSubNode; ++a) {
        if (!pause(0.2, true)) break;
        setLabel("Searching: " + form.portText() + "; Addr: " + std::to_string(a));
        const auto id = pollIdentity(a, 2);
        if (!id) continue;
        // Keys carry the gateway's number, so the sub-nodes of every gateway are listed.
        const std::string n = g + "." + std::to_string(++count);
        const std::string address = std::to_string(id->Address);
        Elenco.add(subNet, "nodoB" + n, id->Name + " [" + address + "]");
        Elenco.add("nodoB" + n, "addrB" + n, "Addr: " + address);
        Elenco.add("nodoB" + n, "versB" + n, "Vers: " + id->Version);
        Elenco.ensureVisible("nodoB" + n);
    }
    polling_ = false;
    if (closed_) releaseScanLink();
    setLabel(std::string(goingOn() ? "Sub-node search complete" : "Sub-node search stopped") + ": " +
             std::to_string(count) + " sub-nodes");
    busy_ = false;
    form.cmd_Search_enabled = true;
    changed();
}
