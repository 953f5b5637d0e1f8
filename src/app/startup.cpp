#include "app/startup.h"

#include <exception>

#include "core/app_context.h"
#include "core/language.h"
#include "core/model_catalogue.h"
#include "core/resource_strings.h"
#include "core/settings_file.h"
#include "comm/register_map.h"
#include "platform/app_data_folder.h"

namespace {

// Continue-on-error: a step that fails leaves its targets as they were and start-up goes on.
template <class Step> void step(Step&& run) {
    try {
        run();
    } catch (const std::exception&) {
    }
}

} // namespace

void Main(AppContext& ctx, StartupWindow* window, const StartupOptions& options) {
    ShellState& shell = ctx.shell;
    CommState& comm = ctx.comm;
    DeviceRecord& device = comm.CurrentDevice;
    auto windowStep = [&](auto&& run) {
        if (window) step([&] { run(*window); });
    };

    step([&] {
        shell.VersionText = "1.8";
        shell.VersionSuffix = "k";
    });
    shell.Flags = options.flags;
    step([&] { shell.BrandOffset = DeriveBrandOffset(options.flags); });
    windowStep([](StartupWindow& w) { w.CaricaImmagini(); });
    windowStep([&](StartupWindow& w) { w.ShowInternalMenus(options.flags.Internal != 0); });
    step([&] { ctx.project.ProjectModified = 0; });
    windowStep([](StartupWindow& w) { w.SetIcon(); });
    windowStep([&](StartupWindow& w) {
        if (auto caption = ResourceString(601 + shell.BrandOffset)) w.SetCaption(*caption);
    });
    windowStep([](StartupWindow& w) { w.SetSizeTwips(MainWindowWidthTwips, MainWindowHeightTwips); });
    windowStep([](StartupWindow& w) { w.CreaToolBar(); });
    step([&] {
        shell.RegUpdate = 0;
        shell.AnimateTime = 500;
    });
    windowStep([](StartupWindow& w) { w.LoadLogWindow(LogWindowHeightTwips); });
    step([&] { InitModelli(shell.Models, shell.ModelNames, options.flags); });
    step([&] {
        ProgramStore& program = ctx.project.Program;
        program.current().RungCount = 0;
        program.SubroutineCount = 0;
        program.CurrentRungCount = 0;
        program.CurrentSection = 0;
        program.CurrentRung = 0;
    });
    step([&] { ctx.project.Pages.Count = 1; });
    step([&] {
        comm.AnswerTimeout = 2;
        comm.PollStop = 1;
        comm.AnswerExpected = -1;
    });
    step([&] {
        device.IpAddress = "192.168.1.100";
        device.Port = 502;
        device.NodeAddress = 10;
        device.ModelIndex = DefaultModelIndex;
        device.LinkTimeout = 1000;
        comm.LinkMode = 2;
        shell.Language = 1;
    });
    step([&] {
        std::string folder =
            options.settingsFolder.empty() ? GetLocalAppDataFolder() : options.settingsFolder;
        if (!folder.empty()) LeggiSettings(shell, device, folder);
    });
    step([&] { CaricaRisorse(shell, static_cast<uint8_t>(shell.Language), options.flags); });
    windowStep([&](StartupWindow& w) { w.ApplyMenuCaptions(MenuCaptions(shell)); });
    step([&] { MappaRegistri(ctx, true); });
}
