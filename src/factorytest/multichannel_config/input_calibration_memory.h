#pragma once
// The calibration memory of the four-channel input modules: a signed zero offset per slot at 0-15 (slot
// k: channel k / 4, range k % 4 of mV, resistance, volt, mA), six signed CJC offsets at 16-21 and a K per
// slot at 22 + 4k, an IEEE single low byte first whose lowest byte is written as 0. And the measurement:
// a function-4 request carrying the four channels' type codes where a read names its registers.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

constexpr int SlotCount = 16;
constexpr int CjcCount = 6;
constexpr int MeasuredChannels = 4;
constexpr uint16_t CjcAddress = 16;
constexpr uint16_t SlotKAddress = 22;

constexpr std::array<const char*, SlotCount> SlotHeads{
    "# 0 - mV", "# 0 - Res", "# 0 - Volt", "# 0 - mA", "# 1 - mV", "# 1 - Res", "# 1 - V", "# 1 - mA",
    "# 2 - mV", "# 2 - Res", "# 2 - V",    "# 2 - mA", "# 3 - mV", "# 3 - Res", "# 3 - V", "# 3 - mA"};

struct MultiChannelModel {
    const char* Name;
    std::vector<std::pair<int, const char*>> Types; // code, name
};
// The three models of the family and their input types, in list order.
const std::array<MultiChannelModel, 3>& MultiChannelModels();
// "Tipo 16 - Res 2K".
std::string InputTypeText(int code, const char* name);

// The four bytes of a K at 22 + 4k: 0, then the single's bytes from the second lowest up.
std::array<uint8_t, 4> EncodeSlotK(double value);
float DecodeSlotK(std::span<const uint8_t, 4> bytes);

// The request bytes for the channels' type codes.
std::array<uint8_t, 6> MeasureRequest(uint8_t slave, const std::array<uint8_t, MeasuredChannels>& types);
// The four signed readings of an answer; nothing when it does not carry exactly eight data bytes.
std::optional<std::array<int, MeasuredChannels>> DecodeMeasurement(std::span<const uint8_t> answer);
