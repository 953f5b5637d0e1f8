#include "program/transfer/memory_image_transfer.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "comm/device_procedures.h"
#include "core/app_context.h"
#include "core/durable_file.h"
#include "program/transfer/controller_memory_map.h"
#include "program/transfer/file_output.h"
#include "program/transfer/memory_image_text.h"
#include "program/transfer/memory_request.h"

namespace {

constexpr double HexBlockPause = 0.01;
// The request carries a 16-bit address: blocks 0 .. 2047.
constexpr int BlockLimit = 65536 / TransferBlock;

bool validRange(int first, int last) { return first >= 0 && last <= BlockLimit; }

std::span<uint8_t, TransferBlock> bufferBlock(MemoryImageFiles& files, int block) {
    return std::span<uint8_t, TransferBlock>(files.FileImageBuffer.data() + size_t(block) * TransferBlock,
                                             TransferBlock);
}

// The progress bar at (block - first) / (last - first) of its maximum.
void showProgress(const TransferView& view, int block, int first, int last) {
    view.progress(int(std::nearbyint(double(block - first) / double(last - first) * view.maximum())));
}

// Reads the chosen file into FileImageBuffer[32 x first .. 32 x last - 1] when all of its values are
// good. The file starts at the range's first address, as the upload writes it, so that a range that does
// not begin at 0 goes back where it came from. Empty when read, else why it was not.
std::string loadFile(const std::string& path, MemoryImageFiles& files, int first, int last) {
    std::string text, reason;
    if (!ReadWholeFile(path, text, &reason)) return reason;
    auto values = ParseMemoryImageText(text, size_t(std::max(0, last - first)) * TransferBlock);
    if (!values) return "it does not hold one byte value per address of the range";
    std::copy(values->begin(), values->end(), files.FileImageBuffer.begin() + size_t(first) * TransferBlock);
    return "";
}

} // namespace

bool DownloadHex(AppContext& app, const TransferView& view, MemoryImageFiles& files, int16_t first, int16_t last,
                 bool fromFile) {
    Log& log = app.shell.log;
    if (fromFile) {
        std::string path = app.dialogs.openFile(MemoryImageFilter);
        if (path.empty()) return false;
        files.LastPath = path;
        const std::string unread = validRange(first, last) ? loadFile(path, files, first, last) : "";
        if (!validRange(first, last) || !unread.empty()) {
            log.LogStart();
            log.LogWrite(unread.empty() ? "Download Failed" : "Download Failed: " + path + ": " + unread);
            return false;
        }
    }
    int count = std::max(0, last - first);
    return BlockTransfer(app, view, "Download", validRange(first, last), size_t(count), [&](size_t k) {
        int b = first + int(k);
        app.pump.pausa(HexBlockPause);
        bool sent = WriteBlock(app, b * TransferBlock, bufferBlock(files, b)) ||
                    WriteBlock(app, b * TransferBlock, bufferBlock(files, b));
        showProgress(view, b, first, last);
        return sent;
    });
}

void UploadHex(AppContext& app, const TransferView& view, MemoryImageFiles& files, int16_t first, int16_t last,
               bool askFile, int16_t binary) {
    int count = std::max(0, last - first);
    bool uploaded = BlockTransfer(app, view, "Upload", validRange(first, last), size_t(count), [&](size_t k) {
        int b = first + int(k);
        bool read = ReadBlock(app, ReadMemory, b * TransferBlock, bufferBlock(files, b));
        showProgress(view, b, first, last);
        return read;
    });
    if (!uploaded) return;
    std::string path = askFile ? app.dialogs.saveFile(MemoryImageFilter) : files.LastPath;
    if (path.empty()) return;
    files.LastPath = path;
    std::span<const uint8_t> range(files.FileImageBuffer.data() + size_t(first) * TransferBlock,
                                   size_t(count) * TransferBlock);
    std::string text = binary == 1 ? FormatMemoryImageRaw(range) : FormatMemoryImageText(range);
    if (auto failed = SaveFileDurably(path, text)) TellSaveFailure(app, "Upload Failed", *failed);
}
