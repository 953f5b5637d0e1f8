#pragma once
// The export file's section tables and header. Two layouts exist: B by default, A for the variant build.
#include <array>
#include <cstdint>
#include <span>
#include <string>

struct ExportSection {
    int32_t start = 0; // inclusive controller addresses
    int32_t end = 0;
    int16_t kind = 0; // 0 data, -1 gap
};

constexpr int ExportSectionEntries = 10;
using ExportSectionTable = std::array<ExportSection, ExportSectionEntries>;

constexpr ExportSectionTable ExportLayoutB{{
    {512, 6147, 0},      // program image
    {6148, 7678, -1},    //
    {7679, 9727, 0},     // variable count and variables
    {9728, 35839, -1},   //
    {35840, 39967, 0},   // strings
    {39968, 40447, -1},  //
    {40448, 44543, 0},   // CSV headers
    {44544, 49151, -1},  //
    {49152, 51199, 0},   // text blocks 8 to 11
    {51200, 65535, -1},  //
}};

constexpr ExportSectionTable ExportLayoutA{{
    {512, 7664, 0},      // program image
    {7665, 7678, -1},    //
    {7679, 15871, 0},    // variable count and variables
    {15872, 35839, -1},  //
    {35840, 39935, -1},  //
    {39936, 45055, -1},  //
    {53248, 61439, 0},   // text blocks 16 to 31
    {61440, 65535, -1},  //
    {0, 0, 0},           // unused, still listed as a 0..0 pair
    {0, 0, 0},           //
}};

constexpr int ExportHeaderSize = 256;
constexpr int ExportHeaderCrcOffset = 126;
// Controller address of the first byte after the header.
constexpr int ExportFirstAddress = 512;

// Stores value at position .. position + 3, least significant byte first.
void PutLong(std::span<uint8_t> image, uint32_t value, size_t position);

// Assembles the 256-byte header in image[0..255]: magic, version characters, the data sections'
// bounds and the CRC-16 of bytes 0..125 at 126 (low) and 127 (high).
void BuildExportHeader(std::span<uint8_t> image, const std::string& magic, const std::string& versionText,
                       const std::string& versionSuffix, const ExportSectionTable& sections);
