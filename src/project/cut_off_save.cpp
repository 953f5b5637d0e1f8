#include "project/cut_off_save.h"

#include "core/durable_file.h"
#include "core/save_journal.h"
#include "project/project_path.h"
#include "project/project_texts.h"

namespace {

std::string joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}

std::string settledText(const std::string& mainFile, const SaveSettlement& settled, bool saving) {
    if (settled.failure)
        return cutOffSaveUnsettledText(mainFile, settled.failure->path, settled.failure->reason);
    if (settled.outcome == CutOffSave::LeftAsFound)
        return cutOffSaveLeftText(mainFile, joined(settled.changed), joined(settled.keptCopies), saving);
    if (settled.outcome == CutOffSave::NewSetWhole) return cutOffSaveWholeText(mainFile);
    return cutOffSaveText(mainFile, settled.outcome == CutOffSave::NewSetFinished);
}

void tell(AppContext& ctx, const std::string& text, MsgIcon icon) {
    ctx.shell.log.LogStart();
    ctx.shell.log.LogWrite(text);
    ctx.dialogs.messageBox(text, MsgButtons::Ok, icon);
}

} // namespace

bool SettleProjectSet(AppContext& ctx, const std::string& base, bool saving) {
    const std::vector<std::string> files = projectFileNames(base);
    const SaveSettlement settled = SettleCutOffSave(files);
    if (settled.failure || settled.outcome != CutOffSave::None) {
        tell(ctx, settledText(mainFileName(base), settled, saving),
             settled.failure ? MsgIcon::Critical : MsgIcon::Warning);
        if (settled.failure) return false;
        // What that save left beside the files is named in the message.
        if (settled.outcome == CutOffSave::LeftAsFound) return !saving;
    }
    std::vector<std::string> stray = StrayLeftovers(files);
    if (stray.empty()) return true;
    for (std::string& name : stray)
        name = LeafOf(name);
    tell(ctx, strayLeftoversText(mainFileName(base), joined(stray), saving), MsgIcon::Warning);
    return !saving;
}
