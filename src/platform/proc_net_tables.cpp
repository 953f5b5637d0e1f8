#include "platform/proc_net_tables.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstring>
#include <sstream>
#include <string>

namespace {

constexpr unsigned ArpComplete = 0x2; // ATF_COM

// The lines after the header, each split at blanks.
std::vector<std::vector<std::string>> rows(std::string_view table) {
    std::vector<std::vector<std::string>> out;
    std::istringstream in{std::string(table)};
    std::string line;
    std::getline(in, line); // the header
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::vector<std::string> row;
        for (std::string w; words >> w;)
            row.push_back(w);
        if (!row.empty()) out.push_back(std::move(row));
    }
    return out;
}

bool hexNumber(const std::string& text, uint32_t& value) {
    std::string_view t = text;
    if (t.starts_with("0x")) t.remove_prefix(2);
    auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value, 16);
    return !t.empty() && ec == std::errc{} && end == t.data() + t.size();
}

bool dotted(const std::string& text, std::array<uint8_t, 4>& bytes) {
    std::string_view t = text;
    for (size_t i = 0; i < bytes.size(); ++i) {
        unsigned v = 0;
        auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
        if (ec != std::errc{} || v > 255) return false;
        bytes[i] = static_cast<uint8_t>(v);
        t.remove_prefix(static_cast<size_t>(end - t.data()));
        if (i + 1 < bytes.size()) {
            if (!t.starts_with('.')) return false;
            t.remove_prefix(1);
        }
    }
    return t.empty();
}

} // namespace

std::vector<std::array<uint8_t, 4>> RouteGateways(std::string_view procNetRoute) {
    std::vector<std::array<uint8_t, 4>> out;
    for (const auto& row : rows(procNetRoute)) {
        uint32_t gateway = 0;
        if (row.size() < 3 || !hexNumber(row[2], gateway) || gateway == 0) continue;
        // The address is printed as the number its network-order bytes make in this machine's memory.
        std::array<uint8_t, 4> bytes{};
        std::memcpy(bytes.data(), &gateway, bytes.size());
        if (std::find(out.begin(), out.end(), bytes) == out.end()) out.push_back(bytes);
    }
    return out;
}

std::vector<LocalNeighbour> CompleteNeighbours(std::string_view procNetArp) {
    std::vector<LocalNeighbour> out;
    for (const auto& row : rows(procNetArp)) {
        LocalNeighbour n;
        uint32_t flags = 0;
        if (row.size() < 6 || !dotted(row[0], n.address) || !hexNumber(row[2], flags) ||
            !(flags & ArpComplete))
            continue;
        n.linkAddress = row[3];
        std::transform(n.linkAddress.begin(), n.linkAddress.end(), n.linkAddress.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        n.interfaceName = row[5];
        out.push_back(std::move(n));
    }
    return out;
}
