#include "tools/register_view.h"

#include <algorithm>

#include "core/app_context.h"
#include "comm/input_register_read.h"
#include "tools/register_read.h"

namespace {

constexpr int CaptionText = 54; // then the four column headers

} // namespace

RegisterView::RegisterView(AppContext& ctx) : ctx_(ctx) {
    // New names redraw the rows; a window not created yet shows them when it opens, so start-up does not
    // build one that nobody looks at.
    ctx_.comm.onRegisterNamesChanged = [this] { Redraw(); };
}

RegisterView::~RegisterView() {
    ctx_.comm.onRegisterNamesChanged = nullptr;
}

void RegisterView::SetRes() {
    Caption = ctx_.shell.UiText[CaptionText];
    for (size_t c = 0; c < Headers.size(); ++c)
        Headers[c] = ctx_.shell.UiText[CaptionText + 1 + c];
    if (onChanged) onChanged();
}

void RegisterView::AggiornaRegistri_new(bool read) {
    if (load) load();
    if (read) {
        std::vector<int> shown;
        for (int r = first_; r < first_ + shownCount(); ++r)
            shown.push_back(r);
        readRegisters(ctx_, shown);
    }
    Redraw();
}

void RegisterView::refresh() {
    // A polling loop refreshes the view itself; a request waiting for its answer, or a run between its
    // requests, leaves the link busy.
    const CommState& comm = ctx_.comm;
    AggiornaRegistri_new(comm.CurrentDevice.Connected && !comm.PollBusy && !comm.TransactionBusy &&
                         !comm.RunUnderWay);
}

void RegisterView::Redraw() {
    first_ = std::clamp(first_, 0, lastFirstRegister()); // another model may have fewer registers
    Rows.clear();
    for (int r = first_; r < first_ + shownCount(); ++r)
        Rows.push_back(registerRow(ctx_, r));
    if (onChanged) onChanged();
}

int RegisterView::lastFirstRegister() const {
    return std::max(0, modelRegisterCount(ctx_) - rows_);
}

void RegisterView::setFirstRegister(int first) {
    first_ = first;
    Redraw();
}

void RegisterView::setVisibleRows(int rows) {
    rows_ = std::clamp(rows, 1, MaxInputRegisterBlock);
    setFirstRegister(first_);
}

void RegisterView::rowClick(int row) {
    if (row < 0 || row >= static_cast<int>(Rows.size())) return;
    if (!comandi) return;
    const int reg = Rows[static_cast<size_t>(row)].Register;
    comandi(reg, ctx_.comm.Registers[static_cast<size_t>(reg)].ValueType);
}

int RegisterView::shownCount() const {
    return std::clamp(modelRegisterCount(ctx_) - first_, 0, rows_);
}
