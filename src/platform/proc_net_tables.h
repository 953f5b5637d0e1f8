#pragma once
// The kernel's IPv4 route and neighbour tables as /proc/net/route and /proc/net/arp print them.
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/local_addresses.h"

// The gateways of the routes that have one, in table order.
std::vector<std::array<uint8_t, 4>> RouteGateways(std::string_view procNetRoute);
// The entries that hold a link-layer address (flag "complete": any state but failed or incomplete).
std::vector<LocalNeighbour> CompleteNeighbours(std::string_view procNetArp);
