#include "factorytest/analog_config/default_sets.h"

#include "comm/byte_helpers.h"

// One row per set: slave, cells, measurements, then per channel the type codes, multiplexer bytes,
// gains and enable bytes.
// clang-format off
const std::array<DefaultSet, DefaultSetCount> DefaultSets{{
    {247, 5, 8, {1, 17, 22, 7, 8, 16, 0, 0}, {2, 3, 12, 16, 32, 3, 0, 0},
     {0x50, 0x51, 0x52, 0x53, 0x54, 0x55, 0x5F, 0x57}, {24, 25, 25, 25, 25, 25, 25, 25}},
    {246, 2, 3, {7, 8, 0, 0, 0, 0, 0, 0}, {1, 2, 0, 0, 0, 0, 0, 0},
     {0x50, 0x51, 0x5F, 0x5F, 0x5F, 0x5F, 0x5F, 0x57}, {24, 25, 25, 25, 25, 25, 25, 25}},
    {247, 4, 8, {18, 18, 8, 8, 0, 0, 0, 0}, {3, 12, 16, 32, 0, 0, 0, 0},
     {0x50, 0x51, 0x52, 0x53, 0x54, 0x55, 0x5F, 0x57}, {24, 25, 26, 27, 25, 25, 25, 25}},
    {246, 2, 3, {1, 1, 0, 0, 0, 0, 0, 0}, {1, 2, 0, 0, 0, 0, 0, 0},
     {0x50, 0x51, 0x5F, 0x5F, 0x5F, 0x5F, 0x5F, 0x57}, {24, 25, 25, 25, 25, 25, 25, 25}},
    {247, 4, 8, {18, 18, 8, 8, 0, 0, 0, 0}, {3, 12, 16, 32, 0, 0, 0, 0},
     {0x50, 0x51, 0x52, 0x53, 0x54, 0x55, 0x5F, 0x57}, {24, 25, 26, 27, 25, 25, 25, 25}},
    {246, 2, 3, {1, 1, 0, 0, 0, 0, 0, 0}, {1, 2, 0, 0, 0, 0, 0, 0},
     {0x20, 0x51, 0x5F, 0x5F, 0x5F, 0x5F, 0x5F, 0x57}, {24, 25, 25, 25, 25, 25, 25, 25}},
    {246, 5, 8, {1, 0, 0, 0, 0, 0, 0, 0}, {2, 3, 3, 8, 16, 0, 0, 0},
     {0x5F, 0x51, 0x5F, 0x5F, 0x5F, 0x5F, 0x5F, 0x57}, {24, 25, 25, 25, 25, 25, 25, 25}},
    {247, 6, 8, {18, 18, 18, 18, 24, 24, 0, 0}, {1, 2, 4, 8, 16, 32, 0, 0},
     {0x50, 0x51, 0x52, 0x53, 0x54, 0x55, 0x5F, 0x57}, {24, 25, 26, 27, 28, 29, 30, 31}},
    {246, 2, 3, {24, 24, 0, 0, 0, 0, 0, 0}, {1, 2, 0, 0, 0, 0, 0, 0},
     {0x50, 0x51, 0x5F, 0x5F, 0x5F, 0x5F, 0x5F, 0x57}, {24, 25, 25, 25, 25, 25, 25, 25}},
}};
// clang-format on

// Every field a set fills is named by the set, so the base values never show through.
void ApplyDefaultSet(int k, AnalogConfigFields& f, std::string& slave) {
    if (k < 0 || k >= DefaultSetCount) return;
    const DefaultSet& s = DefaultSets[static_cast<size_t>(k)];
    slave = std::to_string(s.Slave);
    f.txt_nCelle = std::to_string(s.Cells);
    f.txt_nMisure = std::to_string(s.Measurements);
    f.txt_Input_OffsetCJC = "0";
    for (size_t c = 0; c < ChannelCount; ++c) {
        f.txt_Input_offset[c] = "0";
        f.txt_Input_Type[c] = std::to_string(s.Types[c]);
        f.cmb_InputType[c] = typePosition(s.Types[c]).value_or(f.cmb_InputType[c]);
        f.Mux[c] = s.Mux[c];
        f.txt_guadagno[c] = ByteToHex(s.Gains[c]);
        f.txt_reg[c] = std::to_string(s.Enables[c]);
    }
}
