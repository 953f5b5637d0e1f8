#include "tools/memory_tool.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "comm/device_procedures.h"
#include "core/app_context.h"
#include "core/busy_run.h"
#include "core/durable_file.h"
#include "program/transfer/controller_memory_map.h"
#include "program/transfer/file_output.h"
#include "program/transfer/memory_image_text.h"
#include "program/transfer/memory_image_transfer.h"
#include "program/transfer/memory_request.h"
#include "tools/tool_guard.h"

namespace {

constexpr double BlockPause = 0.01;

std::optional<int> hexAddress(const std::string& text) {
    int v = 0;
    const char* end = text.data() + text.size();
    auto r = std::from_chars(text.data(), end, v, 16);
    if (text.empty() || text.size() > 4 || r.ec != std::errc() || r.ptr != end || v < 0) return std::nullopt;
    return v;
}

} // namespace

std::optional<MemoryTool::Range> MemoryTool::byteRange(const std::string& from, const std::string& to) {
    auto a = hexAddress(from), b = hexAddress(to);
    if (!a || !b || *a > *b) return std::nullopt;
    return Range{*a, *b};
}

void MemoryTool::refuse(const std::string& text) {
    ctx_.shell.log.LogStart();
    ctx_.shell.log.LogWrite(text);
    ctx_.dialogs.messageBox(text, MsgButtons::Ok, MsgIcon::Warning);
}

template <class F> bool MemoryTool::run(const std::string& from, const std::string& to, F transfer) {
    auto range = byteRange(from, to);
    if (!range) {
        ctx_.dialogs.messageBox("Addresses: hex from 0000 to FFFF, the first not above the last",
                                MsgButtons::Ok, MsgIcon::Warning);
        return false;
    }
    if (running_ || !ToolMayStart(ctx_)) return false;
    // A tool loop started during the transfer's pauses finds the link busy.
    running_ = true;
    const BusyRun busy(ctx_, "a memory transfer");
    const int16_t outerBusy = ctx_.comm.PollBusy;
    ctx_.comm.PollBusy = 1;
    const bool done = transfer(*range);
    ctx_.comm.PollBusy = outerBusy;
    running_ = false;
    return done;
}

bool MemoryTool::eachBlock(const TransferView& view, const char* what, const Range& range,
                           const std::function<bool(int, std::span<uint8_t, 32>)>& step,
                           const std::function<bool()>& finish) {
    const int firstBlock = range.first / TransferBlock;
    const size_t count = size_t(range.last / TransferBlock - firstBlock + 1);
    std::array<uint8_t, TransferBlock> block{};
    // The bar shows the blocks done: full after the last one.
    return BlockTransfer(ctx_, view, what, true, count, [&](size_t k) {
        if (!step((firstBlock + int(k)) * TransferBlock, block)) return false;
        view.progress(int(std::nearbyint(double(k + 1) / double(count) * view.maximum())));
        return true;
    }, finish);
}

bool MemoryTool::upload(const TransferView& view, const std::string& from, const std::string& to) {
    return run(from, to, [&](const Range& range) {
        std::vector<uint8_t> values;
        // The file is written before the log says how the upload went.
        const auto save = [&] {
            const std::string path = ctx_.dialogs.saveFile(MemoryImageFilter);
            if (path.empty()) return false;
            const auto failed = SaveFileDurably(path, FormatMemoryImageText(values));
            if (failed) TellSaveFailure(ctx_, "Upload Failed", *failed);
            return !failed;
        };
        return eachBlock(view, "Upload", range, [&](int address, std::span<uint8_t, 32> block) {
            if (!ReadBlock(ctx_, ReadMemory, address, block)) return false;
            // Only the range's own bytes go to the file.
            const int begin = std::max(address, range.first),
                      end = std::min(address + TransferBlock - 1, range.last);
            values.insert(values.end(), block.begin() + (begin - address),
                          block.begin() + (end - address) + 1);
            return true;
        }, save);
    });
}

bool MemoryTool::download(const TransferView& view, const std::string& from, const std::string& to) {
    return run(from, to, [&](const Range& range) {
        const std::string path = ctx_.dialogs.openFile(MemoryImageFilter);
        if (path.empty()) return false;
        std::string text, reason;
        if (!ReadWholeFile(path, text, &reason)) {
            refuse("Download Failed: " + path + " could not be read: " + reason);
            return false;
        }
        // The file holds exactly the range: as many values as it has addresses, from its first one on.
        const size_t count = size_t(range.size());
        const auto values = ParseMemoryImageText(text, count);
        if (!values || ParseMemoryImageText(text, count + 1)) {
            refuse("Download Failed: " + path + " does not hold " + std::to_string(count) +
                   " values from 0 to 255, one per line, for the addresses typed");
            return false;
        }
        return eachBlock(view, "Download", range, [&](int address, std::span<uint8_t, 32> block) {
            ctx_.pump.pausa(BlockPause);
            const int begin = std::max(address, range.first),
                      end = std::min(address + TransferBlock - 1, range.last);
            // A block the range covers only in part keeps the device's other bytes.
            if (end - begin + 1 < TransferBlock && !ReadBlock(ctx_, ReadMemory, address, block)) return false;
            std::copy(values->begin() + (begin - range.first), values->begin() + (end - range.first) + 1,
                      block.begin() + (begin - address));
            return WriteBlock(ctx_, address, block) || WriteBlock(ctx_, address, block);
        });
    });
}
