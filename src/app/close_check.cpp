#include "app/close_check.h"

#include "core/app_context.h"
#include "core/close_question.h"

namespace {
constexpr const char* TransferRunning =
    "A transfer with the device is running. Close the program when it has ended.";
constexpr const char* LoopRunning = "A polling loop is reading the device. Stop it and close the program?";
} // namespace

bool MayEndWaitToClose(const CloseChecks& checks) {
    if (!checks.transferRunning) return true;
    checks.tellWithoutWaiting(TransferRunning);
    return false;
}

bool MayCloseProgram(AppContext& ctx, const CloseChecks& checks, const std::string& title) {
    if (!MayEndWaitToClose(checks)) return false;
    if (ctx.comm.PollBusy && ctx.comm.PollStop == 0) {
        if (ctx.dialogs.messageBox(LoopRunning, MsgButtons::YesNo, MsgIcon::Question, title) !=
            MsgChoice::Yes)
            return false;
        ctx.comm.PollStop = 1; // the loop ends once this close has returned to it
    }
    if (checks.windowsMayClose && !checks.windowsMayClose()) return false;
    return OfferToSave(ctx, checks.saveProject, title);
}
