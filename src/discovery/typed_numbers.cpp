#include "discovery/typed_numbers.h"

#include <algorithm>

namespace {
std::string_view trimmed(std::string_view t) {
    while (!t.empty() && t.front() == ' ')
        t.remove_prefix(1);
    while (!t.empty() && t.back() == ' ')
        t.remove_suffix(1);
    return t;
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
} // namespace

std::optional<int> WholeNumber(std::string_view text, int min, int max) {
    text = trimmed(text);
    if (text.empty() || text.size() > 9 || !std::all_of(text.begin(), text.end(), isDigit)) return std::nullopt;
    int64_t v = LeadingNumber(text);
    if (v < min || v > max) return std::nullopt;
    return static_cast<int>(v);
}

int64_t LeadingNumber(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    int64_t v = 0;
    for (char c : text) {
        if (!isDigit(c)) break;
        v = std::min<int64_t>(v * 10 + (c - '0'), int64_t{1} << 40);
    }
    return v;
}
