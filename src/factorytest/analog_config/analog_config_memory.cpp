#include "factorytest/analog_config/analog_config_memory.h"

#include <algorithm>
#include <cctype>

#include "comm/byte_helpers.h"
#include "factorytest/fields/field_numbers.h"

namespace {

std::optional<uint8_t> gainByte(std::string text) {
    if (text.size() != 2) return {};
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return HexPairToByte(text);
}

// The channel's field at address, by the layout's ranges.
void showByte(AnalogConfigFields& f, uint16_t address, uint8_t b) {
    const int c = address < 8 ? address : (address - 11) % 8;
    if (address < 8) {
        f.txt_Input_offset[static_cast<size_t>(c)] = signedByteText(b);
    } else if (address == 8) {
        f.txt_Input_OffsetCJC = signedByteText(b);
    } else if (address == 9) {
        f.txt_nCelle = std::to_string(b);
    } else if (address == 10) {
        f.txt_nMisure = std::to_string(b);
    } else if (address < 19) {
        f.txt_Input_Type[static_cast<size_t>(c)] = std::to_string(b);
        f.cmb_InputType[static_cast<size_t>(c)] = typePosition(b).value_or(0);
    } else if (address < 27) {
        f.Mux[static_cast<size_t>(c)] = b;
    } else if (address < 35) {
        f.txt_guadagno[static_cast<size_t>(c)] = ByteToHex(b);
    } else if (address < 43) {
        f.txt_reg[static_cast<size_t>(c)] = std::to_string(b);
    }
}

} // namespace

std::optional<int> typePosition(int code) {
    for (size_t i = 0; i < InputTypes.size(); ++i)
        if (InputTypes[i].Code == code) return static_cast<int>(i);
    return {};
}

AnalogConfigFields::AnalogConfigFields() {
    txt_Input_offset.fill("0");
    cmb_InputType.fill(-1);
    txt_Input_Type.fill("0");
    txt_guadagno.fill("0");
    txt_reg.fill("0");
    txt_Input_K.fill("1");
}

std::array<uint8_t, 3> EncodeCostante3(double value) {
    const auto s = FloatToBytes(value);
    return {s[2], s[1], s[0]};
}

float DecodeCostante3(std::span<const uint8_t, 3> bytes) {
    return BytesToFloat(bytes[2], bytes[1], bytes[0], 0);
}

std::optional<std::array<uint8_t, ConfigBytes>> EncodeConfig(const AnalogConfigFields& f) {
    std::array<uint8_t, ConfigBytes> image{};
    for (size_t c = 0; c < ChannelCount; ++c) {
        const auto offset = signedFieldByte(f.txt_Input_offset[c]);
        const int item = f.cmb_InputType[c];
        const auto gain = gainByte(f.txt_guadagno[c]);
        const auto enable = fieldByte(f.txt_reg[c]);
        if (!offset || item < 0 || item >= static_cast<int>(InputTypes.size()) || !gain || !enable) return {};
        image[c] = *offset;
        image[11 + c] = InputTypes[static_cast<size_t>(item)].Code;
        image[19 + c] = f.Mux[c];
        image[27 + c] = *gain;
        image[35 + c] = *enable;
    }
    const auto cjc = signedFieldByte(f.txt_Input_OffsetCJC);
    const auto cells = fieldByte(f.txt_nCelle);
    const auto measurements = fieldByte(f.txt_nMisure);
    if (!cjc || !cells || !measurements) return {};
    image[8] = *cjc;
    image[9] = *cells;
    image[10] = *measurements;
    return image;
}

void ShowConfigBytes(AnalogConfigFields& f, const ConfigRead& read, std::span<const uint8_t> bytes) {
    const size_t shown = std::min<size_t>(read.Shown, bytes.size());
    if (read.Address == FirmwareAddress) {
        if (shown < 2) return;
        static constexpr std::array<const char*, 3> Tags{"", " [JXV7593]", " [JXV2569]"};
        if (bytes[1] == 0)
            f.Label7 = "Fw ver: NaN";
        else if (bytes[1] < Tags.size())
            f.Label7 = "Fw ver: " + std::to_string(bytes[0]) + Tags[bytes[1]];
        return;
    }
    for (size_t i = 0; i < shown; ++i) {
        const uint16_t address = static_cast<uint16_t>(read.Address + i);
        if (address < KAddress) showByte(f, address, bytes[i]);
        // A constant shows once its three bytes are in.
        const int k = address - KAddress - 2;
        if (address >= KAddress + 2 && i >= 2 && k % 3 == 0 && k / 3 < ChannelCount)
            f.txt_Input_K[static_cast<size_t>(k / 3)] =
                significantText(DecodeCostante3(std::span<const uint8_t, 3>(bytes.data() + i - 2, 3)));
    }
}

std::vector<ConfigWrite> WritePlan(int index, uint16_t base) {
    if (index == 0) return {{0, 0, 16}, {16, 16, 16}, {32, 32, 11}};
    return {{base + 32, 9, 2}, {base + 34, 11, 16}, {base + 50, 27, 16}};
}
