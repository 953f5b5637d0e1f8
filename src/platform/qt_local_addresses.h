#pragma once
#include "platform/local_addresses.h"

// LocalAddresses from the system's interface list, in the order the system gives them.
class QtLocalAddresses : public LocalAddresses {
  public:
    std::vector<std::string> ipv4() const override;
    std::vector<LocalNetwork> networks() const override;
};
