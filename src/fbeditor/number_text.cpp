#include "fbeditor/number_text.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

namespace {

std::string withoutBlanks(std::string_view text) {
    std::string s;
    for (char c : text)
        if (c != ' ' && c != '\t') s += c;
    return s;
}

// Length of the number s begins with; 0 when it begins with none.
size_t numberLength(const std::string& s) {
    size_t i = 0;
    auto digits = [&] {
        size_t start = i;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])))
            ++i;
        return i > start;
    };
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    bool any = digits();
    if (i < s.size() && s[i] == '.') {
        ++i;
        any = digits() || any;
    }
    if (!any) return 0;
    size_t end = i;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        if (digits()) end = i;
    }
    return end;
}

} // namespace

double numericValue(std::string_view text) {
    std::string s = withoutBlanks(text);
    size_t end = numberLength(s);
    if (end == 0) return 0;
    // from_chars ignores the locale, which a GUI application may have switched to a decimal comma.
    size_t from = s[0] == '+' || s[0] == '-' ? 1 : 0;
    double v = 0;
    if (std::from_chars(s.data() + from, s.data() + end, v).ec == std::errc::result_out_of_range) {
        // Beyond the range of a double: a number too large reads as infinite, which no field accepts,
        // instead of as 0; one too small to tell from 0 reads as 0.
        long double wide = HUGE_VALL;
        std::from_chars(s.data() + from, s.data() + end, wide);
        v = wide > 1 ? HUGE_VAL : 0;
    }
    return s[0] == '-' ? -v : v;
}

bool isNumberText(std::string_view text) {
    std::string s = withoutBlanks(text);
    size_t end = numberLength(s);
    return end > 0 && end == s.size() && std::isfinite(numericValue(s));
}

std::string commaToPoint(std::string text) {
    std::replace(text.begin(), text.end(), ',', '.');
    return text;
}

std::string numberText(double v) {
    char buf[32];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    return ec == std::errc{} ? std::string(buf, end) : std::string("0");
}
