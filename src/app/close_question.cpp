#include "app/close_question.h"

#include "app/app_context.h"
#include "app/shell_procedures.h"

bool ConfirmClose(AppContext& ctx, const ShellProcedures& procs, const std::string& caption) {
    if (ctx.project.ProjectModified != -1) return true;
    MsgChoice choice =
        ctx.dialogs.messageBox(ctx.shell.UiText[172], MsgButtons::OkCancel, MsgIcon::None, caption);
    if (choice != MsgChoice::Ok) return true;
    if (!procs.SalvaProgetto) return false;
    return procs.SalvaProgetto(true);
}
