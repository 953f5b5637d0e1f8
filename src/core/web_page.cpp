#include "core/web_page.h"

#include <charconv>

bool isValidIpAddress(const std::string& text) {
    const char* p = text.data();
    const char* end = p + text.size();
    for (int part = 0; part < 4; ++part) {
        if (part > 0) {
            if (p == end || *p != '.') return false;
            ++p;
        }
        const char* start = p;
        unsigned value = 0;
        auto [next, ec] = std::from_chars(p, end, value);
        if (ec != std::errc() || next == start || next - start > 3 || value > 255) return false;
        p = next;
    }
    return p == end;
}

bool isHostAddress(const std::string& text) {
    if (isValidIpAddress(text)) return true;
    if (text.empty() || text.size() > 253) return false;
    // Labels of letters, digits and inner hyphens; a name ending in a number would be a malformed address.
    size_t start = 0;
    bool lastNumeric = true;
    while (start <= text.size()) {
        size_t dot = text.find('.', start);
        if (dot == std::string::npos) dot = text.size();
        const std::string_view label(text.data() + start, dot - start);
        if (label.empty() || label.size() > 63 || label.front() == '-' || label.back() == '-') return false;
        lastNumeric = true;
        for (char c : label) {
            const bool digit = c >= '0' && c <= '9';
            if (!digit && !(c >= 'a' && c <= 'z') && !(c >= 'A' && c <= 'Z') && c != '-') return false;
            lastNumeric = lastNumeric && digit;
        }
        start = dot + 1;
    }
    return !lastNumeric;
}

std::optional<std::string> webPageUrl(const std::string& ipAddress) {
    if (!isValidIpAddress(ipAddress)) return std::nullopt;
    return "http://" + ipAddress;
}
