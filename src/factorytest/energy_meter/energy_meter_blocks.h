#pragma once
// The six holding-register blocks of the three-phase energy meter (function 3), and the row texts of
// their values: raw signed numbers beside their register in hex, with a name for blocks 1 to 3.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

struct NamedValue {
    const char* Name;
    uint8_t Tabs; // TAB characters after the name, so the registers line up
};

struct EnergyMeterBlock {
    uint16_t Start;
    uint8_t Count;                     // registers
    bool Long;                         // 32-bit values of two registers, high half first
    std::span<const NamedValue> Names; // empty: unlabelled registers
    const char* List;                  // the list that shows it
    size_t values() const { return Long ? Count / 2u : Count; }
};

const std::array<EnergyMeterBlock, 6>& EnergyMeterBlocks();

// The request of a block.
std::array<uint8_t, 6> BlockRequest(uint8_t slave, const EnergyMeterBlock& block);
// The block's row texts from a function-3 answer (address, function, byte count, data); nothing when
// the answer does not carry exactly the block's registers.
std::optional<std::vector<std::string>> DecodeBlock(const EnergyMeterBlock& block,
                                                    std::span<const uint8_t> answer);
