#include "devconfig/type_lists.h"

#include <algorithm>

#include "devconfig/model_entries.h"

namespace {

constexpr TypeEntry TableB[]{{"---", 0},     {"50 mV", 1}, {"100 mV", 2}, {"250 mV", 3},
                             {"1000 mV", 4}, {"Tc J", 8},  {"Tc K", 9},   {"Tc T", 10},
                             {"Tc E", 11},   {"Tc R", 12}, {"Tc S", 13},  {"Tc B", 14},
                             {"Tc N", 15},   {"Res.L", 5}, {"Pt100", 6},  {"Ni100", 7}};
constexpr TypeEntry TableC[]{{"50 mV", 1}, {"100 mV", 2}, {"250 mV", 3}, {"1000 mV", 4},
                             {"Tc J", 14}, {"Tc K", 15},  {"Tc T", 16},  {"Tc E", 17},
                             {"Tc R", 18}, {"Tc S", 19},  {"Tc B", 20},  {"Tc N", 21}};
constexpr TypeEntry TableD[]{{"Res.H", 7}, {"Res.L", 8}, {"Pt100", 23}, {"Ni100", 24},
                             {"Pt1K", 25}, {"Ni1K", 26}, {"Pot.L", 27}, {"Pot.H", 28}};
// "---" goes in first and "Res.L" in front of it, so "---" ends the list.
constexpr TypeEntry TableE[]{{"---", 0, 0},       {"Res.L", 1, 0},   {"Res.H", 2, 1}, {"Pt100", 5, 2},
                             {"Ni100", 6, 3},     {"Pt1K", 7, 4},    {"Ni1K", 8, 5},  {"NTC 1K", 10, 6},
                             {"NTC 3988", 13, 7}, {"NTC 10K", 14, 8}};
constexpr TypeEntry TableF[]{{"10 V", 4}, {"20 mA", 6}};
constexpr TypeEntry AnalogFamily[]{{"---", 0},   {"100 mV", 1}, {"10 V", 2},   {"20 mA", 3},  {"Tc J", 4},
                                   {"Tc K", 5},  {"Tc T", 8},   {"Tc E", 10},  {"Tc R", 6},   {"Tc S", 7},
                                   {"Tc B", 9},  {"Tc N", 11},  {"Res H", 18}, {"Res L", 12}, {"Pt100", 13},
                                   {"Pt1K", 14}, {"Ni100", 15}, {"Ni1K", 16},  {"Pot", 17}};
// Position equals code, so a second input's code picks its entry by position too.
constexpr TypeEntry SecondInput[]{{"---", 0}, {"---", 1}, {"10 V", 2}, {"20 mA", 3}};
constexpr TypeEntry ControllerInput[]{{"---", 0},    {"100 mV", 1}, {"10 V", 2},  {"20 mA", 3},  {"Tc J", 4},
                                      {"Tc K", 5},   {"Tc R", 6},   {"Tc S", 7},  {"Tc T", 8},   {"Tc B", 9},
                                      {"Tc E", 10},  {"Tc N", 11},  {"ResL", 12}, {"Pt100", 13}, {"Pt1K", 14},
                                      {"Ni100", 15}, {"Ni1K", 16},  {"Pot", 17},  {"ResH", 18}};
constexpr TypeEntry DisplayInput[]{{"---", 0},    {"100 mV", 1}, {"10 V", 2},   {"20 mA", 3},  {"Tc J", 4},
                                   {"Tc K", 5},   {"Tc R", 6},   {"Tc S", 7},   {"Tc T", 8},   {"Tc B", 9},
                                   {"Tc E", 10},  {"Tc N", 11},  {"Res L", 12}, {"Pt100", 13}, {"Pt1K", 14},
                                   {"Ni100", 15}, {"Ni1K", 16},  {"Pot", 17},   {"Res H", 18}};
constexpr TypeEntry Current[]{{"Disabled", 0}, {"20 mA", 3}};
constexpr TypeEntry Voltage[]{{"Disabled", 0}, {"10 V", 2}};
constexpr TypeEntry Resistance[]{{"Disabled", 0}, {"Res_500", 12}, {"Pt100", 13}, {"Pt1K", 14},
                                 {"Ni100", 15},   {"Ni1K", 16},    {"Res_2K", 18}};
constexpr TypeEntry ResistancePot[]{{"Disabled", 0}, {"Res_500", 12}, {"Pt100", 13}, {"Pt1K", 14},
                                    {"Ni100", 15},   {"Ni1K", 16},    {"Pot", 17},   {"Res_2K", 18}};
constexpr TypeEntry Thermocouple[]{{"Disabled", 0}, {"250 mV", 1}, {"Tc J", 4}, {"Tc K", 5},  {"Tc R", 6},
                                   {"Tc S", 7},     {"Tc T", 8},   {"Tc B", 9}, {"Tc E", 10}, {"Tc N", 11}};

constexpr std::array<TypeList, 8> rows(TypeList list, int n) {
    std::array<TypeList, 8> r{};
    for (int k = 0; k < n; ++k)
        r[static_cast<size_t>(k)] = list;
    return r;
}
constexpr std::array<TypeList, 8> firstAndSecond(TypeList first) {
    return {first, SecondInput};
}
constexpr std::array<TypeList, 8> Alternating{Current, Voltage, Current, Voltage,
                                              Current, Voltage, Current, Voltage};

constexpr uint16_t Plain = AiType | AiLabel | AiValue;
constexpr AiLook Calibrated(uint8_t rows) {
    return {AiType | AiZeroSpan, AiEnable | AiLabel | AiBreak | AiValue | AiSync, rows,
            HeadEn | HeadBr | HeadSync | ButtonSync};
}
constexpr AiLook WithOffset{0, AiType | AiZeroSpan | AiOffset | AiLabel | AiValue | AiBreak | AiSync, 8,
                            HeadSync | HeadOffset | HeadBr | ButtonWrite | ButtonSync};

using namespace entry;
// The two single-write models get the tab's write button, which runs their type write.
constexpr ModelTypes Models[]{
    {JXV7243, rows(TableC, 8), Preselect::None, true, Calibrated(4)},
    {JXV7711, rows(TableC, 8), Preselect::None, true, Calibrated(8)},
    {JXV7711P, rows(TableB, 8), Preselect::None, true, WithOffset},
    {JXV7734, rows(TableD, 8), Preselect::None, true, Calibrated(4)},
    {JXV7174, rows(TableE, 8), Preselect::None, true, WithOffset},
    {JXV7924, rows(TableF, 8), Preselect::None, true, Calibrated(4)},
    {JXV7650, rows(TableF, 8), Preselect::None, true, Calibrated(8)},
    {JXV7593, firstAndSecond(AnalogFamily), Preselect::None, true, {0, Plain, 2, 0}},
    {KELMO7593, rows(AnalogFamily, 8), Preselect::None, false, {0, Plain, 8, 0}},
    {EightChannelVariant, rows(AnalogFamily, 8), Preselect::None, true, {0, Plain, 8, ButtonWrite}},
    {JXV8250, firstAndSecond(ControllerInput), Preselect::None, true, {0, Plain, 2, 0}},
    {JXV8250DL, firstAndSecond(ControllerInput), Preselect::None, true, {0, Plain, 2, 0}},
    {JXV8250USB, firstAndSecond(ControllerInput), Preselect::None, true, {0, Plain, 2, 0}},
    {JXV8480AI, rows(DisplayInput, 1), Preselect::Register34, true, {0, Plain, 1, ButtonWrite}},
    {JXV9322, Alternating, Preselect::First, true, {0, Plain, 8, 0}},
    {JXV9436I, rows(Current, 8), Preselect::First, true, {0, Plain, 8, 0}},
    {JXV9436V, rows(Voltage, 8), Preselect::First, true, {0, Plain, 8, 0}},
    {JXV9169, rows(Resistance, 8), Preselect::None, true, {0, Plain | AiBreak, 8, 0}},
    {JXV9422, rows(ResistancePot, 4), Preselect::None, true, {0, Plain | AiBreak, 4, 0}},
    {JXV9025, rows(Thermocouple, 8), Preselect::None, true, {0, Plain | AiBreak, 8, 0}},
    {JXV9628, rows(Thermocouple, 4), Preselect::None, true, {0, Plain | AiBreak, 4, 0}},
};

} // namespace

