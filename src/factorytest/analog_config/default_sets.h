#pragma once
// The nine default configurations of the set buttons (JXV 7593, KELMO 4751, JXV 7209, JXV 2569,
// JXV 7593-TCRTD): they fill the configuration fields and the slave address, send nothing, and leave
// the K frame alone.
#include <array>
#include <cstdint>
#include <string>

#include "factorytest/analog_config/analog_config_memory.h"

constexpr int DefaultSetCount = 9;

struct DefaultSet {
    uint8_t Slave;
    uint8_t Cells;
    uint8_t Measurements;
    std::array<uint8_t, ChannelCount> Types;
    std::array<uint8_t, ChannelCount> Mux;
    std::array<uint8_t, ChannelCount> Gains;
    std::array<uint8_t, ChannelCount> Enables;
};

// The button's frame and caption, by index.
struct DefaultSetButton {
    const char* Frame;
    const char* Caption;
};
constexpr std::array<DefaultSetButton, DefaultSetCount> DefaultSetButtons{{{"JXV 7593", "Set 0"},
                                                                           {"JXV 7593", "Set 1"},
                                                                           {"KELMO 4751", "Set 0"},
                                                                           {"KELMO 4751", "Set 1"},
                                                                           {"JXV 7209", "Set 0"},
                                                                           {"JXV 7209", "Set 1"},
                                                                           {"JXV 2569", "Set 0"},
                                                                           {"JXV 7593-TCRTD", "Set 0"},
                                                                           {"JXV 7593-TCRTD", "Set 1"}}};

extern const std::array<DefaultSet, DefaultSetCount> DefaultSets;

// Every configuration field and the slave address from set k; each channel's list shows its code.
void ApplyDefaultSet(int k, AnalogConfigFields& f, std::string& slave);
