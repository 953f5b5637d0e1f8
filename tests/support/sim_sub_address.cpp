// Sub-addresses of the simulated module: memory reads and writes only, and only while register 17
// opens them (its high or low byte equal to the sub-address).
#include "support/sim_controller.h"

namespace {

constexpr size_t SubMemorySize = 512; // the analog module keeps its firmware version at 256
constexpr uint16_t SubAddressRegister = 17;

} // namespace

void SimController::answerSubAddress(uint8_t address) {
    std::lock_guard lock(mutex_);
    subMemory_[address].resize(SubMemorySize);
}

void SimController::setSubMemory(uint8_t address, uint32_t at, const Bytes& bytes) {
    std::lock_guard lock(mutex_);
    auto& memory = subMemory_.at(address);
    std::copy(bytes.begin(), bytes.end(), memory.begin() + at);
}

Bytes SimController::subMemory(uint8_t address, uint32_t at, size_t count) const {
    std::lock_guard lock(mutex_);
    const auto& memory = subMemory_.at(address);
    return Bytes(memory.begin() + at, memory.begin() + static_cast<long>(at + count));
}

Bytes SimController::executeSubAddress(const Bytes& r) {
    std::lock_guard lock(mutex_);
    const auto it = subMemory_.find(r[0]);
    const uint16_t open = holding_[SubAddressRegister];
    if (it == subMemory_.end() || (open >> 8 != r[0] && (open & 0xFF) != r[0])) return {};
    if (r.size() < 7 || r[1] != 20) return {};
    auto& memory = it->second;
    const uint32_t address = static_cast<uint32_t>(r[3] << 16 | r[4] << 8 | r[5]);
    const uint8_t n = r[6];
    if (address + n > memory.size()) return {};
    if (r[2] == 2) {
        Bytes a{r[0], 20, n};
        a.insert(a.end(), memory.begin() + address, memory.begin() + address + n);
        return a;
    }
    if (r[2] != 4 || r.size() < 7u + n) return {};
    std::copy(r.begin() + 7, r.begin() + 7 + n, memory.begin() + address);
    return Bytes(r.begin(), r.begin() + 7);
}
