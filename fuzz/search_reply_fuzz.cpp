// Feeds arbitrary datagrams to the device search's receive event with any query flags, and arbitrary
// bytes to the other decoders of the search: nothing read from the network may be trusted for its length.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "core/app_context.h"
#include "discovery/device_search.h"
#include "discovery/node_identity.h"
#include "discovery/search_protocol.h"
#include "platform/datagram_socket.h"
#include "platform/local_addresses.h"
#include "silent_dialogs.h"

namespace {

class NoSocket : public DatagramSocket {
  public:
    BindResult bind(const std::string&, uint16_t) override { return BindResult::Failed; }
    bool isBound() const override { return false; }
    std::string localAddress() const override { return {}; }
    uint16_t localPort() const override { return 0; }
    bool sendTo(const std::string&, const std::string&, uint16_t) override { return true; }
    void close() override {}
    std::string error() const override { return "none"; }
};

class NoAddresses : public LocalAddresses {
  public:
    std::vector<std::string> ipv4() const override { return {}; }
};

class NoPump : public EventPump {
  public:
    void processEvents() override {}
    void pausa(double) override {}
    bool waitUntil(const std::function<bool()>& done, int, bool) override { return done(); }
    int64_t nowMs() const override { return 0; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    static auto shell = std::make_unique<ShellState>();
    static auto comm = std::make_unique<CommState>();
    static auto project = std::make_unique<Project>();
    static NoPump pump;
    static SilentDialogs dialogs;
    static NoSocket udp;
    static NoAddresses addresses;
    static AppContext app{*shell, *comm, *project, pump, dialogs, nullptr};
    static DeviceSearch search(app, udp, addresses, {});

    const uint8_t flags = data[0];
    const std::string payload(reinterpret_cast<const char*>(data + 2), size - 2);
    comm->SearchQueryA = (flags & 1) ? -1 : 0;
    comm->SearchQueryB = (flags & 2) ? -1 : 0;
    shell->Flags.Brand3 = (flags & 4) ? -1 : 0;
    shell->Flags.Internal = (flags & 8) ? -1 : 0;
    search.Elenco.clear();
    search.Elenco.add("", "rete", "Ethernet");
    // Start anywhere around the end of the table.
    search.DeviceIndex = static_cast<int16_t>(data[1] % 110);
    search.UDP_DataArrival(payload, "127.0.0.2");
    search.CopyIP();
    search.Elenco_NodeClick(payload);

    DecodeNodeIdentity(std::span<const uint8_t>(data, size));
    ParseIpv4(payload);
    return 0;
}
