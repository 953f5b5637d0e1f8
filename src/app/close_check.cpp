#include "app/close_check.h"

#include "core/app_context.h"
#include "core/close_question.h"

namespace {
constexpr const char* TransferRunning =
    "A transfer with the device is running. Close the program when it has ended.";
constexpr const char* LoopRunning = "A polling loop is reading the device. Stop it and close the program?";

bool transferRefuses(const CloseChecks& checks) {
    if (!checks.transferRunning) return false;
    checks.tellWithoutWaiting(TransferRunning);
    return true;
}

bool loopRunning(const AppContext& ctx) {
    return ctx.comm.PollBusy && ctx.comm.PollStop == 0;
}

} // namespace

InputHold::WaitClose CloseDuringWait(const AppContext& ctx, const CloseChecks& checks) {
    using How = InputHold::WaitClose;
    if (transferRefuses(checks)) return How::Refused;
    // Ending a loop's wait fails its request, which ends the loop before its question is asked.
    return loopRunning(ctx) ? How::AfterWait : How::EndsWait;
}

bool MayCloseProgram(AppContext& ctx, const CloseChecks& checks, const std::string& title) {
    if (transferRefuses(checks)) return false;
    const bool loop = loopRunning(ctx);
    if (loop &&
        ctx.dialogs.messageBox(LoopRunning, MsgButtons::YesNo, MsgIcon::Question, title) != MsgChoice::Yes)
        return false;
    if (checks.windowsMayClose && !checks.windowsMayClose()) return false;
    if (!OfferToSave(ctx, checks.saveProject, title)) return false;
    if (loop) ctx.comm.PollStop = 1; // the loop ends once this close has returned to it
    return true;
}
