#pragma once
// A register value as the register view and the watch window show it, by its value type
// (ValueTypeNames code), and one row of those windows.
#include <cstdint>
#include <string>

struct AppContext;

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
