#include "tools/watch_view.h"

#include <algorithm>

#include "core/app_context.h"
#include "comm/poll_loop.h"
#include "tools/register_read.h"
#include "tools/tool_guard.h"

namespace {

constexpr int HeaderText = 55; // the register view's four column headers
constexpr int MaxWatched = 100;
constexpr double PollSeconds = 1.0; // the register update of the run key
constexpr std::string_view Reserved = "--Reserved--";

} // namespace

void WatchView::SetRes() {
    Caption = "Watch";
    for (size_t c = 0; c < Headers.size(); ++c)
        Headers[c] = ctx_.shell.UiText[HeaderText + c];
    Choices.clear();
    const int last = modelRegisterCount(ctx_);
    for (int r = 0; r < last; ++r) {
        const RegisterRecord& reg = ctx_.comm.Registers[static_cast<size_t>(r)];
        if (reg.Name != Reserved) Choices.push_back({r, "[%R" + std::to_string(r) + "] " + reg.Name});
    }
    Redraw();
}

bool WatchView::add(int reg) {
    WatchList& w = ctx_.project.Watch;
    const int count = std::clamp<int>(w[0], 0, MaxWatched);
    if (reg < 0 || reg >= RegisterCount || count >= MaxWatched) return false;
    if (std::find(w.begin() + 1, w.begin() + 1 + count, reg) != w.begin() + 1 + count) return false;
    w[static_cast<size_t>(count) + 1] = static_cast<int16_t>(reg);
    w[0] = static_cast<int16_t>(count + 1);
    ctx_.project.ProjectModified = -1;
    Redraw();
    return true;
}

void WatchView::remove(int row) {
    WatchList& w = ctx_.project.Watch;
    const int count = std::clamp<int>(w[0], 0, MaxWatched);
    if (row < 0 || row >= count) return;
    std::copy(w.begin() + row + 2, w.begin() + count + 1, w.begin() + row + 1);
    w[0] = static_cast<int16_t>(count - 1);
    ctx_.project.ProjectModified = -1;
    Redraw();
}

void WatchView::Redraw() {
    const WatchList& w = ctx_.project.Watch;
    Rows.clear();
    for (int i = 1; i <= std::clamp<int>(w[0], 0, MaxWatched); ++i)
        if (w[static_cast<size_t>(i)] >= 0 && w[static_cast<size_t>(i)] < RegisterCount)
            Rows.push_back(registerRow(ctx_, w[static_cast<size_t>(i)]));
    if (onChanged) onChanged();
}

bool WatchView::refresh() {
    // The list may change while a read waits: read the registers it held when the pass began.
    std::vector<int> regs;
    for (const RegisterRow& row : Rows)
        regs.push_back(row.Register);
    const bool ok = readRegisters(ctx_, regs, &refused_);
    Redraw();
    return ok;
}

void WatchView::start() {
    if (running_ || !ToolMayStart(ctx_)) return;
    running_ = true;
    refused_.clear();
    if (onChanged) onChanged();
    ctx_.comm.PollStop = 0;
    const auto pass = [this] { return refresh(); };
    PollLoop(ctx_, PollSeconds, pass, PollWait::UntilStop, PollStart::AtOnce);
    ctx_.comm.PollStop = 1;
    running_ = false;
    ctx_.shell.log.LogStart();
    ctx_.shell.log.LogWrite("Watch stopped");
    if (onChanged) onChanged();
}

void WatchView::stop() {
    if (running_) ctx_.comm.PollStop = 1;
}
