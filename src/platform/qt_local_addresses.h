#pragma once
#include "platform/local_addresses.h"

// LocalAddresses from the system's interface list, in the order the system gives them, and from the
// kernel's route and neighbour tables.
class QtLocalAddresses : public LocalAddresses {
  public:
    std::vector<std::string> ipv4() const override;
    std::vector<LocalNetwork> networks() const override;
    std::vector<std::array<uint8_t, 4>> gateways() const override;
    std::vector<LocalNeighbour> neighbours() const override;
};
