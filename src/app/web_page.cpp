#include "app/web_page.h"

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

std::optional<std::string> webPageUrl(const std::string& ipAddress) {
    if (!isValidIpAddress(ipAddress)) return std::nullopt;
    return "http://" + ipAddress;
}
