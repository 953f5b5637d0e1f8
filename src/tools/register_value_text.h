#pragma once
// A register value as the register view and the watch window show it, by its value type
// (ValueTypeNames code), and one row of those windows.
#include <cstdint>
#include <string>

#include "core/value_type_codes.h"

struct AppContext;

// The 16-bit forms show the register's word; the 32-bit ones (ULong, Long, Float and their stored
// constants) the value of the register pair as the register table holds it: low word first.
std::string registerValueText(int32_t value, uint8_t valueType);

struct RegisterRow {
    int Register = 0;
    std::string Label; // lbl_reg_ind
    std::string Name;  // lbl_reg_nome
    std::string Value; // lbl_reg_val
    std::string Type;  // lbl_reg_type
};

// Register reg of the register table as a row: label, name, value by its type, type name.
RegisterRow registerRow(const AppContext& ctx, int reg);
