#pragma once
// One numeric argument into a 4-byte argument slot of a rung, by value type.
#include <array>
#include <cstdint>

#include "core/command_record.h"

// Trasf: 16-bit values low byte first; 32-bit integers high word first, each word low byte first;
// K_Flt as an IEEE-754 single, least significant byte first. Float and other kinds leave the slot.
// For uInt/Int a negative value is left in the caller's variable plus 65536, for Long plus 2^32.
// Returns false and leaves the slot untouched when the value does not fit its kind or slot is not 0..8.
bool Trasf(double& value, uint8_t kind, CommandRecord& rung, int slot);
// The same with 16-bit and 32-bit integers most significant byte first; K_Flt as Trasf.
bool TrasfSwap(double& value, uint8_t kind, CommandRecord& rung, int slot);

// Nearest integer, halves to the even neighbour.
double nearestInteger(double v);
// The two bytes of a 16-bit value (-32768..65535; negative taken plus 65536), low byte first;
// false when the value does not fit.
bool intToBytes(double v, std::array<uint8_t, 2>& out);
