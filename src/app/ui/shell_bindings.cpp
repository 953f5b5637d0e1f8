#include "app/ui/shell_bindings.h"

#include <QDesktopServices>
#include <QUrl>

#include "app/app_context.h"
#include "app/language.h"
#include "app/settings_file.h"
#include "comm/device_procedures.h"
#include "comm/link.h"
#include "comm/register_map.h"
#include "platform/app_data_folder.h"
#include "program/compiler.h"

ShellProcedures bindShellProcedures(AppContext& ctx, const std::string& settingsFolder) {
    ShellProcedures p;
    p.Connetti = [&ctx] { Connetti(ctx); };
    p.Disconnetti = [&ctx] { Disconnetti(ctx); };
    p.LeggiStatoPLC = [&ctx]() -> int16_t { return LeggiStatoPLC(ctx) ? -1 : 0; };
    p.ImpostaModoDebug = [&ctx](bool debug) { ImpostaModoDebug(ctx, debug); };
    p.MappaRegistri = [&ctx](bool keep) { MappaRegistri(ctx, keep); };
    p.SaveSettings = [&ctx, settingsFolder] {
        std::string folder = settingsFolder.empty() ? GetLocalAppDataFolder() : settingsFolder;
        if (!folder.empty()) SaveSettings(ctx.shell, ctx.comm.CurrentDevice, folder);
    };
    p.CaricaRisorse = [&ctx](uint8_t language) { CaricaRisorse(ctx.shell, language); };
    p.CompilaProgramma = [&ctx] { CompilaProgramma(ctx); };
    p.OpenUrl = [](const std::string& url) {
        QDesktopServices::openUrl(QUrl(QString::fromLatin1(url.data(), static_cast<qsizetype>(url.size()))));
    };
    return p;
}
