#include "project/cut_off_save.h"

#include "project/project_path.h"
#include "project/project_texts.h"

namespace {

std::string joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}

std::string settledText(const std::string& mainFile, const SaveSettlement& settled) {
    if (settled.failure)
        return cutOffSaveUnsettledText(mainFile, settled.failure->path, settled.failure->reason);
    if (settled.outcome == CutOffSave::LeftAsFound)
        return cutOffSaveLeftText(mainFile, joined(settled.changed), joined(settled.keptCopies));
    return cutOffSaveText(mainFile, settled.outcome == CutOffSave::NewSetFinished);
}

} // namespace

std::optional<CutOffSave> SettleProjectSet(AppContext& ctx, const std::string& base) {
    const SaveSettlement settled = SettleCutOffSave(projectFileNames(base));
    if (!settled.failure && settled.outcome == CutOffSave::None) return settled.outcome;
    const std::string text = settledText(mainFileName(base), settled);
    ctx.shell.log.LogStart();
    ctx.shell.log.LogWrite(text);
    ctx.dialogs.messageBox(text, MsgButtons::Ok, settled.failure ? MsgIcon::Critical : MsgIcon::Warning);
    if (settled.failure) return std::nullopt;
    return settled.outcome;
}
