#pragma once
// The four bench models, their check lists and the step parameters of every measurement row.
#include <array>
#include <cstdint>

constexpr int BenchRowCount = 18;
constexpr int BenchModelCount = 4;

struct BenchModelInfo {
    const char* ListText;
    uint8_t ModuleNode;
    int16_t LinkPort;  // COM number of the module's link
    int NameEntry;     // ModelNames entry given to the link as its device name
    const char* ImageFile; // EEPROM image, in the program's folder
};

inline constexpr std::array<BenchModelInfo, BenchModelCount> BenchModels{{
    {"JXV7593", 1, 7, 9, "Eprom_7593.hex"},
    {"KELMO4751", 1, 7, 9, "epromKELMO4751.hex"},
    {"JXV7593-TCRTD", 1, 7, 9, "Eprom_7593-TCRTD.hex"},
    {"JXV2569", 255, 5, 25, "Eprom_2569.hex"},
}};

struct CheckRow {
    const char* Caption;
    bool Ticked;
};

inline constexpr std::array<std::array<CheckRow, BenchRowCount>, BenchModelCount> CheckLists{{
    {{{"Eprom", 1}, {"#0 - 100 mV", 1}, {"#0 - Res L", 1}, {"#0 - Res H", 1}, {"#0 - Pot", 1}, {"#0 - 10 V", 1},
      {"#0 - 20 mA", 1}, {"#0 - CJC", 1}, {"#1 - 10 V", 1}, {"#1 - 20 mA", 1}, {"#1 - CJC", 0}, {"OUT - Vaux", 1},
      {"OUT 0", 1}, {"OUT 1", 1}, {"Dig IN", 1}, {"Dig OUT", 1}, {"----", 0}, {"Set K -> 1", 1}}},
    {{{"Eprom", 1}, {"#0 - Res L", 1}, {"#0 - Res L", 1}, {"#0 - 20 mA", 1}, {"#0 - 20 mA", 1}, {"", 0}, {"", 0},
      {"", 0}, {"#1 - 100 mV", 1}, {"#1 - 10 V", 1}, {"#1 - CJC", 1}, {"", 0}, {"", 0}, {"", 0}, {"Dig IN", 1},
      {"Dig OUT", 1}, {"Prog. Inputs", 1}, {"Set K -> 1", 1}}},
    {{{"Eprom", 1}, {"#0 - Res L", 1}, {"#0 - Res L", 1}, {"#0 - Res L", 1}, {"#0 - Res L", 1},
      {"#0 - 100 mV", 1}, {"#0 - 100 mV", 1}, {"#0 - CJC", 1}, {"#1 - 100 mV", 1}, {"#1 - 100 mV", 1},
      {"#1 - CJC", 1}, {"OUT - Vaux", 1}, {"OUT 0", 1}, {"OUT 1", 1}, {"Dig IN", 1}, {"Dig OUT", 1}, {"----", 0},
      {"", 0}}},
    {{{"Eprom", 1}, {"100 mV", 1}, {"Res L", 1}, {"", 0}, {"Pot", 1}, {"10 V", 1}, {"20 mA", 1}, {"CJC", 1},
      {"", 0}, {"", 0}, {"", 0}, {"OUT - Vaux", 1}, {"OUT - mA", 1}, {"OUT - V", 1}, {"", 0}, {"Dig OUT", 1},
      {"----", 0}, {"Set K -> 1", 0}}},
}};

// Which result labels a row has.
struct RowLabels {
    bool Zero, Half, Span, K, KZeroSpan, Span2;
};
constexpr RowLabels LabelsOfRow(int row) {
    const bool zero = (row >= 1 && row <= 10) || (row >= 12 && row <= 16);
    const bool three = (row >= 1 && row <= 6) || row == 8 || row == 9 || (row >= 12 && row <= 15);
    return {zero, three, three, row >= 1 && row <= 11, row == 12 || row == 13, row == 13};
}

