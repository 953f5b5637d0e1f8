#include "program/transfer/program_transfer.h"

#include <algorithm>
#include <span>

#include "core/app_context.h"
#include "comm/device_procedures.h"
#include "program/transfer/controller_memory_map.h"
#include "program/transfer/memory_request.h"

namespace {

constexpr double BlockPause = 0.1;

std::span<uint8_t, TransferBlock> imageBlock(std::vector<uint8_t>& image, int block) {
    return std::span<uint8_t, TransferBlock>(image.data() + size_t(block) * TransferBlock, TransferBlock);
}

std::span<const uint8_t, TransferBlock> imageBlock(const std::vector<uint8_t>& image, int block) {
    return std::span<const uint8_t, TransferBlock>(image.data() + size_t(block) * TransferBlock,
                                                   TransferBlock);
}

// Whether block b lies inside the image array and its controller address fits 16 bits.
bool blockFits(int base, int block) {
    long offset = long(block) * TransferBlock;
    return block >= 0 && offset + TransferBlock <= MemoryImageSize && base + offset + TransferBlock <= 65536;
}

} // namespace

std::vector<int> ProgramBlocks(const AppContext& app, int32_t size) {
    std::vector<int> blocks;
    for (int b = 0; b <= size / TransferBlock; ++b) blocks.push_back(b);
    if (app.model().HasDisplay) {
        const ImageTable& images = app.project.Images;
        size_t count = std::min<size_t>(images.Count, images.Images.size());
        for (size_t i = 0; i < count; ++i) {
            const DisplayImage& image = images.Images[i];
            if (image.ByteCount <= 0) continue;
            int firstByte = image.DeviceAddress, lastByte = image.DeviceAddress + image.ByteCount - 1;
            for (int b = firstByte / TransferBlock; b <= lastByte / TransferBlock; ++b) blocks.push_back(b);
        }
    }
    std::sort(blocks.begin(), blocks.end());
    blocks.erase(std::unique(blocks.begin(), blocks.end()), blocks.end());
    return blocks;
}

bool DownloadProgramma(AppContext& app, const TransferView& view, const std::vector<int>& blocks,
                       const std::vector<uint8_t>& image) {
    int base = app.model().ProgramBase;
    bool fits = base >= 512 && image.size() >= size_t(MemoryImageSize) &&
                std::all_of(blocks.begin(), blocks.end(), [&](int b) { return blockFits(base, b); });
    view.progress(1);
    return BlockTransfer(app, view, "Download", fits, blocks.size(), [&](size_t k) {
        app.pump.pausa(BlockPause);
        int b = blocks[k];
        if (!WriteBlock(app, base + b * TransferBlock, imageBlock(image, b))) return false;
        view.progress(BarAfter(k + 1, blocks.size()));
        return true;
    });
}

bool UploadProgramma(AppContext& app, const TransferView& view, const std::vector<int>& blocks,
                     std::vector<uint8_t>& image) {
    bool fits = image.size() >= size_t(MemoryImageSize) &&
                std::all_of(blocks.begin(), blocks.end(), [](int b) { return blockFits(0, b); });
    return BlockTransfer(app, view, "Upload", fits, blocks.size(), [&](size_t k) {
        return ReadBlock(app, ReadImage, blocks[k] * TransferBlock, imageBlock(image, blocks[k]));
    });
}

VerifyOutcome VerificaProgramma(AppContext& app, const TransferView& view, const std::vector<int>& blocks,
                                const std::vector<uint8_t>& compiled) {
    std::vector<uint8_t> readBack(compiled.size(), 0);
    if (!UploadProgramma(app, view, blocks, readBack)) return VerifyOutcome::UploadFailed;
    app.shell.log.LogStart();
    app.shell.log.LogWrite("Verifying ...");
    bool same = std::all_of(blocks.begin(), blocks.end(), [&](int b) {
        auto from = size_t(b) * TransferBlock;
        return std::equal(compiled.begin() + from, compiled.begin() + from + TransferBlock, readBack.begin() + from);
    });
    app.shell.log.LogWrite(same ? "Verified ! -> OK" : "The Program has changed !");
    return same ? VerifyOutcome::Ok : VerifyOutcome::Changed;
}
