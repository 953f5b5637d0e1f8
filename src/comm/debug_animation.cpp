#include "comm/debug_animation.h"

#include "app/app_context.h"
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

bool DebugAnimation::colour(int32_t pc, uint32_t rgb) const {
    return view.colourRung && view.colourRung(pc + 1, rgb);
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
    const auto inView = view.rowInView ? view.rowInView(*pc + 1) : std::nullopt;
    if (inView && !*inView && view.scrollTo) view.scrollTo(*pc);
}
