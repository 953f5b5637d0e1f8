#include "designers/record_fields.h"

#include <charconv>
#include <cmath>

namespace {

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

} // namespace

std::optional<int64_t> wholeNumberIn(std::string_view text, int64_t lo, int64_t hi) {
    std::string_view s = trimmed(text);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    int64_t v = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || ec != std::errc{} || end != s.data() + s.size() || v < lo || v > hi) return std::nullopt;
    return v;
}

std::optional<double> decimalNumber(std::string_view text) {
    std::string_view s = trimmed(text);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    double v = 0;
    // from_chars ignores the locale, which a window may have switched to a decimal comma.
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || ec != std::errc{} || end != s.data() + s.size() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::string decimalText(double v) {
    char buf[32];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    return ec == std::errc{} ? std::string(buf, end) : "0";
}

bool storableText(std::string_view text) {
    return text.find_first_of(",\r\n") == std::string_view::npos;
}

std::optional<std::string> fieldRefusal(FieldKind kind, int64_t lo, int64_t hi, std::string_view caption,
                                        std::string_view text) {
    const std::string name(caption);
    switch (kind) {
    case FieldKind::Text:
        if (storableText(text)) return std::nullopt;
        return name + ": the text may not hold a comma or a line break.";
    case FieldKind::Decimal:
        if (decimalNumber(text)) return std::nullopt;
        return name + ": enter a number (point as decimal separator).";
    case FieldKind::Flag:
        lo = 0, hi = 1;
        [[fallthrough]];
    case FieldKind::Number:
        if (wholeNumberIn(text, lo, hi)) return std::nullopt;
        return name + ": enter a whole number from " + std::to_string(lo) + " to " + std::to_string(hi) + ".";
    }
    return std::nullopt;
}
