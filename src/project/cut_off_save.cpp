#include "project/cut_off_save.h"

#include "core/durable_file.h"
#include "project/project_path.h"
#include "project/project_texts.h"

bool SettleProjectSet(AppContext& ctx, const std::string& base) {
    const SaveSettlement settled = SettleCutOffSave(projectFileNames(base));
    if (!settled.failure && settled.outcome == CutOffSave::None) return true;
    const std::string text =
        settled.failure
            ? cutOffSaveUnsettledText(mainFileName(base), settled.failure->path, settled.failure->reason)
            : cutOffSaveText(mainFileName(base), settled.outcome == CutOffSave::NewSetFinished);
    ctx.shell.log.LogStart();
    ctx.shell.log.LogWrite(text);
    ctx.dialogs.messageBox(text, MsgButtons::Ok, settled.failure ? MsgIcon::Critical : MsgIcon::Warning);
    return !settled.failure;
}
