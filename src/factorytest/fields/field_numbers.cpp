#include "factorytest/fields/field_numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

std::optional<double> fieldNumber(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    std::string s(text);
    std::replace(s.begin(), s.end(), ',', '.');
    const bool negative = !s.empty() && s[0] == '-';
    const size_t from = !s.empty() && (s[0] == '-' || s[0] == '+') ? 1 : 0;
    // from_chars also reads "inf" and "nan", which no box means.
    if (from >= s.size() || !(std::isdigit(static_cast<unsigned char>(s[from])) || s[from] == '.')) return {};
    double v = 0;
    const auto [end, ec] = std::from_chars(s.data() + from, s.data() + s.size(), v);
    if (ec != std::errc{} || end != s.data() + s.size() || !std::isfinite(v)) return {};
    return negative ? -v : v;
}

std::optional<int> fieldWhole(std::string_view text, int lo, int hi) {
    const auto v = fieldNumber(text);
    if (!v) return {};
    const double r = std::nearbyint(*v);
    if (r < lo || r > hi) return {};
    return static_cast<int>(r);
}

std::optional<uint8_t> fieldByte(std::string_view text) {
    const auto v = fieldWhole(text, 0, 255);
    if (!v) return {};
    return static_cast<uint8_t>(*v);
}

std::optional<uint8_t> signedFieldByte(std::string_view text) {
    const auto v = fieldWhole(text, -128, 127);
    if (!v) return {};
    return static_cast<uint8_t>(*v < 0 ? *v + 256 : *v);
}

std::string signedByteText(uint8_t b) {
    return std::to_string(b > 127 ? b - 256 : b);
}

bool fitsSingle(double value) {
    return std::isfinite(value) && std::abs(value) <= std::numeric_limits<float>::max();
}

std::optional<double> singleValue(std::string_view text) {
    const auto v = fieldNumber(text);
    if (!v || !fitsSingle(*v)) return {};
    return v;
}

std::string significantText(double value) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.15G", value);
    std::string s = buf;
    const size_t e = s.find('E');
    std::string mantissa = s.substr(0, e), exponent = e == std::string::npos ? "" : s.substr(e);
    if (mantissa.find('.') != std::string::npos) {
        while (mantissa.back() == '0')
            mantissa.pop_back();
        if (mantissa.back() == '.') mantissa.pop_back();
    }
    return mantissa + exponent;
}

std::string fixed4(double value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.4f", value);
    return buf;
}
