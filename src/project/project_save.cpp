#include "project/project_save.h"

#include "core/durable_file.h"
#include "project/cut_off_save.h"
#include "project/project_files.h"
#include "project/project_path.h"
#include "project/project_texts.h"

namespace {

// Subroutine sections with blocks in them: the file set holds the main program only.
std::string unsavedSubroutines(const ProgramStore& program) {
    std::string names;
    int last = std::min<int>(program.SubroutineCount, SectionCount - 1);
    for (int s = 1; s <= last; ++s) {
        const ProgramSection& section = program.Sections[static_cast<size_t>(s)];
        int count = std::min<int>(section.RungCount, MaxRungs);
        for (int r = 1; r <= count; ++r) {
            if (section.Rungs[static_cast<size_t>(r)].FunctionType == 0) continue;
            names += (names.empty() ? "Sub" : ", Sub") + std::to_string(s);
            break;
        }
    }
    return names;
}

FileContents fileSet(const AppContext& ctx, const std::string& base) {
    const Project& p = ctx.project;
    const ModelRecord& model = ctx.model();
    // Section 0 is the program, whatever section the view shows.
    const std::string contents[] = {
        writeProgramFile(p.Program.Sections[0], ctx.shell.VersionText, model.ModelCode),
        writeRegisterFile(ctx.comm.Registers, model),
        writeWatchFile(p.Watch),
        writeTablesFile(p.Tables),
        writeDisplayFile(p.Pages),
        writeTaskFile(p.Tasks),
        writeVariableFile(p.Variables),
        writeStringFile(p.Strings, model),
        writeBlockFile(p.Blocks, model),
        writeImageFile(p.Images),
    };
    const std::vector<std::string> names = projectFileNames(base);
    static_assert(std::size(contents) == std::size(SideFileExtensions) + 2);
    FileContents files;
    for (size_t i = 0; i < names.size(); ++i)
        files.emplace_back(names[i], contents[i]);
    return files;
}

// What a failed save left: the set as it was, a mix or the new set with the journal that names them, or
// the new set saved whole with only its journal or a kept copy left.
std::string failureText(const SaveFailure& failed) {
    if (failed.keptCopyLeft) return keptCopyLeftText(failed.path, failed.reason);
    if (failed.saved) return journalLeftText(failed.path, failed.reason);
    if (!failed.undo) return saveFailedText(failed.path, failed.reason);
    const SaveFailure::Undo& undo = *failed.undo;
    const char* holds = undo.holds == SetHolds::Mix      ? SetMixedText
                        : undo.holds == SetHolds::NewSet ? SetNewText
                                                         : SetOldText;
    const char* next = undo.next == CutOffSave::OldSetBack    ? NextPutsBackText
                       : undo.next == CutOffSave::LeftAsFound ? NextLeavesText
                                                              : NextCompletesText;
    return saveUndoFailedText(failed.path, failed.reason, undo.path, undo.reason, holds, next);
}

} // namespace

bool SalvaProgetto(AppContext& ctx, bool askName) {
    Project& p = ctx.project;
    std::string target = p.CurrentFilePath;
    if (target.empty() || askName) {
        target = ctx.dialogs.saveFile(ProjectFilter);
        if (target.empty()) return false;
    }
    const std::string base = projectBase(target);
    // Writing over files the load could not read whole would lose what it could not read.
    if (!p.DamagedFiles.empty() && base == p.ProjectPath &&
        ctx.dialogs.messageBox(overwriteDamagedText(p.DamagedFiles), MsgButtons::YesNo, MsgIcon::Warning) !=
            MsgChoice::Yes)
        return false;
    // Files the user changed since a cut-off save, and whatever a save left beside the files outside its
    // journal, stay as the message says.
    if (!SettleProjectSet(ctx, base, true)) return false;

    if (std::string subs = unsavedSubroutines(p.Program); !subs.empty()) {
        ctx.shell.log.LogWrite(subroutinesNotSavedText(subs));
        ctx.dialogs.messageBox(subroutinesNotSavedText(subs), MsgButtons::Ok, MsgIcon::Warning);
    }

    // Built in full first, written without processing events: nothing can change the data half way.
    if (auto failed = SaveFilesDurably(fileSet(ctx, base))) {
        const std::string text = failureText(*failed);
        ctx.shell.log.LogStart();
        ctx.shell.log.LogWrite(text);
        ctx.dialogs.messageBox(text, MsgButtons::Ok, failed->saved ? MsgIcon::Warning : MsgIcon::Critical);
        if (!failed->saved) return false; // the project keeps the name it was last saved or opened under
    }
    p.ProjectPath = base;
    p.CurrentFilePath = mainFileName(base);
    p.ProjectModified = 0;
    p.DamagedFiles.clear();
    return true;
}
