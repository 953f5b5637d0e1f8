#include "discovery/node_identity.h"

#include "core/comm_state.h"

namespace {
constexpr size_t AnswerLength = 17; // address, function, count and seven registers
constexpr uint8_t FirstLetter = 0x41;
} // namespace

std::optional<NodeIdentity> DecodeNodeIdentity(std::span<const uint8_t> a) {
    if (a.size() < AnswerLength) return std::nullopt;
    NodeIdentity id;
    for (size_t i = 5; i <= 8; ++i)
        id.Version += a[8] >= FirstLetter ? std::string(1, static_cast<char>(a[i])) : std::to_string(a[i]);
    for (size_t i : {10, 9, 12, 11})
        id.Name += static_cast<char>(a[i]);
    id.Address = a[16];
    return id;
}

void PutIdentityRequest(CommState& comm, uint8_t address) {
    constexpr std::array<uint8_t, 6> request{0, 4, 0, 0, 0, 7};
    std::copy(request.begin(), request.end(), comm.TxBuffer.begin());
    comm.TxBuffer[0] = address;
    comm.TxLength = static_cast<int>(request.size());
}
