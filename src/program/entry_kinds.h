#pragma once
// The rung kinds (FunctionType) that the controller's rung table knows.
#include <cstdint>

constexpr bool isDeviceAccessKind(uint16_t k) { return k == 1 || k == 2 || k == 4 || (k >= 6 && k <= 9); }
constexpr bool isPointerKind(uint16_t k) { return k == 11 || k == 12 || k == 14; }
constexpr uint16_t OperationKind = 3;
// Kinds 0, 5, 10, 13, 15 and every other value compile to nothing.
constexpr bool producesEntry(uint16_t k) { return isDeviceAccessKind(k) || isPointerKind(k) || k == OperationKind; }
