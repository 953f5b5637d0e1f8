#include "comm/link.h"
#include "comm/transaction.h"
#include "core/app_context.h"
#include "core/busy_run.h"
#include "discovery/device_search.h"
#include "discovery/node_identity.h"
#include "discovery/typed_numbers.h"

namespace {
constexpr int MaxAddress = 255;
} // namespace

void DeviceSearch::serialScan() {
    // Every number is checked before the user's link is touched.
    const auto from = WholeNumber(form.txt_indir[0], 0, MaxAddress);
    const auto to = WholeNumber(form.txt_indir[1], 0, MaxAddress);
    if (!from || !to) {
        errorPath("Address: From and To must be whole numbers from 0 to 255.");
        return;
    }
    const int timeout = *WholeNumber(form.txt_Timeout, 0, MaxTimeoutMs); // checked at the search start
    const std::string port = form.portText();
    DeviceRecord& device = app_.comm.CurrentDevice;
    // The scan takes the link over: nothing else uses it, or changes it, between its requests. A polling
    // loop whose wait the click came in ends once the scan returns, which lets the link close now.
    const BusyRun run(app_, "a serial search");
    app_.comm.PollStop = 1;
    Disconnetti(app_);
    if (pause(0.5)) {
        // COM1..COM32 by number; a device path of this machine by its path.
        const bool com = form.cmb_porta >= FirstComItem && form.cmb_porta <= ComItems;
        if (com) device.Port = static_cast<int16_t>(form.cmb_porta);
        device.SerialDevice = com ? std::string{} : port;
        if (form.chk_baud >= 0 && form.chk_baud < BaudChoices)
            device.BaudRate = Bauds[static_cast<size_t>(form.chk_baud)];
        device.Channel = 1;
        device.LinkTimeout = static_cast<int16_t>(timeout);
        Connetti(app_);
        pause(0.5);
    }
    if (!goingOn()) {
        stoppedAt_ = "connecting";
        if (closed_) releaseScanLink();
        return completion();
    }
    Elenco.add("", "rete", port, "connect");
    polling_ = true;
    for (int a = *from; a <= *to; ++a) {
        // The requests' waits hold back the user's clicks: Stop and a close are taken here.
        pause(0);
        if (!goingOn()) {
            stoppedAt_ = "Addr: " + std::to_string(a);
            break;
        }
        setLabel("Searching: " + port + "; Addr: " + std::to_string(a));
        const auto id = pollIdentity(a, 1);
        if (!id) continue;
        // The list ends at its last record: no line without a device behind it.
        if (listed_ >= MostDevices) {
            polling_ = false;
            errorPath("More than 100 devices: the search ends here.");
            return;
        }
        addSerialDevice(*id);
    }
    polling_ = false;
    completion();
}

std::optional<NodeIdentity> DeviceSearch::pollIdentity(int address, int16_t linkMode) {
    PutIdentityRequest(app_.comm, static_cast<uint8_t>(address));
    app_.comm.LinkMode = linkMode;
    if (TrasmettiRicevi(app_, 0) != ComOk) return std::nullopt;
    return DecodeNodeIdentity(
        std::span<const uint8_t>(app_.comm.RxBuffer.data(), static_cast<size_t>(app_.comm.RxLength)));
}

void DeviceSearch::addSerialDevice(const NodeIdentity& id) {
    const int n = ++listed_;
    DeviceIndex = static_cast<int16_t>(n);
    const std::string node = "nodo" + std::to_string(n);
    const std::string address = std::to_string(id.Address);
    Elenco.add("rete", node, id.Name + " [" + address + "]");
    Elenco.add(node, "addr" + std::to_string(n), "Addr: " + address);
    Elenco.add(node, "vers" + std::to_string(n), "Vers: " + id.Version);
    Elenco.ensureVisible(node);
    const DeviceRecord& link = app_.comm.CurrentDevice;
    DeviceRecord d;
    d.Channel = link.Channel;
    d.Port = link.Port;
    d.SerialDevice = link.SerialDevice;
    d.BaudRate = link.BaudRate;
    d.TwoStopBits = link.TwoStopBits;
    d.IpAddress.clear();
    d.NodeAddress = id.Address;
    writeEntry(n, d);
}
