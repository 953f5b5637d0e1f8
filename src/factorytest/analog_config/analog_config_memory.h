#pragma once
// The analog module's configuration memory (memory access function, byte addresses) and the window
// fields that show it: offsets 0-7 and the CJC offset 8 (signed bytes), cells 9, measurements 10, input
// type codes 11-18, multiplexer bytes 19-26, gains 27-34, enable bytes 35-42, the K constants from 43,
// three bytes each, and firmware version and model tag at 256-257.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

constexpr int ChannelCount = 8;
constexpr uint16_t KAddress = 43;
constexpr uint16_t FirmwareAddress = 256;
constexpr size_t ConfigBytes = 43; // 0..42: what the write buttons send

struct InputTypeItem {
    const char* Text;
    uint8_t Code;
};
// The input type lists, in their order (which is not the code order).
constexpr std::array<InputTypeItem, 20> InputTypes{
    {{"---", 0},    {"100 mV", 1}, {"20 mA", 8}, {"ResL", 17}, {"ResH", 16}, {"Pt100", 18},  {"Pt1K", 19},
     {"Ni100", 20}, {"Ni1K", 21},  {"Pot", 22},  {"Tc J", 24}, {"Tc K", 25}, {"Tc T", 26},   {"Tc E", 27},
     {"Tc R", 28},  {"Tc S", 29},  {"Tc B", 30}, {"Tc N", 31}, {"10 V", 7},  {"KWM6150", 23}}};
// The list position of a code; nothing for a code in no list.
std::optional<int> typePosition(int code);

// The window's configuration fields as typed or shown.
struct AnalogConfigFields {
    std::array<std::string, ChannelCount> txt_Input_offset;
    std::string txt_Input_OffsetCJC = "0";
    std::string txt_nCelle = "4";
    std::string txt_nMisure = "8";
    std::array<int, ChannelCount> cmb_InputType; // list position, -1 none selected
    std::array<std::string, ChannelCount> txt_Input_Type;
    std::array<uint8_t, ChannelCount> Mux{}; // bit b: chk_Mux<b>(c) checked
    std::array<std::string, ChannelCount> txt_guadagno;
    std::array<std::string, ChannelCount> txt_reg;
    std::array<std::string, ChannelCount> txt_Input_K;
    std::string Label7 = "Fw ver = ";
    AnalogConfigFields();
};

// Costante3: an IEEE single without its lowest fraction byte, low byte first (1.0 is 00 80 3F). The
// dropped byte is cut, not rounded.
std::array<uint8_t, 3> EncodeCostante3(double value);
float DecodeCostante3(std::span<const uint8_t, 3> bytes);

// Bytes 0..42 from the fields; nothing when one of them cannot be stored (an offset outside -128..127, a
// byte outside 0..255, a gain that is not two hex digits, a type list with no item selected).
std::optional<std::array<uint8_t, ConfigBytes>> EncodeConfig(const AnalogConfigFields& f);

// One read of the read-all: count bytes at address, of which the first `shown` go to the fields.
struct ConfigRead {
    uint16_t Address;
    uint8_t Count;
    uint8_t Shown;
};
constexpr std::array<ConfigRead, 6> ReadAllPlan{
    {{0, 16, 16}, {16, 16, 16}, {32, 16, 11}, {43, 16, 15}, {58, 9, 9}, {FirmwareAddress, 2, 2}}};
// Puts the bytes read at address into the fields they show.
void ShowConfigBytes(AnalogConfigFields& f, const ConfigRead& read, std::span<const uint8_t> bytes);

// One block of a write button: count bytes from MemoryImage[start] to address.
struct ConfigWrite {
    int32_t Address;
    int32_t Start;
    uint8_t Count;
};
// "Write" (index 0) to the module's own layout; "Write Def" (index 1) into a controller, where bytes
// 9..42 lie from base + 32 (base: the model's program end) and offsets and constants are not written.
std::vector<ConfigWrite> WritePlan(int index, uint16_t base);