// What a row runs after its parameters are set.
enum class RowProcs : uint8_t {
    Input,  // PreparaStrumenti, CalibraIngresso, MisuraTrePunti
    Pot,    // the same between the operator's "Chiudere Switch Pot" and "Aprire Switch Pot"
    Cjc,    // PreparaStrumenti, CalibraCJC, MisuraCJC
    Vaux,   // PreparaStrumenti, MisuraK
    Output, // PreparaStrumenti, CalibraUscita, MisuraTrePunti
    DigIn,  // VerificaUscita only
    DigOut, // VerificaUscita2 only
};

constexpr int Keep = -1;         // the row keeps the value the previous row left
constexpr double CalFromTamb = -1e9; // the row's calibration value is the calibrator's reference temperature

struct RowParams {
    int Row;
    int CalNode, MeasureRegister, InputChannel, RelayGroup, RelayOffset, ConstIndex, StepCode;
    double ZeroPoint, HalfPoint, SpanPoint, CalValue;
    int ScaleDivisor;
    double Tolerance;
    RowProcs Procs;
    double CalOffset = 0;
};

inline constexpr RowParams DigInRow{14, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, RowProcs::DigIn};
inline constexpr RowParams DigOutRow{15, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, RowProcs::DigOut};

inline constexpr std::array<RowParams, 15> Rows7593{{
    {1, 247, 26, 0, 0, 1, 0, 1, 0, 50, 100, 100, 100, 0.05, RowProcs::Input},
    {2, 247, 26, 0, 0, 1, 1, 12, 0, 100, 300, 300, 10, 0.2, RowProcs::Input},
    {3, 247, 26, 0, 0, 1, 5, 18, 0, 500, 1000, 1000, 1, 2, RowProcs::Input},
    {4, 247, 26, 0, 1, 1, 2, 17, 0, 1700, 5000, 500, 10, 1, RowProcs::Input},
    {5, 247, 26, 0, 2, 0, 3, 2, 0, 5000, 10000, 10000, 1, 10, RowProcs::Input},
    {6, 247, 26, 0, 2, 1, 4, 3, 0, 10000, 20000, 20000, 1, 10, RowProcs::Input},
    {7, 247, 26, 0, 0, 1, 0, 5, 0, 50, 100, 0, 10, 0.6, RowProcs::Cjc},
    {8, 246, 27, 1, 3, 0, 3, 2, 0, 5000, 10000, 10000, 1, 10, RowProcs::Input},
    {9, 246, 27, 1, 3, 1, 4, 3, 0, 10000, 20000, 20000, 1, 10, RowProcs::Input},
    {10, 247, 27, 0, 1, 1, 0, 5, 0, 50, 100, CalFromTamb, 10, 0.6, RowProcs::Cjc},
    {11, Keep, Keep, Keep, 0, Keep, Keep, 254, 0, 10000, 20000, 14.5, 1000, 0.5, RowProcs::Vaux},
    {12, Keep, 32, Keep, 0, Keep, Keep, 253, 0, 10, 20, 20000, 1000, 0.01, RowProcs::Output},
    {13, Keep, 33, Keep, 1, Keep, Keep, 253, 0, 10, 20, 20000, 1000, 0.01, RowProcs::Output},
    DigInRow,
    DigOutRow,
}};

inline constexpr std::array<RowParams, 9> Rows4751{{
    {1, 247, 26, 0, 0, 0, 0, 12, 0, 100, 300, 300, 10, 0.3, RowProcs::Input},
    {2, 247, 27, 1, 1, 0, 1, 12, 0, 100, 300, 300, 10, 0.3, RowProcs::Input},
    {3, 247, 30, 0, 2, 0, 2, 3, 0, 10000, 20000, 20000, 1, 10, RowProcs::Input},
    {4, 247, 31, 0, 2, 1, 3, 3, 0, 10000, 20000, 20000, 1, 10, RowProcs::Input},
    {8, 246, 28, 1, 3, 0, 0, 1, 0, 50, 100, 100, 100, 0.05, RowProcs::Input},
    {9, 246, 29, 1, 3, 1, 1, 2, 0, 5000, 10000, 10000, 1, 10, RowProcs::Input},
    {10, 246, 28, 0, 3, 0, 0, 5, 0, 50, 100, 0, 10, 0.6, RowProcs::Cjc},
    DigInRow,
    DigOutRow,
}};

