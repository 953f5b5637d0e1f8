#pragma once
// The temporary address of "Search by MAC" and the interface its static entry goes on. The entry must
// never touch the machine's own networking: only a unicast address of one of its networks, other than
// the machine's own addresses, is taken.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/local_addresses.h"

struct TemporaryAddressChoice {
    std::string interfaceName; // where the entry goes; empty when refused
    std::string refusal;       // why the address is refused, for the user
};

// The network is the one holding bindAddress ("Network bind") when that is an address of this machine,
// otherwise the one whose addresses hold ip.
TemporaryAddressChoice ChooseTemporaryAddress(const std::array<uint8_t, 4>& ip,
                                              const std::string& bindAddress,
                                              const std::vector<LocalNetwork>& networks);
