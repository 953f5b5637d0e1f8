#include "program/transfer/export_layout.h"

#include <algorithm>

#include "comm/byte_helpers.h"

void PutLong(std::span<uint8_t> image, uint32_t value, size_t position) {
    for (size_t k = 0; k < 4; ++k) image[position + k] = static_cast<uint8_t>(value >> (8 * k));
}

void BuildExportHeader(std::span<uint8_t> image, const std::string& magic, const std::string& versionText,
                       const std::string& versionSuffix, const ExportSectionTable& sections) {
    std::fill_n(image.begin(), ExportHeaderSize, uint8_t{0});
    auto charAt = [](const std::string& s, size_t i) { return i < s.size() ? static_cast<uint8_t>(s[i]) : 0; };
    for (size_t i = 0; i < 5; ++i) image[i] = charAt(magic, i);
    image[5] = charAt(versionText, 0);
    image[6] = charAt(versionText, 2);
    image[7] = charAt(versionSuffix, 0);
    size_t position = 8;
    for (const ExportSection& s : sections) {
        if (s.kind != 0) continue;
        PutLong(image, static_cast<uint32_t>(s.start), position);
        PutLong(image, static_cast<uint32_t>(s.end), position + 4);
        position += 8;
    }
    Crc16 crc = Crc16Modbus(image.first(ExportHeaderCrcOffset));
    image[ExportHeaderCrcOffset] = crc.CrcLo;
    image[ExportHeaderCrcOffset + 1] = crc.CrcHi;
}
