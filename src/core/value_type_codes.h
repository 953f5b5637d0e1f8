#pragma once
// The value types by their ValueTypeNames code, as registers, variables and arguments carry them.
#include <cstdint>

constexpr uint8_t KindUInt = 0;
constexpr uint8_t KindInt = 1;
constexpr uint8_t KindULong = 2;
constexpr uint8_t KindLong = 3;
constexpr uint8_t KindFloat = 4;
constexpr uint8_t KindKFlt = 5;
constexpr uint8_t KindKLong = 6;
constexpr uint8_t KindHex = 7;
constexpr uint8_t KindAscii = 8;
constexpr uint8_t KindBin = 9;
constexpr uint8_t KindTable = 10;
constexpr uint8_t KindDirect = 11;
constexpr uint8_t KindSwap = 12;
constexpr uint8_t KindStringRam = 13;

// The 32-bit types: a register of one of them starts a pair, low word in it, high word in the next one.
constexpr bool isPairType(uint8_t valueType) {
    return valueType == KindULong || valueType == KindLong || valueType == KindFloat ||
           valueType == KindKFlt || valueType == KindKLong;
}
