#include "factorytest/fields/command_guard.h"

#include "app/app_context.h"

CommandGuard::CommandGuard(AppContext& app, bool& busy) : busy_(busy) {
    if (busy || app.comm.TransactionBusy) {
        app.shell.log.LogWrite("Command refused: another command is still running");
        return;
    }
    busy_ = held_ = true;
}

CommandGuard::~CommandGuard() {
    if (held_) busy_ = false;
}
