#pragma once
// Value types an argument row can carry, by ValueTypeNames code.
#include <cstdint>
#include <string_view>

#include "core/value_type_codes.h"

constexpr uint8_t PointerKindBase = 8; // a pointer form of type k is stored as 8 + k

// The function-block editor offers codes 0..12, named by the shell's ValueTypeNames.
constexpr int EditorValueTypeCount = 13;
constexpr std::string_view PointerPrefix = "Punt->";
