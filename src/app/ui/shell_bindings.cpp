#include "app/ui/shell_bindings.h"

#include <QDesktopServices>
#include <QUrl>

#include "core/app_context.h"
#include "core/language.h"
#include "core/settings_file.h"
#include "comm/device_procedures.h"
#include "comm/link.h"
#include "comm/model_check.h"
#include "comm/register_map.h"
#include "fbeditor/editor.h"
#include "platform/app_data_folder.h"
#include "program/compiler.h"
#include "program/table_pages.h"
#include "program/transfer/export_file.h"
#include "program/ui/program_commands.h"
#include "project/project_load.h"
#include "project/project_save.h"

ShellProcedures bindShellProcedures(AppContext& ctx, const std::string& settingsFolder) {
    ShellProcedures p;
    p.Connetti = [&ctx] { Connetti(ctx); };
    p.Disconnetti = [&ctx] { Disconnetti(ctx); };
    p.VerificaModello = [&ctx] { VerificaModello(ctx); };
    p.LeggiStatoPLC = [&ctx]() -> int16_t { return LeggiStatoPLC(ctx) ? -1 : 0; };
    p.ImpostaModoDebug = [&ctx](bool debug) { ImpostaModoDebug(ctx, debug); };
    p.MappaRegistri = [&ctx](bool keep) { MappaRegistri(ctx, keep); };
    p.SaveSettings = [&ctx, settingsFolder] {
        std::string folder = settingsFolder.empty() ? GetLocalAppDataFolder() : settingsFolder;
        SaveSettingsOrTell(ctx.shell, ctx.comm.CurrentDevice, folder, ctx.dialogs);
    };
    p.CaricaRisorse = [&ctx](uint8_t language) { CaricaRisorse(ctx.shell, language); };
    p.CompilaProgramma = [&ctx] { CompilaProgramma(ctx); };
    auto program = std::make_shared<ProgramCommands>(ctx);
    program->life.SalvaProgetto = [&ctx](bool askName) { return SalvaProgetto(ctx, askName); };
    p.Program = program;
    p.CaricaProgetto = [&ctx, program] {
        ProjectLoadHooks hooks;
        hooks.rebuildRung = [program](AppContext&, int16_t section, int16_t rung) {
            return program->rebuildLoadedRung(section, rung);
        };
        hooks.allocateTables = AllocaTabelle;
        hooks.lifecycle = &program->life;
        CaricaProgetto(ctx, hooks);
    };
    p.SalvaProgetto = [&ctx](bool askName) { return SalvaProgetto(ctx, askName); };
    p.Esporta = [&ctx](bool header, bool areas) { Esporta(ctx, TransferView{}, header, areas); };
    p.NuovoProgramma = [program] { return program->NuovoProgramma(); };
    p.NuovoProgetto = [program] { program->NuovoProgetto(); };
    p.OpenUrl = [](const std::string& url) {
        QDesktopServices::openUrl(QUrl(QString::fromLatin1(url.data(), static_cast<qsizetype>(url.size()))));
    };
    return p;
}
