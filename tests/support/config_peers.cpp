#include "support/config_peers.h"

namespace {

uint16_t word(const Bytes& b, size_t i) {
    return static_cast<uint16_t>(b[i] << 8 | b[i + 1]);
}

void push16(Bytes& b, uint16_t v) {
    b.push_back(static_cast<uint8_t>(v >> 8));
    b.push_back(static_cast<uint8_t>(v));
}

} // namespace

void ConfigPeers::addMemory(uint8_t node, size_t size) {
    std::lock_guard lock(mutex_);
    memories_[node].resize(size);
}

void ConfigPeers::addRegisters(uint8_t node) {
    std::lock_guard lock(mutex_);
    holdings_[node];
}

void ConfigPeers::addMeasuring(uint8_t node) {
    std::lock_guard lock(mutex_);
    measuring_.insert(node);
}

void ConfigPeers::setShortMeasurement(bool on) {
    std::lock_guard lock(mutex_);
    shortMeasurement_ = on;
}

Bytes ConfigPeers::respond(const Bytes& r) {
    std::lock_guard lock(mutex_);
    if (r.size() < 6) return {};
    if (r[1] == 20 && memories_.contains(r[0])) return memoryAccess(r);
    if (r[1] == 4 && measuring_.contains(r[0])) return measurement(r);
    if ((r[1] == 3 || r[1] == 6) && holdings_.contains(r[0])) return registers(r);
    return {};
}

Bytes ConfigPeers::memoryAccess(const Bytes& r) {
    Bytes& memory = memories_[r[0]];
    const size_t at = word(r, 4), n = r.size() > 6 ? r[6] : 0;
    if (r.size() < 7 || at + n > memory.size()) return {r[0], 0x94, 2};
    if (r[2] == 4 && r.size() == 7 + n) {
        std::copy(r.begin() + 7, r.end(), memory.begin() + static_cast<long>(at));
        return Bytes(r.begin(), r.begin() + 7);
    }
    if (r[2] != 2) return {r[0], 0x94, 1};
    Bytes a{r[0], 20, static_cast<uint8_t>(n)};
    a.insert(a.end(), memory.begin() + static_cast<long>(at), memory.begin() + static_cast<long>(at + n));
    return a;
}

Bytes ConfigPeers::registers(const Bytes& r) {
    auto& table = holdings_[r[0]];
    if (r[1] == 6) {
        table[word(r, 2)] = word(r, 4);
        return Bytes(r.begin(), r.begin() + 6);
    }
    const uint16_t first = word(r, 2), count = word(r, 4);
    if (count < 1 || count > 125) return {r[0], 0x83, 3};
    Bytes a{r[0], 3, static_cast<uint8_t>(2 * count)};
    for (uint16_t i = 0; i < count; ++i)
        push16(a, table[static_cast<uint16_t>(first + i)]);
    return a;
}

Bytes ConfigPeers::measurement(const Bytes& r) const {
    const int readings = shortMeasurement_ ? 1 : 4;
    Bytes a{r[0], 4, static_cast<uint8_t>(2 * readings)};
    for (int i = 0; i < readings; ++i)
        push16(a, static_cast<uint16_t>(r[2 + static_cast<size_t>(i)] * 100 - 1000 * i));
    return a;
}

void ConfigPeers::setMemory(uint8_t node, size_t at, const Bytes& bytes) {
    std::lock_guard lock(mutex_);
    std::copy(bytes.begin(), bytes.end(), memories_.at(node).begin() + static_cast<long>(at));
}

Bytes ConfigPeers::memory(uint8_t node, size_t at, size_t count) const {
    std::lock_guard lock(mutex_);
    const Bytes& m = memories_.at(node);
    return Bytes(m.begin() + static_cast<long>(at), m.begin() + static_cast<long>(at + count));
}

void ConfigPeers::setHolding(uint8_t node, uint16_t reg, uint16_t value) {
    std::lock_guard lock(mutex_);
    holdings_[node][reg] = value;
}

uint16_t ConfigPeers::holding(uint8_t node, uint16_t reg) const {
    std::lock_guard lock(mutex_);
    const auto it = holdings_.find(node);
    if (it == holdings_.end()) return 0;
    const auto v = it->second.find(reg);
    return v == it->second.end() ? 0 : v->second;
}
