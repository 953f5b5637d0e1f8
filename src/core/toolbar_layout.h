#pragma once
// The toolbar's 36 entries from left to right: button key, picture key, tooltip, initial state.
#include <array>
#include <string_view>

struct ToolbarEntry {
    std::string_view Key;     // empty for a separator
    std::string_view Picture; // key into the picture list
    std::string_view Tooltip; // English in every language
    bool EnabledWhenBuilt;
    bool VisibleWhenBuilt = true;
};

inline constexpr std::array<ToolbarEntry, 36> ToolbarLayout{{
    {"proj_new", "file_new", "New Project", true},
    {"proj_open", "file_open", "Open Project", true},
    {"proj_save", "file_save", "Save Project", true},
    {"", "", "", true},
    {"connect", "connect", "Connect Controller", true},
    {"disconnect", "disconnect", "Disconnect Controller", true},
    {"", "", "", true},
    {"download", "download", "Download", false},
    {"upload", "upload", "Upload", false},
    {"", "", "", true},
    {"debug", "debug", "Set Debug Mode", false},
    {"release", "release", "Set Release Mode", false},
    {"", "", "", true},
    {"run", "prog_run", "Run", false},
    {"runBr", "prog_runBr", "Run to Break", false},
    {"pause", "prog_halt", "Halt/Step", false},
    {"step", "prog_step", "Animate", false},
    {"stop", "prog_stop", "Stop", false},
    {"", "", "", true},
    {"rung_add_before", "rung_new_before", "Insert Before", false},
    {"rung_add_after", "rung_new_after", "Insert After", false},
    {"rung_move_up", "rung_move_up", "Move Up", false},
    {"rung_move_down", "rung_move_down", "Move Down", false},
    {"rung_copy", "rung_copy", "Copy", false},
    {"rung_paste", "rung_paste", "Paste", false},
    {"rung_mod", "rung_modifica", "Modify", false},
    {"rung_del", "rung_delete", "Delete", false},
    {"rung_redo", "rung_redo", "Redo", false, false},
    {"new_sub", "new_sub", "New Subroutine", false},
    {"rung_break", "rung_break", "Toggle Break", false},
    {"", "", "", true},
    {"proj_comp", "proj_comp", "Compile Project", true},
    {"view_log", "view_log", "View Log", true},
    {"", "", "", true},
    {"view_reg", "view_reg", "View Registers", true},
    {"view_http", "http", "View Web Pages", true},
}};

// The picture list in the order it is filled; every key is unique.
// clang-format off
inline constexpr std::array<std::string_view, 47> PictureKeys{
    "run", "halt", "stop", "view_reg", "rung_delete", "rung_modifica", "rung_new_before", "rung_new_after",
    "file_open", "file_save", "file_new", "proj_comp", "download", "upload", "view_log", "prog_run",
    "prog_halt", "prog_step", "prog_stop", "connect", "disconnect", "new_sub", "rung_break", "prog_runBr",
    "progetto", "debug", "release", "http", "host", "zoom_on", "zoom_off", "calendar", "rung_move_up",
    "rung_move_down", "rung_copy", "rung_paste", "rung_redo", "disp_label", "disp_number", "disp_image",
    "disp_clock", "disp_date", "disp_led", "disp_progBar", "disp_Line", "flag_ita", "flag_eng"};
// clang-format on
