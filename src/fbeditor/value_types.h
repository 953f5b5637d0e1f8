#pragma once
// Value types an argument row can carry, by ValueTypeNames code.
#include <array>
#include <cstdint>
#include <string_view>

constexpr uint8_t KindUInt = 0;
constexpr uint8_t KindInt = 1;
constexpr uint8_t KindULong = 2;
constexpr uint8_t KindLong = 3;
constexpr uint8_t KindFloat = 4;
constexpr uint8_t KindKFlt = 5;
constexpr uint8_t KindKLong = 6;
constexpr uint8_t KindTable = 10;
constexpr uint8_t KindDirect = 11;
constexpr uint8_t KindSwap = 12;
constexpr uint8_t PointerKindBase = 8; // a pointer form of type k is stored as 8 + k

// Names the function-block editor offers (codes 0..12); fixed texts, the same in every language.
constexpr int EditorValueTypeCount = 13;
constexpr std::array<std::string_view, EditorValueTypeCount> EditorValueTypeNames = {
    "uInt", "Int",   "uLong", "Long",  "Float",  "K_Flt", "K_Long",
    "Hex",  "ASCII", "Bin",   "Table", "Direct", "Swap"};
constexpr std::string_view PointerPrefix = "Punt->";
