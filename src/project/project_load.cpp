#include "project/project_load.h"

#include "program/compiler.h"
#include "program/display_compiler.h"
#include "program/scheduler_compiler.h"
#include "project/cut_off_save.h"
#include "project/file_io.h"
#include "project/project_clear.h"
#include "project/project_files.h"
#include "project/project_path.h"
#include "project/project_texts.h"

namespace {

class SetReader {
  public:
    SetReader(std::string base, LoadReport& report) : base_(std::move(base)), report_(report) {}

    // The file's bytes, or nullopt (reported) when it is missing, unreadable, not a regular file or too
    // large.
    std::optional<std::string> read(std::string_view ext) {
        std::string path = base_ + std::string(ext);
        if (!FileExists(path)) {
            report_.add(std::string(ext) + ": missing", false); // nothing to lose by saving
            return std::nullopt;
        }
        std::string reason;
        auto data = ReadUserFile(path, &reason);
        if (!data) report_.add(std::string(ext) + ": " + reason + ", not read");
        return data;
    }

  private:
    std::string base_;
    LoadReport& report_;
};

void rebuildLoadedRung(AppContext& ctx, const ProjectLoadHooks& hooks, int16_t rung, LoadReport& report) {
    CommandRecord& r = ctx.project.Program.Sections[0].Rungs[static_cast<size_t>(rung)];
    r.EncodedFlag = -1; // the editor takes value types and trigger settings from the stored fields
    if (hooks.rebuildRung && !hooks.rebuildRung(ctx, 0, rung)) {
        // Its stored fields stay, but nothing encoded them: the compile refuses it until it is added again.
        r.EncodedFlag = 0;
        report.add(".prj: rung " + std::to_string(rung) +
                       " could not be re-encoded: it stays not encoded until it is opened and added again",
                   false);
    }
}

void showReport(AppContext& ctx, const LoadReport& report) {
    if (report.problems.empty()) return;
    ctx.shell.log.LogStart(); // the problems are one entry of the log, under its date line
    for (const std::string& line : report.problems)
        ctx.shell.log.LogWrite(line);
    ctx.dialogs.messageBox(loadProblemsText(report.problems.size()), MsgButtons::Ok, MsgIcon::Warning);
}

} // namespace

bool CaricaProgetto(AppContext& ctx, const ProjectLoadHooks& hooks) {
    std::string chosen = ctx.dialogs.openFile(ProjectFilter);
    if (chosen.empty()) return false;
    // A set whose last save was cut off is made whole first: never read as a mix of two saves.
    if (!SettleProjectSet(ctx, projectBase(chosen), false)) return false;
    // May save the old project under another name: keep the chosen one apart. A save that did not
    // happen ends the load with the old project as it was.
    if (!clearProjectForLoad(ctx, hooks.lifecycle)) return false;

    Project& p = ctx.project;
    const ModelRecord& model = ctx.model();
    p.ProjectPath = projectBase(chosen);
    p.CurrentFilePath = chosen;
    LoadReport report;
    SetReader files(p.ProjectPath, report);

    // The main file's version picks the layout of every file, so it is read first.
    auto main = files.read(".prj");
    std::string version = main ? programFileVersion(*main) : "";
    SetLayout layout{version == ctx.shell.VersionText, 0};

    if (auto data = files.read(".ptb")) {
        readTablesFile(*data, layout.mode(), p.Tables, report);
        if (hooks.allocateTables) hooks.allocateTables(p.Tables);
    }
    bool carryOn = true;
    if (main) {
        if (version > ctx.shell.VersionText)
            carryOn = ctx.dialogs.messageBox(WrongVersionText, MsgButtons::OkCancel, MsgIcon::Question) ==
                      MsgChoice::Ok;
        if (carryOn)
            readProgramFile(
                *main, layout, p.Program, [&](int16_t rung) { rebuildLoadedRung(ctx, hooks, rung, report); },
                report);
    }
    if (carryOn) {
        if (auto data = files.read(".lst")) {
            readRegisterFile(*data, layout.mode(), ctx.comm.Registers, model, report);
            if (hooks.lifecycle && hooks.lifecycle->redrawRegisters) hooks.lifecycle->redrawRegisters();
        }
        if (auto data = files.read(".dsp")) {
            readDisplayFile(*data, layout, p.Pages, report);
            // Pages past the fourth stay in the project; only the compile can refuse them.
            if (int left = frm_display::CompilaOggetti(p.Pages, p.Program); left > 0)
                ctx.shell.log.LogWrite(".dsp: " + std::to_string(left) + " page(s) beyond " +
                                       std::to_string(frm_display::CompiledPageLimit) +
                                       " have no program section");
        }
        if (auto data = files.read(".skd")) {
            readTaskFile(*data, layout, p.Tasks, report);
            frm_scheduler::CompilaOggetti(p.Tasks);
        }
        if (auto data = files.read(".fmt")) readVariableFile(*data, layout.mode(), p.Variables, report);
        if (auto data = files.read(".str")) readStringFile(*data, layout.mode(), p.Strings, model, report);
        if (auto data = files.read(".blk")) readBlockFile(*data, layout, p.Blocks, model, report);
        if (auto data = files.read(".wtc")) readWatchFile(*data, layout.mode(), p.Watch, report);
        // Sets saved before images were kept have no image file; they load without images.
        if (std::string path = p.ProjectPath + std::string(ImageFileExtension); FileExists(path))
            if (auto data = files.read(ImageFileExtension)) readImageFile(*data, p.Images, report);
        p.Program.CurrentRung = p.Program.Sections[0].RungCount;
        p.CurrentFilePath = mainFileName(p.ProjectPath);
        MapRungEntries(ctx); // the debugger follows the loaded program before it is compiled here
    }
    p.ProjectModified = 0;
    p.DamagedFiles = report.damaged;
    showReport(ctx, report);
    return carryOn;
}
