#include "program/transfer/download_sequence.h"

#include <algorithm>
#include <array>
#include <memory>

#include "comm/device_procedures.h"
#include "core/app_context.h"
#include "core/build_flags.h"
#include "core/busy_run.h"
#include "core/model_catalogue.h"
#include "program/compiler.h"
#include "program/transfer/controller_memory_map.h"
#include "program/transfer/program_transfer.h"
#include "program/transfer/register_clear.h"
#include "program/transfer/side_area_encoders.h"
#include "program/transfer/side_area_transfer.h"

namespace {

// Blocks below this are the device's own in the variant build.
int firstTextBlock() { return BuildVariant ? 16 : 0; }

bool sideAreas(AppContext& app, const Project& sent, const TransferView& view,
               const DownloadOptions& options) {
    if (!IsUsbController(app)) return true;
    if (options.strings && !DownloadStringhe(app, sent, view, true)) return false;
    return DownloadIntestazioniCSV(app, sent, view, true) &&
           DownloadBlocchi(app, sent, view, true, firstTextBlock());
}

bool failed(AppContext& app, const std::string& why) {
    if (!why.empty()) app.shell.log.LogWrite(why);
    app.shell.log.LogWrite("Download Failed");
    return false;
}

// Whether the CSV header lines the compile built fit their slots; the first that does not is named.
bool csvHeadersFit(AppContext& app) {
    std::array<uint8_t, CsvHeaderSlot> scratch{};
    const TaskArray& tasks = app.project.Tasks;
    for (int t = 1; t <= std::min<int>(tasks.Count, CsvHeaderTasks); ++t) {
        const std::string& line = tasks.Tasks[size_t(t)].CsvHeaderLine;
        if (!line.empty() && EncodeCsvHeader(line, scratch) == 0)
            return failed(app, "The CSV header of task " + std::to_string(t) + " is longer than " +
                                   std::to_string(CsvHeaderSlot - 1) + " characters");
    }
    return true;
}

// Whether the strings and text blocks fit their slots with their terminators; the first that does not
// is named.
bool textsFit(AppContext& app, const DownloadOptions& options) {
    const std::string why = SideTextOverflow(app, options.strings, firstTextBlock());
    return why.empty() || failed(app, why);
}

// What can fail without the controller is done before it is halted, so that a project that cannot be
// sent never stops a running machine. Returns the image size; 0 when the download must not start.
int32_t checkBeforeHalt(AppContext& app, const DownloadOptions& options) {
    int32_t size = CompilaProgramma(app);
    if (app.project.Compiler.CompileErrorCount >= 1 || size == 0) return 0;
    if (const std::string why = options.variables ? UnencodableVariable(app) : ""; !why.empty()) {
        failed(app, why);
        return 0;
    }
    if (IsUsbController(app) && (!csvHeadersFit(app) || !textsFit(app, options))) return 0;
    if (options.sms && !FunzioneVuota()) {
        failed(app, "Sending SMS settings is not available");
        return 0;
    }
    return size;
}

// Steps 2 to 10; false at the first step that stops the sequence.
bool steps(AppContext& app, const TransferView& view, const DownloadOptions& options,
           const std::function<void()>& refreshRegisters) {
    int32_t size = checkBeforeHalt(app, options);
    if (size == 0) return false;
    // What goes out is the project as compiled now, whatever is edited while it goes.
    const auto copy = std::make_unique<const Project>(app.project);
    const Project& sent = *copy;
    const std::vector<int> blocks = ProgramBlocks(app, size);
    ScriviComando(app, CmdHalt);
    if (!ScriviComando(app, CmdStop)) return failed(app, "");
    if (options.application && !DownloadProgramma(app, view, blocks, sent.ProgramImage)) return false;
    if (options.variables && !DownloadVariabili(app, sent, view, true)) return false;
    if (!sideAreas(app, sent, view, options)) return false;
    bool changed = false;
    if (options.verify)
        changed = VerificaProgramma(app, view, blocks, sent.ProgramImage) == VerifyOutcome::Changed;
    if (options.clear) {
        ClearRegistri(app);
        if (refreshRegisters) refreshRegisters();
    }
    if (options.run && changed) {
        // Starting a program that differs from the compiled one could drive outputs unexpectedly.
        app.shell.log.LogWrite("Run after Download skipped");
    } else if (options.run) {
        app.pump.pausa(1);
        ScriviComando(app, CmdRun);
    }
    return true;
}

} // namespace

bool IsUsbController(const AppContext& app) {
    // Several catalogue rows carry each of the two names; the names follow the brand.
    const std::string& name = app.model().ModelName;
    return !name.empty() && (name == app.shell.ModelNames[NameJXV8410USB] || name == app.shell.ModelNames[NameJXV8250USB]);
}

bool DownloadSequence(AppContext& app, const TransferView& view, const DownloadOptions& options,
                      const std::function<void()>& refreshRegisters) {
    if (RefusedDuringRun(app, "Download")) return false;
    const BusyRun run(app, "a download");
    view.busy(true);
    bool completed = steps(app, view, options, refreshRegisters);
    view.busy(false);
    app.pump.pausa(0.5);
    return completed;
}
