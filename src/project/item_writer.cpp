#include "project/item_writer.h"

#include <charconv>
#include <cmath>

#include "core/print_form.h"

namespace {

// Shortest text that reads back to the same double, in the set's form: no leading zero before the
// point, exponent as "E+20" / "E-05".
std::string plainDouble(double v) {
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    std::string s(buf, ec == std::errc{} ? end : buf);
    if (auto e = s.find('e'); e != std::string::npos) s[e] = 'E';
    bool negative = !s.empty() && s[0] == '-';
    std::string digits = negative ? s.substr(1) : s;
    if (digits.size() > 1 && digits[0] == '0' && digits[1] == '.') digits.erase(0, 1);
    return (negative ? "-" : " ") + digits;
}

} // namespace

std::string integerText(int64_t v) { return printForm(v); }

std::string doubleText(double v) {
    return tableValueText(v) + " ";
}

std::string tableValueText(double v) {
    if (v == 0 || !std::isfinite(v)) return " 0"; // -0 and non-numbers have no form of their own
    return plainDouble(v);
}

void ItemWriter::text(std::string_view s) {
    std::string flat(s);
    for (char& c : flat)
        if (c == '\r' || c == '\n') c = ' ';
    line(flat);
}

void ItemWriter::multiLineText(std::string_view s) {
    size_t start = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\r' && s[i] != '\n') continue;
        line(s.substr(start, i - start));
        if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
        start = i + 1;
    }
    line(s.substr(start));
}

void ItemWriter::line(std::string_view s) {
    out_.append(s);
    out_.append("\r\n");
}
