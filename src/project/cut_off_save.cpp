#include "project/cut_off_save.h"

#include <algorithm>

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

// The leaves of those of names still there, but for those named apart (skip, leaves).
std::string stillThere(const std::vector<std::string>& names, const std::vector<std::string>& skip) {
    std::vector<std::string> there;
    for (const std::string& name : names)
        if (std::find(skip.begin(), skip.end(), LeafOf(name)) == skip.end() &&
            SystemFileSystem().exists(name))
            there.push_back(name);
    return leaves(there);
}

std::string inPlaceText(const SaveLeftovers& left, const std::string& mainFile) {
    const std::string missing = leaves(left.missing);
    switch (left.inPlace) {
    case FilesInPlace::Mix:
        return mixInPlaceText(missing);
    case FilesInPlace::EarlierSet:
        return earlierSetInPlaceText(missing, true);
    case FilesInPlace::EarlierByCopy:
        return earlierSetInPlaceText(missing, false);
    case FilesInPlace::NoSet:
        return noSetInPlaceText(LeafOf(mainFile));
    case FilesInPlace::Unknown:
        break;
    }
    return unknownSetInPlaceText(missing);
}

// What that save left stays beside the files, named in the message: a Save would write beside it.
bool keepsLeftovers(const SaveSettlement& settled) {
    return settled.journalStays || settled.leftover;
}

std::string settledText(const std::vector<std::string>& files, const SaveSettlement& settled, bool saving) {
    const std::string& mainFile = files.front();
    if (settled.failure)
        return cutOffSaveUnsettledText(mainFile, settled.failure->path, settled.failure->reason);
    const std::string journal = JournalName(mainFile);
    std::string left;
    if (settled.leftover) {
        // Every temporary file and kept copy still there, and the journal, but those named apart stayed with
        // the first.
        std::vector<std::string> beside, apart = settled.changed;
        for (const std::string& file : files)
            beside.insert(beside.end(), {TemporaryName(file), KeptCopyName(file)});
        beside.push_back(journal);
        for (const auto* kept : {&settled.keptCopies, &settled.newCopies})
            apart.insert(apart.end(), kept->begin(), kept->end());
        apart.push_back(LeafOf(settled.leftover->path));
        if (settled.journalStays) apart.push_back(LeafOf(journal));
        left = exceptLeftText(LeafOf(settled.leftover->path), settled.leftover->reason,
                              stillThere(beside, apart));
    }
    const bool stops = saving && keepsLeftovers(settled);
    if (settled.outcome == CutOffSave::LeftAsFound)
        return cutOffSaveLeftText(mainFile, joined(settled.changed),
                                  {joined(settled.keptCopies), joined(settled.newCopies),
                                   joined(settled.changedCopies),
                                   settled.journalStays ? LeafOf(journal) : ""},
                                  stops    ? FoundAt::StoppedSave
                                  : saving ? FoundAt::Save
                                           : FoundAt::Open,
                                  left);
    const std::string notSaved = stops ? NotSavedText : "";
    if (settled.outcome == CutOffSave::NewSetWhole) return notSaved + cutOffSaveWholeText(mainFile, left);
    return notSaved + cutOffSaveText(mainFile, settled.outcome == CutOffSave::NewSetFinished, left);
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
        tell(ctx, settledText(files, settled, saving),
             settled.failure ? MsgIcon::Critical : MsgIcon::Warning);
        if (settled.failure) return false;
        if (keepsLeftovers(settled)) return !saving;
    }
    const SaveLeftovers left = FindLeftovers(files);
    if (left.names.empty()) return true;
    if (left.onlyCopies.empty()) {
        // The unfinished part of a save never completed: an Open tells so, a Save only logs it. Where some
        // of it could not be removed, the main file's temporary file stays with it (see
        // RemoveUnfinishedSave), and a Save stops: it would write beside them.
        const std::optional<SaveFailure> refused = RemoveUnfinishedSave(left);
        const bool markStays = refused && !left.mark.empty() && refused->path != left.mark &&
                               SystemFileSystem().exists(left.mark);
        UnfinishedSaveRemoval removal{.mainFile = mainFileName(base), .nonePlaced = !left.mark.empty()};
        if (refused) {
            removal.refused = LeafOf(refused->path);
            removal.reason = refused->reason;
            removal.others = stillThere(left.names, {removal.refused, LeafOf(left.mark)});
            if (markStays) removal.mark = LeafOf(left.mark);
        }
        const std::string text = unfinishedSaveRemovedText(removal);
        if (saving && refused) {
            tell(ctx, NotSavedText + text, MsgIcon::Warning);
            return false;
        }
        if (saving) {
            ctx.shell.log.LogStart();
            ctx.shell.log.LogWrite(text);
        } else {
            tell(ctx, text, MsgIcon::Information);
        }
        return true;
    }
    bool filesInPlace = false;
    for (const std::string& file : files)
        filesInPlace |= SystemFileSystem().exists(file);
    tell(ctx,
         strayLeftoversText(mainFileName(base), leaves(left.names), inPlaceText(left, mainFileName(base)),
                            saving, filesInPlace),
         MsgIcon::Warning);
    return !saving;
}
