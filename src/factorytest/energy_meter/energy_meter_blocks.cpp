#include "factorytest/energy_meter/energy_meter_blocks.h"

#include <cstdio>

#include "comm/byte_helpers.h"

namespace {

constexpr std::array<NamedValue, 5> Energies{{{"Partial Positive Active Energy", 2},
                                              {"Partial Positive Reactive Energy", 1},
                                              {"Partial Apparent Energy", 2},
                                              {"Partial Negative Active Energy", 1},
                                              {"Partial Negative Reactive Energy", 1}}};

constexpr std::array<NamedValue, 10> Distortions{{{"THD U12", 1},
                                                  {"THD U23", 1},
                                                  {"THD U31", 1},
                                                  {"THD V1", 2},
                                                  {"THD V2", 2},
                                                  {"THD V3", 2},
                                                  {"THD I1", 2},
                                                  {"THD I2", 2},
                                                  {"THD I3", 2},
                                                  {"THD In", 2}}};

constexpr std::array<NamedValue, 27> Quantities{{{"Chained Voltage U12", 1},
                                                 {"Chained Voltage U23", 1},
                                                 {"Chained Voltage U31", 1},
                                                 {"Voltage V1", 2},
                                                 {"Voltage V2", 2},
                                                 {"Voltage V3", 2},
                                                 {"Frequency", 2},
                                                 {"Current I1", 2},
                                                 {"Current I2", 2},
                                                 {"Current I3", 2},
                                                 {"Current In", 2},
                                                 {"Active Power", 2},
                                                 {"Reactive Power", 2},
                                                 {"Apparent Power", 2},
                                                 {"Power Factor", 2},
                                                 {"Active Power phase 1", 1},
                                                 {"Active Power phase 2", 1},
                                                 {"Active Power phase 3", 1},
                                                 {"Reactive Power phase 1", 1},
                                                 {"Reactive Power phase 2", 1},
                                                 {"Reactive Power phase 3", 1},
                                                 {"Apparent Power phase 1", 1},
                                                 {"Apparent Power phase 2", 1},
                                                 {"Apparent Power phase 3", 1},
                                                 {"Power Factor phase 1", 1},
                                                 {"Power Factor phase 2", 1},
                                                 {"Power Factor phase 3", 1}}};

std::string hex(unsigned value) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%X", value);
    return buf;
}

} // namespace

const std::array<EnergyMeterBlock, 6>& EnergyMeterBlocks() {
    static const std::array<EnergyMeterBlock, 6> blocks{{{0xC65C, 10, true, Energies, "List1"},
                                                         {0xC950, 10, false, Distortions, "List5"},
                                                         {0xC552, 54, true, Quantities, "List6"},
                                                         {0xC95B, 48, false, {}, "List2"},
                                                         {0xC9D8, 36, false, {}, "List3"},
                                                         {0xCA36, 36, false, {}, "List4"}}};
    return blocks;
}

std::array<uint8_t, 6> BlockRequest(uint8_t slave, const EnergyMeterBlock& block) {
    return {
        slave, 3,          static_cast<uint8_t>(block.Start >> 8), static_cast<uint8_t>(block.Start & 0xFF),
        0,     block.Count};
}

std::optional<std::vector<std::string>> DecodeBlock(const EnergyMeterBlock& block,
                                                    std::span<const uint8_t> answer) {
    const size_t bytes = 2u * block.Count;
    if (answer.size() < 3 + bytes || answer[2] != bytes) return {};
    const auto data = answer.subspan(3);
    std::vector<std::string> rows;
    for (size_t i = 0; i < block.values(); ++i) {
        const size_t width = block.Long ? 4 : 2;
        const auto at = data.subspan(i * width, width);
        const int64_t value =
            block.Long ? BytesToLong(at[0], at[1], at[2], at[3], true) : BytesToInt(at[0], at[1], true);
        std::string row;
        if (i < block.Names.size()) row = block.Names[i].Name + std::string(block.Names[i].Tabs, '\t');
        row += hex(block.Start + static_cast<unsigned>(i * width / 2)) + "\t" + std::to_string(value);
        rows.push_back(std::move(row));
    }
    return rows;
}
