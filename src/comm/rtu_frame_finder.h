#pragma once
// Finds the RTU frames that check in bytes that come in batches, with no frame boundaries known: what the
// line carries while no answer is awaited, where late answers and stray bytes mix. A frame that checks has
// ShortestFrame to LongestFrame bytes, its last two the CRC-16 of the others. Only frames that begin with
// an address and function the caller seeks are looked for (a run of 0xFF and 0x00 bytes, say, checks from
// address 255 with function 255). The memory is fixed; a byte costs one CRC step for each frame begun
// before it and still open, at most LongestFrame.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

#include "comm/byte_helpers.h"

class RtuFrameFinder {
  public:
    static constexpr int ShortestFrame = 5;  // an exception answer: address, function, code, CRC
    static constexpr int LongestFrame = 260; // address, function, byte count, 255 bytes, CRC

    // Takes the next bytes: each two that seeks(address, function) accepts may begin a frame, and
    // found(address) is called for each frame that checks and ends among them.
    void feed(std::span<const uint8_t> bytes, const std::function<bool(uint8_t, uint8_t)>& seeks,
              const std::function<void(uint8_t)>& found);

  private:
    struct Begun {
        Crc16 crc;           // of the frame's bytes up to the third-last byte taken
        uint16_t length = 0; // bytes taken since the address, the address included
        uint8_t address = 0;
    };
    std::array<Begun, LongestFrame> begun_{}; // a ring, the oldest first
    size_t oldest_ = 0, open_ = 0;
    bool anyTaken_ = false;
    uint8_t beforeLast_ = 0, last_ = 0; // the two bytes taken last
};
