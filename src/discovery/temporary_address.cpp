#include "discovery/temporary_address.h"

#include <algorithm>
#include <iterator>

#include "discovery/search_protocol.h"

namespace {

uint32_t value(const std::array<uint8_t, 4>& b) {
    return static_cast<uint32_t>(b[0]) << 24 | static_cast<uint32_t>(b[1]) << 16 |
           static_cast<uint32_t>(b[2]) << 8 | b[3];
}

// What makes the address no device's own, or empty.
std::string specialKind(const std::array<uint8_t, 4>& ip) {
    if (ip[0] == 127) return "a loopback address";
    if (ip[0] == 0) return "an address of network 0 (this host)";
    if (ip[0] >= 224 && ip[0] <= 239) return "a multicast address";
    if (ip[0] >= 240) return "a reserved or broadcast address";
    return {};
}

bool holds(const LocalNetwork& n, uint32_t ip) {
    const uint32_t mask = value(n.mask);
    return (value(n.address) & mask) == (ip & mask);
}

int prefixLength(const std::array<uint8_t, 4>& mask) {
    uint32_t m = value(mask);
    int n = 0;
    for (; m & 0x80000000u; m <<= 1)
        ++n;
    return n;
}

std::string networkText(const LocalNetwork& n) {
    const uint32_t net = value(n.address) & value(n.mask);
    return DottedText({static_cast<uint8_t>(net >> 24), static_cast<uint8_t>(net >> 16),
                       static_cast<uint8_t>(net >> 8), static_cast<uint8_t>(net)}) +
           "/" + std::to_string(prefixLength(n.mask)) + " (" + n.interfaceName + ")";
}

TemporaryAddressChoice refuse(const std::array<uint8_t, 4>& ip, const std::string& why) {
    return {{},
            "Temporary IP Address: " + DottedText(ip) + " " + why +
                ".\nType a free unicast address of the device's network; nothing was changed."};
}

} // namespace

TemporaryAddressChoice ChooseTemporaryAddress(const std::array<uint8_t, 4>& ip, const std::string& mac,
                                              const std::string& bindAddress,
                                              const MachineNetworking& machine) {
    const std::vector<LocalNetwork>& networks = machine.networks;
    if (const std::string kind = specialKind(ip); !kind.empty()) return refuse(ip, "is " + kind);
    if (std::any_of(networks.begin(), networks.end(), [&](const LocalNetwork& n) { return n.address == ip; }))
        return refuse(ip, "is an address of this machine");
    // A permanent entry would send the machine's routed traffic, or another host's, to the device.
    if (std::find(machine.gateways.begin(), machine.gateways.end(), ip) != machine.gateways.end())
        return refuse(ip, "is the gateway of a route of this machine");
    const auto other =
        std::find_if(machine.neighbours.begin(), machine.neighbours.end(),
                     [&](const LocalNeighbour& n) { return n.address == ip && n.linkAddress != mac; });
    if (other != machine.neighbours.end())
        return refuse(ip, "is in use by another host (" + other->linkAddress + " on " + other->interfaceName +
                              ")");
    std::vector<LocalNetwork> usable;
    std::copy_if(networks.begin(), networks.end(), std::back_inserter(usable),
                 [](const LocalNetwork& n) { return n.up && !n.loopback; });
    const uint32_t v = value(ip);
    auto chosen = std::find_if(usable.begin(), usable.end(),
                               [&](const LocalNetwork& n) { return DottedText(n.address) == bindAddress; });
    if (chosen != usable.end() && !holds(*chosen, v))
        return refuse(ip,
                      "is not on the network of Network bind " + bindAddress + ", " + networkText(*chosen));
    if (chosen == usable.end())
        chosen =
            std::find_if(usable.begin(), usable.end(), [&](const LocalNetwork& n) { return holds(n, v); });
    if (chosen == usable.end()) return refuse(ip, "lies on none of this machine's networks");
    const uint32_t host = v & ~value(chosen->mask);
    if (prefixLength(chosen->mask) < 31 && (host == 0 || host == ~value(chosen->mask)))
        return refuse(ip, "is the network's own or broadcast address, " + networkText(*chosen));
    return {chosen->interfaceName, {}};
}
