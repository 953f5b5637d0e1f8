#include "core/button_groups.h"

#include <algorithm>
#include <array>
#include <span>

#include "core/app_context.h"
#include "core/build_flags.h"

namespace {

struct ButtonGroup {
    std::string_view Name;
    std::span<const std::string_view> Keys;
};

constexpr std::array<std::string_view, 3> ProjectKeys{"proj_new", "proj_open", "proj_save"};
constexpr std::array<std::string_view, 2> DebugReleaseKeys{"debug", "release"};
constexpr std::array<std::string_view, 1> DownloadKeys{"download"};
constexpr std::array<std::string_view, 5> DebugKeys{"run", "runBr", "pause", "step", "stop"};
constexpr std::array<std::string_view, 9> FunctionBlockKeys{
    "rung_add_before", "rung_add_after", "rung_move_up", "rung_move_down", "rung_copy",
    "rung_mod",        "rung_del",       "rung_break",   "proj_comp"};
constexpr std::array<std::string_view, 1> CompilaKeys{"proj_comp"};

constexpr std::array<ButtonGroup, 6> Groups{{
    {"Puls_Project", ProjectKeys},
    {"Puls_DebugRelease", DebugReleaseKeys},
    {"Puls_Download", DownloadKeys},
    {"Puls_Debug", DebugKeys},
    {"Puls_FunctionBlock", FunctionBlockKeys},
    {"Puls_Compila", CompilaKeys},
}};

// Catalogue rows named after the two analog modules JXV7593 and JXV2569 in every brand.
constexpr int NoDebugRowA = 10;
constexpr int NoDebugRowB = 11;

} // namespace

void AbilitaPulsanti(ToolbarState& toolbar, std::string_view group, bool enable) {
    for (const auto& g : Groups)
        if (g.Name == group)
            for (auto key : g.Keys)
                toolbar.setEnabled(key, enable);
}

bool InGroup(std::string_view group, std::string_view key) {
    for (const auto& g : Groups)
        if (g.Name == group) return std::find(g.Keys.begin(), g.Keys.end(), key) != g.Keys.end();
    return false;
}

void AggiornaStato(const StatusInputs& in, ToolbarState& toolbar, StatusPanels& panels) {
    static const ModelRecord noModel{};
    const ModelRecord& model = in.Model ? *in.Model : noModel;

    AbilitaPulsanti(toolbar, "Puls_Project", true);
    AbilitaPulsanti(toolbar, "Puls_DebugRelease", false);
    AbilitaPulsanti(toolbar, "Puls_Download", false);
    AbilitaPulsanti(toolbar, "Puls_Debug", false);
    AbilitaPulsanti(toolbar, "Puls_Compila", true);

    toolbar.DisplayMenuShown = false;
    toolbar.ProgramMenuShown = false;
    if (in.Internal) {
        toolbar.DisplayMenuShown = toolbar.ProgramMenuShown = true;
        AbilitaPulsanti(toolbar, "Puls_Project", true);
    } else {
        if (model.IsProgrammable) {
            toolbar.ProgramMenuShown = true;
            AbilitaPulsanti(toolbar, "Puls_Project", true);
        }
        if (model.HasDisplay) toolbar.DisplayMenuShown = true;
    }

    const bool serial = in.Channel != 0;
    if (in.Connected) {
        bool debugPart =
            model.IsProgrammable &&
            (in.Internal || (model.ModelName != in.NoDebugNameA && model.ModelName != in.NoDebugNameB));
        if (debugPart) {
            AbilitaPulsanti(toolbar, "Puls_DebugRelease", true);
            if (in.DebugMode) {
                panels.set(2, "Debug Mode");
                AbilitaPulsanti(toolbar, "Puls_Debug", true);
                AbilitaPulsanti(toolbar, "Puls_Download", true);
                AbilitaPulsanti(toolbar, "Puls_FunctionBlock", true);
            } else {
                panels.set(2, "Release Mode");
                AbilitaPulsanti(toolbar, "Puls_Debug", false);
            }
            panels.set(3, in.RunState == 0xFF || in.RunState == 0x5A ? "RUN" : "Stop");
        }
        std::string node = " [" + std::to_string(in.NodeAddress) + "]";
        if (!serial) {
            panels.set(1, "Connected");
            panels.set(5, in.IpAddress + node);
        } else {
            panels.set(1, "Port Open");
            panels.set(5, (in.SerialDevice.empty() ? "COM" + std::to_string(in.Port) : in.SerialDevice) + node);
        }
        panels.set(6, model.ModelName);
    } else {
        panels.set(1, serial ? "Port Closed" : "Not Connected");
        panels.set(5, "");
        panels.set(2, "");
        panels.set(3, "");
    }
    toolbar.changed();
}

StatusInputs statusInputs(const AppContext& ctx) {
    const DeviceRecord& d = ctx.comm.CurrentDevice;
    StatusInputs in;
    in.Connected = d.Connected;
    in.Channel = d.Channel;
    in.IpAddress = d.IpAddress;
    in.Port = d.Port;
    in.SerialDevice = d.SerialDevice;
    in.NodeAddress = d.NodeAddress;
    in.DebugMode = d.DebugMode;
    in.RunState = d.RunState;
    in.Model = &ctx.model();
    in.Internal = ctx.shell.Flags.Internal != 0;
    in.NoDebugNameA = ctx.shell.Models[NoDebugRowA].ModelName;
    in.NoDebugNameB = ctx.shell.Models[NoDebugRowB].ModelName;
    return in;
}

void AggiornaStato(AppContext& ctx) {
    AggiornaStato(statusInputs(ctx), ctx.shell.Toolbar, ctx.shell.status);
}

void AbilitaPulsanti(AppContext& ctx, std::string_view group, bool enable) {
    AbilitaPulsanti(ctx.shell.Toolbar, group, enable);
    ctx.shell.Toolbar.changed();
}

void TakeModeRead(AppContext& ctx, bool debug) {
    ctx.comm.CurrentDevice.DebugMode = debug ? -1 : 0;
    AggiornaStato(ctx);
}
