#include "core/text_tables.h"

#include <cstddef>

// Brand sets (resources 600 + BrandOffset + k): k 0 company, k 1 program name, k 2..42 model names.
namespace {

using ModelTexts = std::array<const char*, BrandTextCount - 2>;

constexpr ModelTexts Brand1Models{
    "JXV8410",   "JXV8410-IO", "JXV8410-DL", "JXV8410-DL-IO", "JXV8250",     "JXV8250-DL", "JXV8480",
    "JXV7593",   "JXV7734",    "JXV7924",    "JXV7243",       "JXV7650",     "JXV7711",    "JXV7541",
    "JXV7020",   "JXV7287",    "JXV7038",    "JXV7632",       "JXV7106",     "JXV7556",    "JXV7950-MBTCP",
    "JXV2569",   "JXV7174",    "JXV7711-P",  "JXV8410-USB",   "JXV8250-USB", "JXV9568",    "KELMO7593",
    "JXV9921",   "JXV8480AI",  "JXV9704",    "JXV9422",       "JXV9322",     "JXV9628",    "JXV9436-I",
    "JXV9436-V", "JXV9025",    "JXV9169",    "JXV9663",       "JXV9930",     "JXV9787"};

constexpr ModelTexts Brand2Models{
    "WX-RS485-ETH", "WX-E8250",     "WX-E8410-DL",    "---",      "WX-E8250-N", "WX-E8250-DL",
    "WX-E8480",     "WX-E7593",     "WX-E7734",       "WX-E7924", "WX-E7243",   "WX-E7650",
    "WX-E7711",     "WX-E7541",     "WX-E7020",       "WX-E7287", "WX-E7038",   "WX-E7632",
    "WX-E7106",     "WX-E7556",     "WX-E7950-MBTCP", "WX-E2569", "JXV7174",    "JXV7711-P",
    "WX-E8410-USB", "WX-E8250-USB", "WX-E9568",       "--------", "WX-E9921",   "WX-E8480AI",
    "WX-E9704",     "WX-E9422",     "WX-E9322",       "WX-E9628", "WX-E9436-I", "WX-E9436-V",
    "WX-E9025",     "WX-E9169",     "WX-E9663",       "WX-E9930", "WX-E9787"};

// Brand 3 names only its controller variants.
constexpr ModelTexts brand3Models() {
    ModelTexts m{};
    for (auto& text : m)
        text = "---";
    m[0] = "LMX3";
    m[1] = "LMX3 (IO)";
    m[2] = "LMX3 (DL)";
    m[3] = "LMX3 (DL-IO)";
    m[24] = "LMX3 (USB)";
    return m;
}

constexpr std::array<const char*, BrandTextCount> brandSet(const char* company, const char* program,
                                                           const ModelTexts& models) {
    std::array<const char*, BrandTextCount> set{company, program};
    for (std::size_t i = 0; i < models.size(); ++i)
        set[i + 2] = models[i];
    return set;
}

} // namespace

const std::array<std::array<const char*, BrandTextCount>, 4> BrandTexts{
    brandSet("KORVANE", "Melqo", Brand1Models),
    brandSet("WX Automation", "Orvik", Brand2Models),
    brandSet("Lumo", "LMXCON3", brand3Models()),
    brandSet("ALTO-PV", "Melqo", Brand1Models),
};
