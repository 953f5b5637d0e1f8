#include "tools/memory_tool.h"

#include <charconv>

#include "core/app_context.h"
#include "tools/tool_guard.h"

namespace {

constexpr int BlockBytes = 32;

std::optional<int> hexAddress(const std::string& text) {
    int v = 0;
    const char* end = text.data() + text.size();
    auto r = std::from_chars(text.data(), end, v, 16);
    if (text.empty() || text.size() > 4 || r.ec != std::errc() || r.ptr != end || v < 0) return std::nullopt;
    return v;
}

} // namespace

std::optional<std::pair<int16_t, int16_t>> MemoryTool::blockRange(const std::string& from,
                                                                  const std::string& to) {
    auto a = hexAddress(from), b = hexAddress(to);
    if (!a || !b || *a > *b) return std::nullopt;
    return std::pair<int16_t, int16_t>(int16_t(*a / BlockBytes), int16_t(*b / BlockBytes + 1));
}

template <class F> bool MemoryTool::run(const std::string& from, const std::string& to, F transfer) {
    auto range = blockRange(from, to);
    if (!range) {
        ctx_.dialogs.messageBox("Addresses: hex from 0000 to FFFF, the first not above the last",
                                MsgButtons::Ok, MsgIcon::Warning, "EEprom");
        return false;
    }
    if (running_ || !ToolMayStart(ctx_)) return false;
    // A tool loop started during the transfer's pauses finds the link busy.
    running_ = true;
    const int16_t outerBusy = ctx_.comm.PollBusy;
    ctx_.comm.PollBusy = 1;
    const bool done = transfer(range->first, range->second);
    ctx_.comm.PollBusy = outerBusy;
    running_ = false;
    return done;
}

bool MemoryTool::upload(const TransferView& view, const std::string& from, const std::string& to) {
    return run(from, to, [&](int16_t first, int16_t last) {
        UploadHex(ctx_, view, files, first, last, true, 0);
        return true;
    });
}

bool MemoryTool::download(const TransferView& view, const std::string& from, const std::string& to) {
    return run(from, to, [&](int16_t first, int16_t last) {
        return DownloadHex(ctx_, view, files, first, last, true);
    });
}
