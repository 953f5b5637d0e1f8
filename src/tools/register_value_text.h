#pragma once
// A register value as the register view shows it, by its value type (ValueTypeNames code).
#include <cstdint>
#include <string>

std::string registerValueText(int32_t value, uint8_t valueType);
