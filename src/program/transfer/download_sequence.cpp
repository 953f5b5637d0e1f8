#include "program/transfer/download_sequence.h"

#include "core/app_context.h"
#include "core/build_flags.h"
#include "core/model_catalogue.h"
#include "comm/device_procedures.h"
#include "program/compiler.h"
#include "program/transfer/program_transfer.h"
#include "program/transfer/register_clear.h"
#include "program/transfer/side_area_transfer.h"

namespace {

// Blocks below this are the device's own in the variant build.
int firstTextBlock() { return BuildVariant ? 16 : 0; }

bool sideAreas(AppContext& app, const TransferView& view, const DownloadOptions& options) {
    if (!IsUsbController(app)) return true;
    if (options.strings && !DownloadStringhe(app, view, true)) return false;
    return DownloadIntestazioniCSV(app, view, true) && DownloadBlocchi(app, view, true, firstTextBlock());
}

// Steps 2 to 10; false at the first step that stops the sequence.
bool steps(AppContext& app, const TransferView& view, const DownloadOptions& options,
           const std::function<void()>& refreshRegisters) {
    ScriviComando(app, CmdHalt);
    if (!ScriviComando(app, CmdStop)) {
        app.shell.log.LogWrite("Download Failed");
        return false;
    }
    int32_t size = CompilaProgramma(app);
    if (app.project.Compiler.CompileErrorCount >= 1 || size == 0) return false;
    std::vector<int> blocks = ProgramBlocks(app, size);
    if (options.application && !DownloadProgramma(app, view, blocks)) return false;
    if (options.variables && !DownloadVariabili(app, view, true)) return false;
    if (!sideAreas(app, view, options)) return false;
    if (options.sms && !FunzioneVuota()) return false;
    bool changed = false;
    if (options.verify) changed = VerificaProgramma(app, view, blocks) == VerifyOutcome::Changed;
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
    view.busy(true);
    bool completed = steps(app, view, options, refreshRegisters);
    view.busy(false);
    app.pump.pausa(0.5);
    return completed;
}
