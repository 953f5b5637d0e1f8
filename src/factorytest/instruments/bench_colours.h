#pragma once
// The benches' result colours: red + 256 x green + 65536 x blue.
#include <cstdint>

constexpr uint32_t ColourYellow = 65535;
constexpr uint32_t ColourGreen = 65280;
constexpr uint32_t ColourRed = 255;
constexpr uint32_t ColourBlue = 16711680;
constexpr uint32_t ColourWhite = 16777215;
