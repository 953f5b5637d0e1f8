#pragma once
// What every simulated device reads from a request alike: its big-endian words, and the memory read
// (sub-command 2) and write (4) of function 20 over one memory.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

using Bytes = std::vector<uint8_t>;

inline uint16_t RequestWord(const Bytes& r, size_t i) {
    return static_cast<uint16_t>(r[i] << 8 | r[i + 1]);
}

// The answer to a function 20 read (sub-command readSub) or write (4) of this memory; nothing when the
// request is of another kind or does not fit it.
inline std::optional<Bytes> MemoryAccess(const Bytes& r, std::vector<uint8_t>& memory, uint8_t readSub = 2) {
    if (r.size() < 7 || r[1] != 20 || (r[2] != readSub && r[2] != 4)) return std::nullopt;
    const uint32_t address = static_cast<uint32_t>(r[3] << 16 | r[4] << 8 | r[5]);
    const uint8_t n = r[6];
    if (address + n > memory.size()) return std::nullopt;
    if (r[2] != 4) {
        Bytes a{r[0], 20, n};
        a.insert(a.end(), memory.begin() + address, memory.begin() + address + n);
        return a;
    }
    if (r.size() < 7u + n) return std::nullopt;
    std::copy(r.begin() + 7, r.begin() + 7 + n, memory.begin() + address);
    return Bytes(r.begin(), r.begin() + 7);
}
