#pragma once
// Writing values into the program image, bounded by the image.
#include <cstdint>
#include <vector>

// True when length bytes from offset lie inside the image.
inline bool fitsImage(const std::vector<uint8_t>& image, int64_t offset, int64_t length) {
    return offset >= 0 && length >= 0 && offset + length <= static_cast<int64_t>(image.size());
}

// 16-bit value, least significant byte first.
inline void put16(std::vector<uint8_t>& image, size_t at, uint32_t v) {
    image[at] = static_cast<uint8_t>(v);
    image[at + 1] = static_cast<uint8_t>(v >> 8);
}

// 32-bit value, least significant byte first.
inline void put32(std::vector<uint8_t>& image, size_t at, uint32_t v) {
    put16(image, at, v);
    put16(image, at + 2, v >> 16);
}

// A trigger or enable condition: register, then mask, each low byte first. Returns the offset after it.
inline size_t putCondition(std::vector<uint8_t>& image, size_t at, uint16_t reg, uint16_t mask) {
    put16(image, at, reg);
    put16(image, at + 2, mask);
    return at + 4;
}
