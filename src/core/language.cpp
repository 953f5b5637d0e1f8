#include "core/language.h"

#include "core/model_catalogue.h"
#include "core/resource_strings.h"
#include "core/text_tables.h"

namespace {

// ModelNames entry j comes from brand text k = ModelNameResource[j].
constexpr std::array<int, ModelNameCount> ModelNameResource{
    2,  3,  4,  5,  26, 6,  7,  27, 8,  9,  10, 11, 12, 13, 14, 25, 24, 15, 16, 17, 18,
    19, 20, 21, 22, 23, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42};

constexpr std::array<const char*, 19> ValueTypeTexts{
    "uInt",  "Int",  "uLong",   "Long",   "Float", "K_Flt",        "K_Long",         "Hex",
    "ASCII", "Bin",  "Table",   "Direct", "Swap",  "String (Ram)", "String (Eprom)", "String (Flash)",
    "Date",  "Time", "Firmware"};

void load(std::string& target, int id) {
    if (auto text = ResourceString(id)) target = *text;
}

} // namespace

std::vector<std::pair<std::string, std::string>> MenuCaptions(const ShellState& shell) {
    std::vector<std::pair<std::string, std::string>> captions;
    for (const auto& m : MenuCaptionKeys)
        captions.emplace_back(std::string(m.menu), shell.UiText[static_cast<size_t>(m.key)]);
    return captions;
}

void CaricaRisorse(ShellState& shell, uint8_t language, const BuildFlags& flags) {
    shell.Language = language;
    const int textBase = 2000 + 1000 * language;
    for (size_t j = 0; j < shell.ModelNames.size(); ++j)
        load(shell.ModelNames[j], 600 + shell.BrandOffset + ModelNameResource[j]);
    for (size_t t = 0; t < ValueTypeTexts.size(); ++t)
        shell.ValueTypeNames[t] = ValueTypeTexts[t];
    for (size_t kind = 0; kind < 4; ++kind)
        shell.RegisterPrefixes[kind] = "%R";
    load(shell.LanguageName, 900 + language);
    load(shell.LanguageNames[0], 902);
    load(shell.LanguageNames[1], 903);
    for (size_t k = 0; k < shell.UiText.size(); ++k)
        load(shell.UiText[k], textBase + static_cast<int>(k));
    for (size_t m = 1; m < shell.MonthNames.size(); ++m)
        load(shell.MonthNames[m], textBase + 6 + static_cast<int>(m));
    for (size_t k = 0; k < FunctionNameKeys; ++k)
        load(shell.FunctionNames[k], 1200 + static_cast<int>(k));
    InitModelli(shell.Models, shell.ModelNames, flags);
}
