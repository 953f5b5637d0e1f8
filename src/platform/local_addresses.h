#pragma once
// The computer's own IPv4 addresses, in a stable order.
#include <string>
#include <vector>

class LocalAddresses {
  public:
    virtual ~LocalAddresses() = default;
    // Addresses of the interfaces that are up and running, loopback excluded; no IPv6.
    virtual std::vector<std::string> ipv4() const = 0;
};
