#pragma once
// Loading the texts of a language and of the build's brand into the shell's tables.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/build_flags.h"
#include "core/shell_state.h"

// Main-window menus whose caption is an interface text, in the order the loader sets them.
struct MenuCaptionKey {
    std::string_view menu;
    int key;
};
constexpr std::array<MenuCaptionKey, 26> MenuCaptionKeys{{
    {"mnu_project", 19},  {"mnu_new", 20},        {"mnu_openProj", 21},  {"mnu_close", 22},
    {"mnu_SaveProj", 23}, {"mnu_saveAs", 24},     {"mnu_Export", 171},   {"mnu_exit", 25},
    {"mnu_settings", 26}, {"mnu_controller", 27}, {"mnu_workspace", 28}, {"mnu_view", 29},
    {"mnu_viewProj", 30}, {"mnu_program", 31},    {"mnu_Registri", 32},  {"mnu_log", 33},
    {"mnu_tools", 34},    {"mnu_search", 35},     {"mnu_images", 36},    {"mnu_7403", 37},
    {"mnu_Format", 38},   {"mnu_dialoga", 39},    {"mnu_display", 40},   {"mnu_Tables", 41},
    {"mnu_help", 42},     {"mnu_About", 43},
}};

// (menu name, caption) for the 26 menus, from the texts now loaded; the main window applies them.
std::vector<std::pair<std::string, std::string>> MenuCaptions(const ShellState& shell);

// Loads UiText, month, language, model, value-type and function names for the language (0 Italian,
// 1 English) and the shell's BrandOffset, then rebuilds the model catalogue with the new names.
// A text that has no resource keeps its old value.
void CaricaRisorse(ShellState& shell, uint8_t language, const BuildFlags& flags = ThisBuild);
