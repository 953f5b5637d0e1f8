#pragma once
// What a device polled with function 4 (registers 0..6) tells of itself, for the serial scan and the
// sub-node scan.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

struct NodeIdentity {
    std::string Version; // bytes 5..8: characters when byte 8 is 'A' or more, else their decimal numbers
    std::string Name;    // bytes 10, 9, 12, 11 as characters
    uint8_t Address = 0; // byte 16, the node address the device reports
};

// The answer as left in RxBuffer (address, function, count, registers); nullopt when it is too short.
std::optional<NodeIdentity> DecodeNodeIdentity(std::span<const uint8_t> answer);

struct CommState;
// The request that polls address a into TxBuffer: a, 4, 0, 0, 0, 7.
void PutIdentityRequest(CommState& comm, uint8_t address);
