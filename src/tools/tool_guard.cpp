#include "tools/tool_guard.h"

#include "core/app_context.h"
#include "core/busy_run.h"

bool ToolMayStart(AppContext& ctx) {
    if (!ToolMaySend(ctx)) return false;
    const CommState& comm = ctx.comm;
    if (!comm.TransactionBusy && !comm.PollBusy) return true;
    ctx.shell.log.LogStart();
    ctx.shell.log.LogWrite(comm.TransactionBusy ? "Request refused: another request is waiting for its answer"
                                                : "Request refused: a polling loop is running");
    return false;
}

bool ToolMaySend(AppContext& ctx) {
    return !RefusedDuringRun(ctx, "Request");
}
