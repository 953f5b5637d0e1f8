#pragma once
// DownloadHex / UploadHex: a range of device memory between the device, FileImageBuffer and a
// memory-image file, in 32-byte blocks of function 20. Used by the memory tool and the test benches.
#include <cstdint>
#include <string>
#include <vector>

#include "program/transfer/transfer_view.h"

struct AppContext;

// Device memory by address (index i holds the byte of device address i), and the last memory-image
// file chosen: kept apart from the project's and the export's file names, which it must never replace.
struct MemoryImageFiles {
    static constexpr size_t BufferSize = 16777217;
    std::vector<uint8_t> FileImageBuffer = std::vector<uint8_t>(BufferSize, 0);
    std::string LastPath;
};

constexpr const char* MemoryImageFilter = " (*.hex)|*.hex|(*.*)|*.*|";

// Blocks first .. last - 1 from FileImageBuffer to the device (fromFile: read a chosen file first, its
// first value for address 32 x first; it is checked whole before anything is sent). Each failed block is sent once more. True when all went.
bool DownloadHex(AppContext& app, const TransferView& view, MemoryImageFiles& files, int16_t first, int16_t last,
                 bool fromFile);

// Blocks first .. last - 1 from the device into FileImageBuffer, then into a file: a chosen one with
// askFile, else the last memory-image file. binary 1 writes the raw bytes, otherwise one value per line.
void UploadHex(AppContext& app, const TransferView& view, MemoryImageFiles& files, int16_t first, int16_t last,
               bool askFile, int16_t binary);
