#include "factorytest/fields/command_guard.h"

#include "core/app_context.h"
#include "core/busy_run.h"

CommandGuard::CommandGuard(AppContext& app, bool& busy, std::function<void()> released)
    : busy_(busy), released_(std::move(released)) {
    if (busy || app.comm.TransactionBusy) {
        app.shell.log.LogWrite("Command refused: another command is still running");
        return;
    }
    if (RefusedDuringRun(app, "Command")) return;
    busy_ = held_ = true;
}

CommandGuard::~CommandGuard() {
    if (!held_) return;
    busy_ = false;
    if (released_) released_();
}
