#include "comm/debug_commands.h"

#include "comm/debug_animation.h"
#include "comm/device_procedures.h"
#include "comm/poll_loop.h"
#include "core/app_context.h"
#include "core/busy_run.h"

namespace {

constexpr double PollSeconds = 1.0;

// The requests a run key sends before its loop are one run: a tool window's request given back between
// them is refused, not sent ahead of the key's command. The loop is none: its Stop and the tool windows
// act inside it.
constexpr const char* RunCommandRun = "a run command";

} // namespace

bool DebugCommands::run() {
    {
        const BusyRun busy(ctx_, RunCommandRun);
        if (ScriviComando(ctx_, CmdRun)) animation_.clearTrace();
    }
    if (!ctx_.shell.RegUpdate) return true;
    ctx_.comm.PollStop = 0;
    PollLoop(ctx_, PollSeconds, [this] {
        refreshRegisters();
        return true;
    });
    return true;
}

bool DebugCommands::runToBreak() {
    if (ctx_.project.ProjectModified == -1 &&
        ctx_.dialogs.messageBox("Program modified: download program to avoid mismatch",
                                MsgButtons::AbortRetryIgnore, MsgIcon::None, "Warning") != MsgChoice::Ignore)
        return false;
    // The run status is cached in the register table; a failed read gives 0 and ends the wait as well.
    int32_t& runStatus = ctx_.comm.Registers[0].Value;
    {
        const BusyRun busy(ctx_, RunCommandRun);
        ScriviComando(ctx_, CmdRunToBreak);
        runStatus = readRunStatus();
    }
    ctx_.comm.PollStop = 0;
    if (runStatus == CmdRunToBreak)
        PollLoop(ctx_, PollSeconds, [&] {
            runStatus = readRunStatus();
            if (ctx_.shell.RegUpdate) refreshRegisters();
            return runStatus == CmdRunToBreak;
        });
    ctx_.comm.PollStop = 1;
    showWhereStopped();
    return true;
}

bool DebugCommands::pause() {
    ScriviComando(ctx_, CmdHalt);
    showWhereStopped();
    return true;
}

bool DebugCommands::step() {
    ctx_.comm.PollStop = 0;
    PollLoop(ctx_, ctx_.shell.AnimateTime / 1000.0, [this] {
        ScriviComando(ctx_, CmdHalt);
        showWhereStopped();
        return true;
    });
    return true;
}

bool DebugCommands::stop() {
    ScriviComando(ctx_, CmdHalt);
    ScriviComando(ctx_, CmdStop);
    showWhereStopped();
    return true;
}

void DebugCommands::showWhereStopped() {
    animation_.AnimaDebug();
    refreshRegisters();
}

void DebugCommands::refreshRegisters() const {
    if (refreshRegisters_) refreshRegisters_();
}

int32_t DebugCommands::readRunStatus() {
    return static_cast<int32_t>(LeggiRegistro(ctx_, ctx_.comm.CurrentDevice.NodeAddress, 0));
}
