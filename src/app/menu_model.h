#pragma once
// The main window's menu tree: every item with its parent, caption and initial visibility.
#include <array>
#include <span>
#include <string>
#include <string_view>

#include "core/build_flags.h"

enum class MenuShown {
    Yes,
    No,
    Internal, // only in builds with BuildInternal
    ByModel,  // set by every status refresh from the model's capability words
};

struct MenuItem {
    std::string_view Name;
    std::string_view Parent;  // empty for the menu bar
    std::string_view Caption; // fixed caption, also the English text; "-" for a separator
    int TextKey;              // UiText key that replaces the caption, -1 for a fixed caption
    MenuShown Shown;
};

inline constexpr std::array<MenuItem, 63> MenuTree{{
    {"mnu_project", "", "Project", 19, MenuShown::Yes},
    {"mnu_new", "mnu_project", "New", 20, MenuShown::Yes},
    {"mnu_openProj", "mnu_project", "Open...", 21, MenuShown::Yes},
    {"mnu_close", "mnu_project", "Close", 22, MenuShown::Yes},
    {"mnu_SaveProj", "mnu_project", "Save", 23, MenuShown::No},
    {"mnu_saveAs", "mnu_project", "Save as...", 24, MenuShown::Yes},
    {"mnu_Export", "mnu_project", "Export", 171, MenuShown::Internal},
    // Printing is built into the internal edition only (the standard edition does not link Qt's printing).
    {"mnu_print", "mnu_project", "Print", -1, BuildInternal ? MenuShown::Internal : MenuShown::No},
    {"mnu_exit", "mnu_project", "Exit", 25, MenuShown::Yes},
    {"mnu_settings", "", "Settings", 26, MenuShown::Yes},
    {"mnu_controller", "mnu_settings", "Controller", 27, MenuShown::Yes},
    {"mnu_workspace", "mnu_settings", "Workspace", 28, MenuShown::Yes},
    {"mnu_view", "", "View", 29, MenuShown::Yes},
    {"mnu_viewProj", "mnu_view", "Project", 30, MenuShown::No},
    {"mnu_program", "mnu_view", "Program", 31, MenuShown::ByModel},
    {"mnu_Registri", "mnu_view", "Registers", 32, MenuShown::Yes},
    {"mnu_Watch", "mnu_view", "Watch", -1, MenuShown::Yes},
    {"mnu_log", "mnu_view", "Log", 33, MenuShown::Yes},
    {"mnu_tools", "", "Tools", 34, MenuShown::Yes},
    {"mnu_search", "mnu_tools", "Search", 35, MenuShown::Yes},
    {"mnu_images", "mnu_tools", "Immages", 36, MenuShown::Yes},
    {"mnu_7403", "mnu_tools", "Config", 37, MenuShown::Yes},
    {"mnu_Format", "mnu_tools", "Variables", 38, MenuShown::Yes},
    {"mnu_dialoga", "mnu_tools", "Modbus", 39, MenuShown::Yes},
    {"mnu_scheduler", "mnu_tools", "Scheduler", -1, MenuShown::Yes},
    {"mnu_display", "mnu_tools", "Display", 40, MenuShown::ByModel},
    {"mnu_Tables", "mnu_tools", "Tables", 41, MenuShown::Yes},
    {"mnu_collaudo", "", "Collaudo", -1, MenuShown::Internal},
    {"mnu_eeprom", "mnu_collaudo", "EEprom", -1, MenuShown::Yes},
    {"mnu_col", "mnu_collaudo", "Collaudo", -1, MenuShown::Yes},
    {"mnu_coll_7593", "mnu_col", "JXV7593", -1, MenuShown::Yes},
    {"mnu_coll_NWAC", "mnu_col", "NW_AC", -1, MenuShown::Yes},
    {"mnu_coll_tools", "mnu_collaudo", "Tools", -1, MenuShown::Yes},
    {"mnu_MultiSock", "mnu_coll_tools", "MultiSock", -1, MenuShown::Yes},
    {"mnu_config_7593", "mnu_coll_tools", "Config_7593", -1, MenuShown::Yes},
    {"mnu_coll_4174", "mnu_coll_tools", "Coll_4174", -1, MenuShown::Yes},
    {"mnu_collQ7R218", "mnu_coll_tools", "Coll_Q7R218", -1, MenuShown::Yes},
    {"mnu_TA", "mnu_coll_tools", "Coll_TA", -1, MenuShown::Yes},
    {"mnu_coll", "mnu_coll_tools", "Collaudo", -1, MenuShown::Yes},
    // The FTP listing is built into the internal edition only (the standard edition does not link libcurl).
    {"mnu_FTP", "mnu_coll_tools", "FTP", -1, BuildInternal ? MenuShown::Yes : MenuShown::No},
    {"mnu_config2", "mnu_coll_tools", "Config2", -1, MenuShown::Yes},
    {"mnu_mac", "mnu_coll_tools", "MAC", -1, MenuShown::Yes},
    {"mnu_boot", "mnu_coll_tools", "Boot Loader", -1, MenuShown::Yes},
    {"mnu_FB", "", "Function Block", -1, MenuShown::No},
    {"mnu_FB_copy", "mnu_FB", "Copy", -1, MenuShown::Yes},
    {"mnu_FB_paste", "mnu_FB", "Paste", -1, MenuShown::Yes},
    {"mn_FB_space3", "mnu_FB", "-", -1, MenuShown::Yes},
    {"mnu_modify", "mnu_FB", "Modify", -1, MenuShown::Yes},
    {"mnu_FB_Delete", "mnu_FB", "Delete", -1, MenuShown::Yes},
    {"mn_FB_space1", "mnu_FB", "-", -1, MenuShown::Yes},
    {"mnu_FB_Insert_Before", "mnu_FB", "Insert Before", -1, MenuShown::Yes},
    {"mnu_FB_Insert_After", "mnu_FB", "Insert After", -1, MenuShown::Yes},
    {"mnu_FB_Space2", "mnu_FB", "-", -1, MenuShown::Yes},
    {"mnu_FB_Break", "mnu_FB", "Toggle Break", -1, MenuShown::Yes},
    {"mnu_Cont", "", "Controller", -1, MenuShown::No},
    {"mnu_SetAsController", "mnu_Cont", "Set as Controller", -1, MenuShown::Yes},
    {"mnu_ViewHomePage", "mnu_Cont", "View HomePage", -1, MenuShown::Yes},
    {"mnu_SetIP", "mnu_Cont", "Set IP address", -1, MenuShown::Yes},
    {"mnu_CopyIP", "mnu_Cont", "Copy IP", -1, MenuShown::Yes},
    {"mnu_CopyMAC", "mnu_Cont", "Copy MAC", -1, MenuShown::Yes},
    {"mnu_SubNodes", "mnu_Cont", "Search Sub Nodes", -1, MenuShown::Yes},
    {"mnu_help", "", "?", 42, MenuShown::Yes},
    {"mnu_About", "mnu_help", "About", 43, MenuShown::Yes},
}};

const MenuItem* findMenu(std::string_view name);
bool isSeparator(const MenuItem& item);
bool isPopupOnly(const MenuItem& item); // the two hidden menus other windows pop up
// The caption in the language of the loaded texts; fixed captions stay as they are.
std::string menuCaption(const MenuItem& item, std::span<const std::string> uiText);
// Visibility of the item itself (not its parents) under the build flag and the model-dependent flags.
bool menuShown(const MenuItem& item, bool internal, bool programShown, bool displayShown);
