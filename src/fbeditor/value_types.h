#pragma once
// Value types an argument row can carry, by ValueTypeNames code.
#include <array>
#include <cstdint>
#include <string_view>

enum ValueKind : uint8_t {
    KindUInt = 0,
    KindInt = 1,
    KindULong = 2,
    KindLong = 3,
    KindFloat = 4,
    KindKFlt = 5,
    KindKLong = 6,
    KindTable = 10,
    KindDirect = 11,
    KindSwap = 12,
    PointerKindBase = 8, // a pointer form of type k is stored as 8 + k
};

// Names the function-block editor offers (codes 0..12); fixed texts, the same in every language.
constexpr int EditorValueTypeCount = 13;
constexpr std::array<std::string_view, EditorValueTypeCount> EditorValueTypeNames = {
    "uInt", "Int", "uLong", "Long", "Float", "K_Flt", "K_Long", "Hex", "ASCII", "Bin", "Table", "Direct", "Swap"};
constexpr std::string_view PointerPrefix = "Punt->";
