#include "factorytest/multichannel_config/input_calibration_memory.h"

#include "comm/byte_helpers.h"

const std::array<MultiChannelModel, 3>& MultiChannelModels() {
    static const std::array<MultiChannelModel, 3> models{{
        {"JXV4371",
         {{16, "Res 2K"},
          {17, "Res 500"},
          {18, "Pt100"},
          {19, "Pt1000"},
          {20, "Ni100"},
          {21, "Ni1000"},
          {22, "Pot"}}},
        {"JXV4822", {{7, "10 Volt"}, {8, "20 mA"}}},
        {"JXV4215",
         {{1, "mV"},
          {24, "TC J"},
          {25, "TC K"},
          {26, "TC T"},
          {27, "TC E"},
          {28, "TC R"},
          {29, "TC S"},
          {30, "TC B"},
          {31, "TC N"}}},
    }};
    return models;
}

std::string InputTypeText(int code, const char* name) {
    return "Tipo " + std::to_string(code) + " - " + name;
}

std::array<uint8_t, 4> EncodeSlotK(double value) {
    const auto s = FloatToBytes(value);
    return {0, s[2], s[1], s[0]};
}

float DecodeSlotK(std::span<const uint8_t, 4> bytes) {
    return BytesToFloat(bytes[3], bytes[2], bytes[1], bytes[0]);
}

std::array<uint8_t, 6> MeasureRequest(uint8_t slave, const std::array<uint8_t, MeasuredChannels>& types) {
    return {slave, 4, types[0], types[1], types[2], types[3]};
}

std::optional<std::array<int, MeasuredChannels>> DecodeMeasurement(std::span<const uint8_t> answer) {
    constexpr size_t DataBytes = 2 * MeasuredChannels;
    if (answer.size() < 3 + DataBytes || answer[2] != DataBytes) return {};
    std::array<int, MeasuredChannels> readings{};
    for (size_t i = 0; i < MeasuredChannels; ++i)
        readings[i] = BytesToInt(answer[3 + 2 * i], answer[4 + 2 * i], true);
    return readings;
}
