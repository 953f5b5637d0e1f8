#include "comm/debug_animation.h"

#include "core/app_context.h"
#include "comm/input_register_read.h"

namespace {

// Reads one input register of the current node into the register table.
std::optional<uint16_t> readRegister(AppContext& ctx, int reg) {
    auto values = LeggiRegistriInput(ctx, ctx.comm.CurrentDevice.NodeAddress, reg, 1);
    if (!values) return std::nullopt;
    ctx.comm.Registers[static_cast<size_t>(reg)].Value = values->front();
    return values->front();
}

} // namespace

void DebugAnimation::AnimaDebug() {
    step();
    ctx_.shell.status.AggiornaStato();
}

std::optional<int> DebugAnimation::elementOf(int32_t pc) const {
    const std::vector<EntryRung>& entries = ctx_.project.Compiler.EntryRungs;
    if (entries.empty()) return pc + 1; // nothing compiled in this session: one entry per rung
    if (pc < 0 || pc >= static_cast<int32_t>(entries.size())) return std::nullopt;
    const EntryRung& e = entries[static_cast<size_t>(pc)];
    if (e.Section != ctx_.project.Program.CurrentSection) return std::nullopt;
    return e.Rung;
}

void DebugAnimation::clearTrace() {
    for (int32_t pc : PcHistory)
        colour(pc, RungWhite);
}

bool DebugAnimation::colour(int32_t pc, uint32_t rgb) const {
    const auto element = elementOf(pc);
    return element && view.colourRung && view.colourRung(*element, rgb);
}

void DebugAnimation::step() {
    if (view.load) view.load();
    // A failed read is no counter: marking rung 0 would show a rung the controller is not on.
    const auto pc = readRegister(ctx_, ProgramCounterRegister);
    if (!pc) return;
    PcHistory = {*pc, PcHistory[0], PcHistory[1]};
    // Rungs of an earlier, longer program may have no label any more: nothing to clear, go on.
    if (!ctx_.model().HasTrigger) {
        if (!colour(*pc, RungWhite)) return;
        colour(PcHistory[2], RungWhite);
        colour(PcHistory[1], RungWhite);
    } else {
        const auto status = readRegister(ctx_, StatusWordRegister);
        colour(PcHistory[2], RungWhite);
        colour(PcHistory[1], RungWhite);
        // Without a status word there is no trace to show.
        if (status) colour(PcHistory[1], (*status & StatusTraceBit) ? RungRed : RungGreen);
    }
    if (!colour(*pc, RungYellow)) return;
    const int element = *elementOf(*pc);
    const auto inView = view.rowInView ? view.rowInView(element) : std::nullopt;
    if (inView && !*inView && view.scrollTo) view.scrollTo(element - 1);
}
