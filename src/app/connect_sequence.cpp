#include "app/connect_sequence.h"

#include <array>

#include "core/app_context.h"
#include "core/busy_run.h"
#include "core/button_groups.h"
#include "app/shell_procedures.h"

namespace {
// Catalogue rows named JXV8410, JXV8410-IO, JXV8410-DL, JXV8410-DL-IO, JXV8410-USB, JXV8480, JXV8250-USB.
constexpr std::array<int, 7> ControllerRows{0, 1, 2, 3, 5, 9, 8};
} // namespace

void ConnectSequence(AppContext& ctx, const ShellProcedures& procs) {
    const BusyRun run(ctx, ConnectRun);
    callIf(procs.Disconnetti);
    callIf(procs.Connetti);
    if (!ctx.comm.CurrentDevice.Connected) return;
    checkModel(ctx, procs);
    if (ctx.model().IsProgrammable && procs.LeggiStatoPLC) TakeModeRead(ctx, procs.LeggiStatoPLC() != 0);
}

void checkModel(AppContext& ctx, const ShellProcedures& procs) {
    const uint8_t before = ctx.comm.CurrentDevice.ModelIndex;
    callIf(procs.VerificaModello);
    // The model the user accepted is the one the next start-up expects.
    if (ctx.comm.CurrentDevice.ModelIndex != before) callIf(procs.SaveSettings);
}

bool isControllerModel(const AppContext& ctx) {
    const std::string& name = ctx.model().ModelName;
    if (name.empty()) return false;
    for (int row : ControllerRows)
        if (ctx.shell.Models[static_cast<size_t>(row)].ModelName == name) return true;
    return false;
}
