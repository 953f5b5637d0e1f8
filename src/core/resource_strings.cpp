#include "core/resource_strings.h"

#include "core/text_tables.h"

namespace {

constexpr std::array<const char*, 4> LanguageTexts{"Lingua", "Language", "Italiano", "English"};

// Entry id - base of a table that starts at base, if the table holds it.
template <class Table> std::optional<std::string> entry(const Table& table, int id, int base) {
    int k = id - base;
    if (k < 0 || k >= static_cast<int>(table.size())) return std::nullopt;
    return std::string(table[static_cast<size_t>(k)]);
}

} // namespace

std::optional<std::string> ResourceString(int id) {
    if (id == 501) return std::string("1.8");
    if (id >= 600 && id < 800) return entry(BrandTexts[static_cast<size_t>((id - 600) / 50)], id % 50, 0);
    if (id >= 900 && id < 1000) return entry(LanguageTexts, id, 900);
    if (id >= 1200 && id < 2000) return entry(FunctionNameTexts, id, 1200);
    if (id >= 2000 && id < 3000) return entry(UiTextItalian, id, 2000);
    if (id >= 3000 && id < 4000) return entry(UiTextEnglish, id, 3000);
    return std::nullopt;
}
