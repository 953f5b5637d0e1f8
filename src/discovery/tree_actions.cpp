#include <algorithm>

#include "comm/device_procedures.h"
#include "comm/link.h"
#include "comm/model_check.h"
#include "comm/register_map.h"
#include "core/app_context.h"
#include "core/busy_run.h"
#include "core/button_groups.h"
#include "discovery/device_search.h"
#include "discovery/search_protocol.h"
#include "platform/datagram_socket.h"

namespace {

// Devices that are addressed on the I/O module's default node when they report their initial state.
constexpr std::array<std::string_view, 13> ModuleNames{
    "JXV9XXX",   "JXV9568",   "JXV9704", "JXV9921", "JXV9422", "JXV9322", "JXV9628",
    "JXV9436_I", "JXV9436_V", "JXV9025", "JXV9169", "JXV9663", "JXV9930"};
constexpr uint8_t ModuleInitNode = 245;
constexpr uint8_t ControllerInitNode = 10;
constexpr uint8_t GatewayRow = 12;

bool hasWebPage(uint8_t row) {
    return row <= 8 || row == 14 || row == 15;
}

// Sub-node lines name no device of the table.
bool isSubNodeKey(std::string_view key) {
    return key.starts_with("nodoB") || key.starts_with("addrB") || key.starts_with("versB");
}

} // namespace

void DeviceSearch::Elenco_NodeClick(const std::string& key) {
    DeviceIndex = static_cast<int16_t>(isSubNodeKey(key) ? 0 : KeyNumber(key));
    Elenco.SelectedKey = key;
}

DeviceRecord* DeviceSearch::selected() {
    if (DeviceIndex < 1 || DeviceIndex > found_) return nullptr;
    return &app_.comm.DeviceTable[static_cast<size_t>(DeviceIndex)];
}

void DeviceSearch::Elenco_DblClick() {
    const DeviceRecord* d = selected();
    if (!d) return;
    if (d->ModelIndex == GatewayRow) {
        if (busy_) return; // a search, scan or set-up runs
        if (app_.dialogs.messageBox("Write default prog?", MsgButtons::OkCancel) == MsgChoice::Ok)
            ConfiguraServer();
    } else if (hasWebPage(d->ModelIndex) && services_.openUrl && !d->IpAddress.empty()) {
        services_.openUrl("http://" + d->IpAddress);
    }
}

void DeviceSearch::SetAsController() {
    const DeviceRecord* d = selected();
    if (!d || busy_) return;
    DeviceRecord& current = app_.comm.CurrentDevice;
    current = *d;
    current.LinkTimeout = 1000;
    const bool module = form.chk_disp_ethernet[2] ||
                        std::find(ModuleNames.begin(), ModuleNames.end(), d->DeviceName) != ModuleNames.end();
    if (d->Init) current.NodeAddress = module ? ModuleInitNode : ControllerInitNode;
    // A connect: nothing else uses the link, or changes what it leads to, between its requests.
    const BusyRun run(app_, ConnectRun);
    Disconnetti(app_);
    Connetti(app_);
    // A connect that failed has told why; the device is not asked anything more.
    if (current.Connected) {
        IdentificaModello(app_, current.ModelIndex);
        VerificaModello(app_);
        TakeModeRead(app_, LeggiStatoPLC(app_));
    }
    // The register names follow the model now chosen, connected or not.
    MappaRegistri(app_, false);
    if (services_.redrawRegisters) services_.redrawRegisters();
}

void DeviceSearch::CopyMAC() {
    if (const DeviceRecord* d = selected(); d && services_.setClipboard)
        services_.setClipboard(d->MacAddress);
}

void DeviceSearch::CopyIP() {
    if (const DeviceRecord* d = selected(); d && services_.setClipboard) services_.setClipboard(d->IpAddress);
}

void DeviceSearch::SetIP() {
    const DeviceRecord* d = selected();
    if (!d || d->MacAddress.empty()) return;
    std::optional<std::array<uint8_t, 4>> ip;
    while (!ip) {
        const auto answer = app_.dialogs.inputBox("Insert IP address", "Melqo");
        if (!answer || answer->empty()) return;
        ip = ParseIpv4(*answer);
    }
    std::array<uint8_t, 6> mac{};
    std::copy_n(d->MacBytes.begin(), mac.size(), mac.begin());
    app_.comm.SearchQueryA = 0;
    app_.comm.SearchQueryB = 0;
    // The command leaves through the chosen network, as the queries do. A search that runs has its
    // socket bound and keeps it as it is, whatever the Network bind box says meanwhile: its next query
    // leaves from its own port and its replies are heard. Otherwise a socket is bound for the command.
    const bool ownBind = !udp_.isBound();
    if (ownBind && udp_.bind(form.Text1, 0) != BindResult::Ok) {
        app_.dialogs.messageBox("The new address was not sent: cannot bind to Network bind " + form.Text1 +
                                    ": " + udp_.error(),
                                MsgButtons::Ok, MsgIcon::Warning, "Melqo");
        return;
    }
    if (!udp_.sendTo(SetAddressDatagram(mac, *ip), ports_.Broadcast, ports_.DevicePort))
        app_.dialogs.messageBox("The new address was not sent: " + udp_.error(), MsgButtons::Ok,
                                MsgIcon::Warning, "Melqo");
    if (ownBind) udp_.close();
}
