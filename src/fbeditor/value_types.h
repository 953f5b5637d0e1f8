#pragma once
// Value types an argument row can carry, by ValueTypeNames code.
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

// The function-block editor offers codes 0..12, named by the shell's ValueTypeNames.
constexpr int EditorValueTypeCount = 13;
constexpr std::string_view PointerPrefix = "Punt->";
