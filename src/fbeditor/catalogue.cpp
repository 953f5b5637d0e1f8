#include "fbeditor/catalogue.h"

namespace {

constexpr uint32_t Green = 0x01FF00, Yellow = 0x00FFFF, Cyan = 0xFFFF00, Orange = 0x80C0FF,
                   LightCyan = 0xFFFF80, Magenta = 0xFF00FF, Red = 0x0000FF;

// Tab, type, opcode, subop, picture, colour per catalogue index.
constexpr std::array<CatalogueEntry, CatalogueSize> Catalogue = {{
    {1, 2, 0, 0, 1, Green},        // 0 Read Input
    {1, 1, 0, 0, 2, Green},        // 1 Write Multiple
    {1, 2, 1, 0, 8, Green},        // 2 Read Device
    {5, 3, 2, 0, 5, Yellow},       // 3 Scale
    {5, 3, 1, 0, 17, Yellow},      // 4 Add
    {5, 3, 1, 1, 18, Yellow},      // 5 Sub
    {6, 3, 3, 0, 7, Orange},       // 6 A>B
    {2, 3, 1, 4, 3, Yellow},       // 7 Move
    {5, 3, 1, 7, 6, Yellow},       // 8 SQRT
    {1, 1, 1, 0, 9, Green},        // 9 Write Device
    {6, 3, 128, 0, 10, Orange},    // 10 Compare
    {7, 3, 130, 0, 11, LightCyan}, // 11 Goto
    {5, 0, 0, 0, 0, LightCyan},    // 12 blank
    {7, 3, 129, 0, 12, LightCyan}, // 13 If(bit) -> Goto
    {7, 3, 131, 0, 13, LightCyan}, // 14 Call
    {7, 3, 132, 0, 14, LightCyan}, // 15 Return
    {8, 3, 134, 0, 15, Magenta},   // 16 Timer
    {2, 0, 0, 0, 0, Yellow},       // 17 placeholder
    {5, 3, 1, 2, 21, Yellow},      // 18 Mult
    {5, 3, 1, 3, 22, Yellow},      // 19 Div
    {6, 3, 137, 0, 20, Orange},    // 20 Trip
    {3, 3, 133, 0, 23, Cyan},      // 21 AND(word)
    {3, 3, 133, 1, 24, Cyan},      // 22 OR(word)
    {3, 3, 133, 2, 25, Cyan},      // 23 XOR(word)
    {3, 3, 133, 3, 26, Cyan},      // 24 NOT
    {4, 3, 133, 4, 27, Cyan},      // 25 Shift R
    {4, 3, 133, 5, 28, Cyan},      // 26 Shift L
    {4, 3, 133, 6, 29, Cyan},      // 27 Rotate R
    {4, 3, 133, 7, 30, Cyan},      // 28 Rotate L
    {5, 3, 1, 5, 31, Yellow},      // 29 Average
    {5, 3, 1, 8, 32, Yellow},      // 30 Linearization
    {1, 2, 0, 0, 33, Green},       // 31 Read/Write
    {5, 3, 1, 9, 34, Yellow},      // 32 ABS
    {3, 3, 133, 8, 35, Cyan},      // 33 AND(bit)
    {3, 3, 133, 9, 36, Cyan},      // 34 OR(bit)
    {3, 3, 133, 10, 37, Cyan},     // 35 XOR(bit)
    {3, 3, 133, 13, 38, Cyan},     // 36 Bit Set
    {3, 3, 133, 14, 39, Cyan},     // 37 Bit Reset
    {5, 3, 1, 10, 40, Yellow},     // 38 e^(x)
    {5, 3, 1, 6, 41, Yellow},      // 39 x^y
    {1, 4, 0, 0, 4, Green},        // 40 Read Holding
    {10, 3, 138, 0, 42, Red},      // 41 Log Write
    {7, 3, 139, 0, 44, LightCyan}, // 42 If(bit) -> Call
    {9, 3, 3, 253, 45, Red},       // 43 Call Page
    {9, 3, 3, 254, 46, Red},       // 44 Display Refresh
    {7, 3, 140, 0, 47, LightCyan}, // 45 Clear WatchDog
    {2, 3, 6, 0, 48, Yellow},      // 46 Block Move
    {6, 3, 141, 0, 49, Orange},    // 47 A = B
    {6, 3, 141, 1, 50, Orange},    // 48 A <> B
    {6, 3, 141, 2, 51, Orange},    // 49 A > B
    {6, 3, 141, 3, 52, Orange},    // 50 A < B
    {6, 3, 141, 4, 53, Orange},    // 51 A >= B
    {6, 3, 141, 5, 54, Orange},    // 52 A <= B
    {6, 3, 141, 6, 55, Orange},    // 53 Limit (Int)
    {6, 3, 141, 7, 56, Orange},    // 54 Limit (Ext)
    {5, 3, 142, 0, 57, Yellow},    // 55 PID
    {3, 3, 133, 11, 58, Cyan},     // 56 POS
    {3, 3, 133, 12, 59, Cyan},     // 57 NEG
    {3, 3, 133, 15, 60, Cyan},     // 58 TOGGLE up
    {3, 3, 133, 16, 61, Cyan},     // 59 TOGGLE down
    {1, 6, 0, 0, 62, Green},       // 60 Read Coils
    {1, 7, 0, 0, 63, Green},       // 61 Write Coils
    {1, 8, 0, 0, 64, Green},       // 62 Write Coil
    {1, 14, 0, 0, 1, Green},       // 63 Read (pointer)
    {1, 15, 0, 0, 2, Green},       // 64 Write (pointer)
    {1, 9, 0, 0, 65, Green},       // 65 Write Single
    {7, 3, 147, 0, 66, LightCyan}, // 66 While < N
    {5, 3, 1, 11, 67, Yellow},     // 67 Min
    {5, 3, 1, 12, 68, Yellow},     // 68 Max
    {},
    {},
}};

using G = Gate;
constexpr Placement CommTab[] = {{40, 0, 0, G::Always},    {0, 0, 1, G::Always},     {65, 1, 0, G::Always},
                                 {1, 1, 1, G::Always},     {60, 2, 0, G::CoilModel}, {61, 2, 1, G::CoilModel},
                                 {62, 2, 2, G::CoilModel}, {2, 3, 0, G::NoBrand3},   {9, 3, 1, G::NoBrand3},
                                 {63, 4, 0, G::Internal},  {64, 4, 1, G::Internal}};
constexpr Placement MoveTab[] = {{7, 0, 0, G::Always}, {46, 0, 1, G::Always}};
constexpr Placement BitwiseTab[] = {{21, 1, 0, G::Always}, {22, 1, 1, G::Always}, {23, 1, 2, G::Always},
                                    {33, 0, 0, G::Always}, {34, 0, 1, G::Always}, {35, 0, 2, G::Always},
                                    {24, 2, 0, G::Always}, {36, 2, 1, G::Always}, {37, 2, 2, G::Always},
                                    {56, 3, 0, G::Always}, {57, 3, 1, G::Always}, {58, 4, 0, G::Always},
                                    {59, 4, 1, G::Always}};
constexpr Placement ShiftTab[] = {
    {25, 0, 0, G::Always}, {26, 0, 1, G::Always}, {27, 1, 0, G::Always}, {28, 1, 1, G::Always}};
constexpr Placement FlowTab[] = {{11, 0, 0, G::Always}, {13, 0, 1, G::Always}, {14, 0, 2, G::Always},
                                 {15, 1, 0, G::Always}, {42, 1, 1, G::Always}, {45, 1, 2, G::Always},
                                 {66, 2, 0, G::Always}};
constexpr Placement MathTab[] = {{4, 0, 0, G::Always},  {5, 0, 1, G::Always},  {18, 0, 2, G::Always},
                                 {19, 1, 0, G::Always}, {3, 1, 1, G::Always},  {8, 1, 2, G::Always},
                                 {29, 2, 0, G::Always}, {30, 2, 1, G::Always}, {32, 2, 2, G::Always},
                                 {38, 3, 0, G::Always}, {39, 3, 1, G::Always}, {55, 3, 2, G::Always},
                                 {67, 4, 0, G::Always}, {68, 4, 1, G::Always}};
constexpr Placement CompTab[] = {{47, 0, 0, G::Always}, {48, 0, 1, G::Always}, {49, 0, 2, G::Always},
                                 {50, 1, 0, G::Always}, {51, 1, 1, G::Always}, {52, 1, 2, G::Always},
                                 {53, 2, 0, G::Always}, {54, 2, 1, G::Always}, {20, 2, 2, G::Always}};
constexpr Placement TimersTab[] = {{16, 0, 0, G::Always}};
constexpr Placement LoggerTab[] = {{41, 0, 0, G::Always}};
constexpr Placement DisplayTab[] = {{43, 0, 0, G::Always}};

struct TabLayout {
    std::string_view Caption;
    std::span<const Placement> Entries;
};
// In the order the captions are compared.
constexpr TabLayout Layouts[] = {{"Comm", CommTab},      {"Move", MoveTab},     {"Bitwise", BitwiseTab},
                                 {"Shift", ShiftTab},    {"Flow", FlowTab},     {"Math", MathTab},
                                 {"Comp", CompTab},      {"Timers", TimersTab}, {"Logger", LoggerTab},
                                 {"Display", DisplayTab}};

// Catalogue index per subop of opcode 1, 133 and 141.
constexpr uint8_t Opcode1[] = {4, 5, 18, 19, 7, 29, 39, 8, 30, 32, 38, 67, 68};
constexpr uint8_t Opcode133[] = {21, 22, 23, 24, 25, 26, 27, 28, 33, 34, 35, 56, 57, 36, 37, 58, 59};
constexpr uint8_t Opcode141[] = {47, 48, 49, 50, 51, 52, 53, 54};

template <size_t N> uint8_t bySubop(const uint8_t (&table)[N], uint8_t subop) {
    return subop < N ? table[subop] : 0;
}

uint8_t operation(int opcode, uint8_t subop) {
    switch (opcode) {
    case 1:
        return bySubop(Opcode1, subop);
    case 2:
        return 3;
    case 3:
        return subop == 253 ? 43 : subop == 254 ? 44 : 0;
    case 4:
        return 8;
    case 6:
        return 46;
    case 128:
        return 10;
    case 129:
        return 13;
    case 130:
        return 11;
    case 131:
        return 14;
    case 132:
        return 15;
    case 133:
        return bySubop(Opcode133, subop);
    case 134:
        return 16;
    case 137:
        return 20;
    case 138:
        return 41;
    case 139:
        return 42;
    case 140:
        return 45;
    case 141:
        return bySubop(Opcode141, subop);
    case 142:
        return 55;
    case 147:
        return subop == 0 ? 66 : 0;
    default:
        return 0;
    }
}

} // namespace