const ModelTypes* TypesOf(int model) {
    for (const auto& m : Models)
        if (m.Entry == model) return &m;
    return nullptr;
}

void TypeRow::AggiungiTipo(const std::string& name, uint8_t code, size_t position) {
    if (position > Items.size()) return;
    Items.insert(Items.begin() + static_cast<long>(position), Item{name, code});
}

void TypeRow::selectCode(uint8_t code) {
    for (size_t j = 0; j < Items.size(); ++j)
        if (Items[j].Code == code) Selected = static_cast<int>(j);
}

const TypeRow::Item* TypeRow::selected() const {
    return Selected >= 0 && Selected < static_cast<int>(Items.size()) ? &Items[static_cast<size_t>(Selected)]
                                                                      : nullptr;
}

void FillTypeRows(TypeRows& rows, const ModelTypes* types) {
    for (size_t k = 0; k < rows.size(); ++k) {
        TypeRow& row = rows[k];
        row = TypeRow{};
        if (!types || types->Lists[k].empty()) continue;
        const TypeList list = types->Lists[k];
        for (size_t i = 0; i < list.size(); ++i)
            row.AggiungiTipo(list[i].Name, list[i].Code,
                             list[i].At < 0 ? i : static_cast<size_t>(list[i].At));
        row.Enabled = types->Enabled;
        if (types->Pre == Preselect::First) row.Selected = 0;
    }
}