// Row 6 is captioned "#0 - 100 mV" but runs the current-input set, as the bench has always done.
inline constexpr std::array<RowParams, 15> RowsTCRTD{{
    {1, 247, 34, 0, 0, 0, 0, 12, 0, 100, 300, 300, 10, 0.2, RowProcs::Input, -0.5},
    {2, 247, 35, 1, 0, 1, 1, 12, 0, 100, 300, 300, 10, 0.2, RowProcs::Input, -0.5},
    {3, 247, 36, 2, 1, 0, 2, 12, 0, 100, 300, 300, 10, 0.2, RowProcs::Input, -0.5},
    {4, 247, 37, 3, 1, 1, 3, 12, 0, 100, 300, 300, 10, 0.2, RowProcs::Input, -0.5},
    {5, 247, 38, 4, 2, 0, 4, 1, 0, 50, 100, 100, 100, 0.05, RowProcs::Input},
    {6, 247, 26, 0, 2, 1, 4, 3, 0, 10000, 20000, 20000, 1, 10, RowProcs::Input},
    {7, 247, 38, 4, 2, 0, 4, 5, 0, 50, 100, 0, 10, 0.5, RowProcs::Cjc},
    {8, 246, 40, 7, 3, 0, 0, 1, 0, 50, 100, 100, 100, 0.05, RowProcs::Input},
    {9, 246, 41, 8, 3, 1, 1, 1, 0, 50, 100, 100, 100, 0.05, RowProcs::Input},
    {10, 246, 40, 0, 3, 0, 0, 5, 0, 50, 100, 0, 10, 0.5, RowProcs::Cjc},
    {11, Keep, Keep, Keep, 0, Keep, Keep, 254, 0, 10000, 20000, 14.5, 1000, 0.5, RowProcs::Vaux},
    {12, Keep, 32, Keep, 0, Keep, Keep, 253, 0, 10, 20, 20000, 1000, 0.01, RowProcs::Output},
    {13, Keep, 33, Keep, 1, Keep, Keep, 253, 0, 10, 20, 20000, 1000, 0.01, RowProcs::Output},
    DigInRow,
    DigOutRow,
}};

inline constexpr std::array<RowParams, 8> Rows2569{{
    {1, 246, 26, 0, 0, 1, 0, 1, 0, 50, 100, 100, 100, 0.05, RowProcs::Input},
    {2, 246, 26, 0, 0, 1, 1, 12, 0, 100, 300, 300, 10, 0.2, RowProcs::Input},
    {4, 246, 26, 0, 0, 1, 1, 17, 0, 100, 300, 300, 10, 0.2, RowProcs::Pot},
    {5, 246, 26, 0, 1, 0, 3, 2, 0, 5000, 10000, 10000, 1, 10, RowProcs::Input},
    {6, 246, 26, 0, 1, 1, 4, 3, 0, 10000, 20000, 20000, 1, 10, RowProcs::Input},
    {7, 246, 26, 0, 0, 1, 0, 5, 0, 50, 100, 0, 10, 0.05, RowProcs::Cjc},
    {11, Keep, Keep, Keep, 0, Keep, Keep, 254, 0, 10000, 20000, 18.2, 1000, 0.5, RowProcs::Vaux},
    {12, Keep, 33, Keep, 1, Keep, Keep, 253, 0, 10, 20, 20000, 1000, 0.01, RowProcs::Output},
}};

// Register writes of the JXV2569 "Eprom" row after the image: register 1216 + i := value i.
inline constexpr std::array<uint16_t, 16> Setup2569{1,     0,    4000,  20000, 4000,  20000, 4000, 20000,
                                                    4000,  20000, 4000, 20000, 4000,  20000, 40,   1};
