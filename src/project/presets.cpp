#include "project/presets.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace {

constexpr std::string_view DefaultFormat = "%+5.0f";

// One slot of the system set; fields without a value keep what the slot holds.
struct SystemSlot {
    int slot;
    std::optional<int32_t> reg;
    uint8_t type;
    bool defaultFormat;
    std::string_view name;
    bool csvIsName;
};

constexpr std::array<SystemSlot, 9> SystemSlots = {{
    {24, 1024, 0, true, "ddnsSta", false},
    {25, 1025, 0, true, "mailSta", false},
    {26, 1220, 13, false, "storDir", false},
    {28, std::nullopt, 16, false, "Date", false},
    {29, std::nullopt, 17, false, "Time", false},
    {35, 0, 14, false, "Model", true},
    {36, 1, 14, false, "SN", true},
    {37, 2, 14, false, "Site", true},
    {38, 3, 14, false, "Country", true},
}};

constexpr std::array<std::string_view, 5> EnergyNames = {"Ea+[kWh]", "Er+[kvarh]", "Es[kVAh]", "Ea-[kWh]",
                                                         "Er-[kvarh]"};
constexpr std::array<std::string_view, 10> DistortionNames = {"THDU12", "THDU23", "THDU31", "THDV1", "THDV2",
                                                              "THDV3",  "THDI1",  "THDI2",  "THDI3", "THDIn"};
// Harmonic groups: first list index, names per order.
struct HarmonicGroup {
    int first;
    std::array<std::string_view, 4> prefixes;
    int size;
};
constexpr std::array<HarmonicGroup, 3> HarmonicGroups = {{
    {0, {"HI1r", "HI2r", "HI3r", "HInr"}, 4},
    {48, {"HU12r", "HU23r", "HU31r", ""}, 3},
    {84, {"HV1r", "HV2r", "HV3r", ""}, 3},
}};
constexpr int HarmonicOrders = 12; // odd orders 3..25
constexpr int NWCount = 165;

// A numeric energy-meter variable; the CSV name stays unless given.
void setMeter(VariableRecord& v, int32_t reg, uint8_t type, std::string name) {
    v.Register = reg;
    v.ValueType = type;
    v.Format = DefaultFormat;
    v.Name = std::move(name);
}

} // namespace

void SetSystemVar(VariableTable& vars) {
    for (const SystemSlot& s : SystemSlots) {
        VariableRecord& v = vars.Variables[static_cast<size_t>(s.slot)];
        if (s.reg) v.Register = *s.reg;
        v.ValueType = s.type;
        if (s.defaultFormat) v.Format = DefaultFormat;
        v.Name = s.name;
        if (s.csvIsName) v.CsvName = s.name;
    }
}

void SetNWVar(VariableTable& vars) {
    auto& v = vars.Variables;
    v[0].ValueType = 16;
    v[0].Name = "Date";
    v[1].ValueType = 17;
    v[1].Name = "Time";
    size_t n = 2;
    for (int k = 0; k < 5; ++k)
        for (int m = 0; m < 5; ++m)
            setMeter(v[n++], 500 + 10 * k + 2 * m, 2, std::string(EnergyNames[static_cast<size_t>(m)]));
    for (int j = 0; j < 8; ++j) {
        setMeter(v[n], 600 + 2 * j, 2, "EAd[" + std::to_string(j) + "]");
        v[n++].CsvName = "Ea+";
    }
    for (int j = 0; j < 10; ++j)
        setMeter(v[n++], 300 + 2 * j, 4, std::string(DistortionNames[static_cast<size_t>(j)]));
    const size_t harmonics = n;
    for (const HarmonicGroup& g : HarmonicGroups)
        for (int order = 0; order < HarmonicOrders; ++order)
            for (int p = 0; p < g.size; ++p) {
                const int j = g.first + g.size * order + p;
                VariableRecord& r = v[harmonics + static_cast<size_t>(j)];
                setMeter(r, 320 + 2 * j, 4,
                         std::string(g.prefixes[static_cast<size_t>(p)]) + std::to_string(3 + 2 * order));
                r.CsvName = "HARM" + std::to_string(j);
            }
    vars.Count = NWCount;
}

bool presetSystemVariables(VariableTable& vars, UserDialogs& dialogs, int16_t& modified) {
    if (dialogs.messageBox("Overwrite system variables?", MsgButtons::YesNo) != MsgChoice::Yes) return false;
    SetSystemVar(vars);
    modified = -1;
    return true;
}

void presetMeterVariables(VariableTable& vars, int16_t& modified) {
    SetNWVar(vars);
    modified = -1;
}
