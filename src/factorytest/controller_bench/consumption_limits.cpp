#include "factorytest/controller_bench/consumption_limits.h"

#include <algorithm>

#include "factorytest/instruments/instrument_commands.h"

std::string FormatConsumptionLimits(const ConsumptionSteps& steps) {
    std::string text;
    for (const ConsumptionLimits& s : steps)
        for (const auto& limit : {s.minMa, s.maxMa})
            text += (limit ? DecimalText(*limit) : std::string()) + "\r\n";
    return text;
}

std::optional<std::optional<double>> ParseLimitEntry(const std::string& text) {
    if (text.find_first_not_of(" \t\r") == std::string::npos) return std::optional<double>{};
    const auto value = ParseReading(text);
    if (!value || *value < 0) return std::nullopt;
    return value;
}

std::vector<int> ParseConsumptionLimits(const std::string& text, ConsumptionSteps& steps) {
    std::vector<int> unread;
    size_t pos = 0;
    for (int line = 0; line < 4; ++line) {
        const size_t end = std::min(text.find('\n', pos), text.size());
        const std::string item = pos < text.size() ? text.substr(pos, end - pos) : std::string();
        pos = end + 1;
        ConsumptionLimits& step = steps[static_cast<size_t>(line / 2)];
        std::optional<double>& limit = line % 2 == 0 ? step.minMa : step.maxMa;
        const auto entry = ParseLimitEntry(item);
        if (!entry) unread.push_back(line + 1);
        limit = entry ? *entry : std::nullopt;
    }
    return unread;
}
