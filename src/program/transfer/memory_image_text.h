#pragma once
// The memory-image file forms: one decimal byte value per CR LF line (read and written), or the raw
// bytes followed by CR LF (written only).
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// Each value as " n " on its own CR LF line.
std::string FormatMemoryImageText(std::span<const uint8_t> bytes);

// The bytes as single-byte characters, then CR LF.
std::string FormatMemoryImageRaw(std::span<const uint8_t> bytes);

// The first `count` values of a text-form file (CR LF or LF lines, blanks skipped). Nothing when the
// file holds fewer values, or one of them is not a decimal number from 0 to 255.
std::optional<std::vector<uint8_t>> ParseMemoryImageText(const std::string& text, size_t count);
