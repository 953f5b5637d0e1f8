#pragma once
// What this build is: its brand and which internal menus it shows. -1 true, 0 false.
#include <cstdint>

constexpr int16_t BuildInternal = 0;
constexpr int16_t BuildBrand1 = -1;
constexpr int16_t BuildBrand2 = 0;
constexpr int16_t BuildVariant = 0;
constexpr int16_t BuildBrand3 = 0;
constexpr int16_t BuildBrand4 = 0;
