#include "core/busy_run.h"

#include <string>

#include "core/app_context.h"

BusyRun::BusyRun(AppContext& ctx, const char* what) : ctx_(ctx), outermost_(ctx.comm.RunUnderWay == nullptr) {
    if (!outermost_) return;
    ctx_.comm.RunUnderWay = what;
    ctx_.shell.Toolbar.changed();
}

BusyRun::~BusyRun() {
    if (!outermost_) return;
    ctx_.comm.RunUnderWay = nullptr;
    ctx_.shell.Toolbar.changed();
}

bool RefusedDuringRun(AppContext& ctx, std::string_view command) {
    const char* run = ctx.comm.RunUnderWay;
    if (!run) return false;
    ctx.shell.log.LogStart();
    ctx.shell.log.LogWrite(std::string(command) + " refused: " + run + " is under way");
    return true;
}
