#include "project/item_writer.h"

#include <charconv>
#include <cmath>

#include "core/print_form.h"

namespace {

// The print form of a number: the digits of the shortest text that reads back to the same double,
// written out in full while the decimal exponent lies in -4..14 and as a mantissa with an exponent of
// at least two digits beyond that ("1E+15", "-1.5E-07"); no leading zero before the point, and a blank
// in the sign place of a non-negative number. 100000 is " 100000", a half " .5".
std::string plainDouble(double v) {
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific);
    if (ec != std::errc{}) return " 0";
    std::string_view s(buf, static_cast<size_t>(end - buf)); // "-1.2345e+05"
    const bool negative = s.front() == '-';
    if (negative) s.remove_prefix(1);
    const size_t e = s.find('e');
    int exponent = 0;
    std::from_chars(s.data() + e + (s[e + 1] == '+' ? 2 : 1), s.data() + s.size(), exponent);
    std::string digits(s.substr(0, e));
    std::erase(digits, '.');
    const int count = static_cast<int>(digits.size());
    std::string body;
    if (exponent < -4 || exponent >= 15) {
        std::string power = std::to_string(exponent < 0 ? -exponent : exponent);
        body = digits.substr(0, 1) + (count > 1 ? "." + digits.substr(1) : "") + "E" +
               (exponent < 0 ? "-" : "+") + (power.size() < 2 ? "0" : "") + power;
    } else if (exponent < 0) {
        body = "." + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
    } else if (count <= exponent + 1) {
        body = digits + std::string(static_cast<size_t>(exponent + 1 - count), '0');
    } else {
        body = digits.substr(0, static_cast<size_t>(exponent + 1)) + "." +
               digits.substr(static_cast<size_t>(exponent + 1));
    }
    return (negative ? "-" : " ") + body;
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
