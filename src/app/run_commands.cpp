#include "app/run_commands.h"

#include <algorithm>
#include <array>

#include "app/menu_model.h"
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
