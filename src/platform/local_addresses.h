#pragma once
// The computer's own IPv4 addresses, in a stable order.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

// One IPv4 address of an interface, with the mask of its network.
struct LocalNetwork {
    std::string interfaceName;
    std::array<uint8_t, 4> address{};
    std::array<uint8_t, 4> mask{};
    bool up = false;       // up and running
    bool loopback = false; // the machine's own loopback
};

// An IPv4 entry of the machine's neighbour table that holds a link-layer address (any state but failed
// or incomplete).
struct LocalNeighbour {
    std::array<uint8_t, 4> address{};
    std::string linkAddress; // "02:1A:2B:3C:4D:5E", upper case
    std::string interfaceName;
};

class LocalAddresses {
  public:
    virtual ~LocalAddresses() = default;
    // Addresses of the interfaces that are up and running, loopback excluded; no IPv6.
    virtual std::vector<std::string> ipv4() const = 0;
    // Every IPv4 address of every interface, loopback and interfaces that are down included; none known
    // unless the source tells them.
    virtual std::vector<LocalNetwork> networks() const { return {}; }
    // The gateways of the machine's IPv4 routes; none known unless the source tells them.
    virtual std::vector<std::array<uint8_t, 4>> gateways() const { return {}; }
    // The IPv4 neighbours the machine knows a link-layer address of; none known unless the source tells.
    virtual std::vector<LocalNeighbour> neighbours() const { return {}; }
};
