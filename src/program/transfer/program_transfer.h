#pragma once
// The program image to and from the controller: download, upload and the read-back verify.
#include <cstdint>
#include <vector>

#include "program/transfer/transfer_view.h"

struct AppContext;

// The 32-byte blocks of ProgramImage that hold the program: 0 .. Int(size / 32), then every block that
// holds a display image placed below the top of the program area.
std::vector<int> ProgramBlocks(const AppContext& app, int32_t size);

// Sends the blocks of image (a program image as the compiler builds it) to ProgramBase + 32 x block, a
// 0.1 s pause before each.
bool DownloadProgramma(AppContext& app, const TransferView& view, const std::vector<int>& blocks,
                       const std::vector<uint8_t>& image);

// Reads the blocks back into image, a program image.
bool UploadProgramma(AppContext& app, const TransferView& view, const std::vector<int>& blocks,
                     std::vector<uint8_t>& image);

enum class VerifyOutcome { Ok, Changed, UploadFailed };

// Reads the blocks back and compares them with those of compiled, the program image that was sent.
VerifyOutcome VerificaProgramma(AppContext& app, const TransferView& view, const std::vector<int>& blocks,
                                const std::vector<uint8_t>& compiled);