const CatalogueEntry& catalogueEntry(int index) {
    static constexpr CatalogueEntry none{};
    return index >= 0 && index < CatalogueSize ? Catalogue[static_cast<size_t>(index)] : none;
}

std::span<const Placement> tabPlacements(std::string_view caption) {
    for (const TabLayout& t : Layouts)
        if (t.Caption == caption) return t.Entries;
    return {};
}

bool gateOpen(Gate g, std::string_view modelCode, int16_t buildBrand3, int16_t buildInternal) {
    switch (g) {
    case Gate::Always:
        return true;
    case Gate::CoilModel:
        return modelCode == "88D0";
    case Gate::NoBrand3:
        return buildBrand3 == 0;
    case Gate::Internal:
        return buildInternal != 0;
    }
    return false;
}

uint8_t FunzToOpt(int type, int opcode, uint8_t subop) {
    switch (type) {
    case 1:
        return opcode == 0 ? 1 : opcode == 1 ? 9 : 0;
    case 2:
        return opcode == 0 ? 0 : opcode == 1 ? 2 : 0;
    case 3:
        return operation(opcode, subop);
    case 4:
        return 40;
    case 6:
        return 60;
    case 7:
        return 61;
    case 8:
        return 62;
    case 9:
        return 65;
    case 14:
        return 63;
    case 15:
        return 64;
    default:
        return 0;
    }
}
