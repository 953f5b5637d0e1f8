#pragma once
// What this build is: its brand and which internal menus it shows. -1 true, 0 false.
#include <cstdint>

// The internal menus (factory test, sniffer, FTP, export, printing): cmake -DMELQO_INTERNAL=ON.
#ifdef MELQO_BUILD_INTERNAL
constexpr int16_t BuildInternal = -1;
#else
constexpr int16_t BuildInternal = 0;
#endif
constexpr int16_t BuildBrand1 = -1;
constexpr int16_t BuildBrand2 = 0;
constexpr int16_t BuildVariant = 0;
constexpr int16_t BuildBrand3 = 0;
constexpr int16_t BuildBrand4 = 0;

struct BuildFlags {
    int16_t Internal = 0;
    int16_t Brand1 = 0;
    int16_t Brand2 = 0;
    int16_t Variant = 0;
    int16_t Brand3 = 0;
    int16_t Brand4 = 0;
};

constexpr BuildFlags ThisBuild{BuildInternal, BuildBrand1, BuildBrand2,
                               BuildVariant,  BuildBrand3, BuildBrand4};

// Offset of the brand's text set: each true flag in this order overwrites the one before, so the
// last true one wins; none true leaves 0.
constexpr uint16_t DeriveBrandOffset(const BuildFlags& f) {
    uint16_t offset = 0;
    if (f.Brand1) offset = 0;
    if (f.Brand2) offset = 50;
    if (f.Variant) offset = 0;
    if (f.Brand3) offset = 100;
    if (f.Brand4) offset = 150;
    return offset;
}
