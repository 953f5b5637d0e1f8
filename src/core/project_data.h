#pragma once
// The project's variables, strings, text blocks, lookup tables and watch list.
#include <array>
#include <cstdint>
#include <string>

struct VariableRecord {
    int32_t Register = 0;
    uint8_t ValueType = 0; // ValueTypeNames code
    std::string Format;    // "%+5.0f"; the dotted alternate text for string types 13 and 14
    std::string Name;
    int32_t AltRegister = 0;
    int32_t TriggerRegister = 0;
    int16_t Mask = 0;
    int16_t Swap = 0;
    std::string CsvName;
    bool operator==(const VariableRecord&) const = default;
};

struct VariableTable {
    uint8_t Count = 0;
    std::array<VariableRecord, 257> Variables{};
};

struct StringEntry {
    std::string Text;
    bool operator==(const StringEntry&) const = default;
};
using StringTable = std::array<StringEntry, 129>;

struct TextBlock {
    std::string Text; // may span several lines (CR LF inside)
    std::string Name;
    bool operator==(const TextBlock&) const = default;
};
using TextBlockTable = std::array<TextBlock, 33>;

constexpr int MaxLookupTables = 9;
constexpr int MaxTablePoints = 26;

struct LookupTable {
    std::string Name;
    uint8_t PointCount = 0;
    std::array<double, 33> Inputs{};
    std::array<double, 33> Outputs{};
    int16_t PageCount = 0;
    int16_t StartPage = 0;
    bool operator==(const LookupTable&) const = default;
};

// The first point (counted from 1) whose input does not rise above the input before it; 0 when the
// inputs ascend. A Linearization looks its input up between neighbouring points, so its table must ascend.
inline int firstPointNotAscending(const LookupTable& t) {
    const int points = t.PointCount < MaxTablePoints ? t.PointCount : MaxTablePoints;
    for (int i = 1; i < points; ++i)
        if (!(t.Inputs[static_cast<size_t>(i)] > t.Inputs[static_cast<size_t>(i - 1)])) return i + 1;
    return 0;
}

struct LookupTableArray {
    uint8_t Count = 0;
    std::array<LookupTable, MaxLookupTables> Tables{};
};

// Element 0 is the count (at most 100), elements 1..count the watched register numbers.
using WatchList = std::array<int16_t, 101>;
