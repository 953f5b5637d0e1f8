#include "tools/tool_guard.h"

#include "core/app_context.h"
#include "core/busy_run.h"

std::string ToolRefusal(AppContext& ctx) {
    const CommState& comm = ctx.comm;
    const std::string why = comm.RunUnderWay       ? std::string(comm.RunUnderWay) + " is under way"
                            : comm.TransactionBusy ? "another request is waiting for its answer"
                            : comm.PollBusy        ? "a polling loop is running"
                                                   : "";
    if (why.empty()) return why;
    ctx.shell.log.LogStart();
    ctx.shell.log.LogWrite("Request refused: " + why);
    return why;
}

bool ToolMaySend(AppContext& ctx) {
    return !RefusedDuringRun(ctx, "Request");
}
