#pragma once
// The temporary address of "Search by MAC" and the interface its static entry goes on. The entry must
// never touch the machine's own networking: only a unicast address of one of its networks, other than
// the machine's own addresses, its routes' gateways and the addresses of other hosts it knows, is taken.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/local_addresses.h"

struct TemporaryAddressChoice {
    std::string interfaceName; // where the entry goes; empty when refused
    std::string refusal;       // why the address is refused, for the user
};

// What the machine's networking holds.
struct MachineNetworking {
    std::vector<LocalNetwork> networks; // its own addresses among them
    std::vector<std::array<uint8_t, 4>> gateways;
    std::vector<LocalNeighbour> neighbours;
};

// mac: the device's, as canonicalMac writes it. The network is the one holding bindAddress ("Network bind")
// when that is an address of this machine, otherwise the one whose addresses hold ip.
TemporaryAddressChoice ChooseTemporaryAddress(const std::array<uint8_t, 4>& ip, const std::string& mac,
                                              const std::string& bindAddress,
                                              const MachineNetworking& machine);
