#include "program/transfer/memory_image_text.h"

#include <algorithm>

#include "core/print_form.h"

std::string FormatMemoryImageText(std::span<const uint8_t> bytes) {
    std::string out;
    out.reserve(bytes.size() * 7);
    for (uint8_t b : bytes) {
        out += printForm(b);
        out += "\r\n";
    }
    return out;
}

std::string FormatMemoryImageRaw(std::span<const uint8_t> bytes) {
    std::string out(bytes.begin(), bytes.end());
    return out + "\r\n";
}

namespace {

std::optional<uint8_t> parseValue(std::string_view line) {
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!line.empty() && blank(line.front())) line.remove_prefix(1);
    while (!line.empty() && blank(line.back())) line.remove_suffix(1);
    if (line.empty() || line.size() > 3) return std::nullopt;
    int value = 0;
    for (char c : line) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value > 255) return std::nullopt;
    return static_cast<uint8_t>(value);
}

} // namespace

std::optional<std::vector<uint8_t>> ParseMemoryImageText(const std::string& text, size_t count) {
    std::vector<uint8_t> values;
    values.reserve(count);
    size_t pos = 0;
    while (values.size() < count && pos < text.size()) {
        size_t end = std::min(text.find('\n', pos), text.size());
        auto value = parseValue(std::string_view(text).substr(pos, end - pos));
        if (!value) return std::nullopt;
        values.push_back(*value);
        pos = end + 1;
    }
    if (values.size() < count) return std::nullopt;
    return values;
}
