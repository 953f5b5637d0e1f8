#include "app/run_commands.h"

#include <algorithm>
#include <array>

#include "app/menu_model.h"
#include "core/app_context.h"
#include "core/button_groups.h"
#include "core/toolbar_layout.h"

namespace {

constexpr std::array<std::string_view, 20> Kept{
    "mnu_exit",    "mnu_viewProj", "mnu_program", "mnu_Registri",     "mnu_Watch",
    "mnu_log",     "mnu_dialoga",  "mnu_eeprom",  "mnu_MultiSock",    "mnu_About",
    "mnu_print",   "mnu_search",   "mnu_FB_copy", "mnu_ViewHomePage", "mnu_CopyIP",
    "mnu_CopyMAC", "view_log",     "view_reg",    "view_http",        "rung_copy",
};

std::string withoutEllipsis(std::string_view caption) {
    if (caption.ends_with("...")) caption.remove_suffix(3);
    return std::string(caption);
}

// The command before a key may have closed the link or left Debug mode; other keys go off with the
// project or the model.
std::string whyOff(const AppContext& ctx, std::string_view key) {
    const DeviceRecord& d = ctx.comm.CurrentDevice;
    const bool needsDebug = InGroup("Puls_Debug", key) || InGroup("Puls_Download", key);
    if ((needsDebug || InGroup("Puls_DebugRelease", key)) && !d.Connected)
        return "the controller is no longer connected";
    if (needsDebug && !d.DebugMode)
        return d.ModeUnread ? "the controller's mode could not be read"
                            : "the controller is now in Release Mode";
    return "its key was turned off while it waited";
}

} // namespace

bool KeptDuringRun(std::string_view command) {
    return std::find(Kept.begin(), Kept.end(), command) != Kept.end();
}

std::string CommandCaption(std::string_view command) {
    for (const auto& e : ToolbarLayout)
        if (!e.Key.empty() && e.Key == command) return std::string(e.Tooltip);
    const MenuItem* item = findMenu(command);
    if (!item) return std::string(command);
    std::string caption = withoutEllipsis(item->Caption);
    for (const MenuItem* parent = findMenu(item->Parent); parent; parent = findMenu(parent->Parent))
        caption = withoutEllipsis(parent->Caption) + " > " + caption;
    return caption;
}

bool OnInItsTurn(AppContext& ctx, std::string_view key) {
    const ToolbarState& toolbar = ctx.shell.Toolbar;
    if (!toolbar.Enabled.contains(key) || toolbar.enabled(key)) return true;
    ctx.shell.log.LogStart();
    ctx.shell.log.LogWrite(CommandCaption(key) + " not carried out: " + whyOff(ctx, key));
    return false;
}
