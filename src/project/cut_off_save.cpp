#include "project/cut_off_save.h"

#include "core/durable_file.h"
#include "core/save_journal.h"
#include "core/save_leftovers.h"
#include "project/project_path.h"
#include "project/project_texts.h"

namespace {

std::string joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}

std::string leaves(const std::vector<std::string>& paths) {
    std::vector<std::string> names;
    for (const std::string& path : paths)
        names.push_back(LeafOf(path));
    return joined(names);
}

std::string inPlaceText(const SaveLeftovers& left) {
    const std::string missing = leaves(left.missing);
    if (left.inPlace == FilesInPlace::Mix) return mixInPlaceText(missing);
    if (left.inPlace == FilesInPlace::EarlierSet) return earlierSetInPlaceText(missing);
    return unknownSetInPlaceText(missing);
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
    const SaveLeftovers left = FindLeftovers(files);
    if (left.names.empty()) return true;
    if (left.onlyCopies.empty()) {
        // The unfinished part of a save never completed: an Open tells so, a Save only logs it.
        const std::optional<SaveFailure> refused = RemoveUnfinishedSave(left);
        const std::string text = unfinishedSaveRemovedText(
            mainFileName(base), refused ? LeafOf(refused->path) : "", refused ? refused->reason : "");
        if (saving) {
            ctx.shell.log.LogStart();
            ctx.shell.log.LogWrite(text);
        } else {
            tell(ctx, text, MsgIcon::Information);
        }
        return true;
    }
    tell(ctx, strayLeftoversText(mainFileName(base), leaves(left.names), inPlaceText(left), saving),
         MsgIcon::Warning);
    return !saving;
}
