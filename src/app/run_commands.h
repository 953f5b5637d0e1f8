#pragma once
// Which menu items and toolbar keys stay available while a busy run is under way, and how a refusal
// names them.
#include <string>
#include <string_view>

// Whether the menu item or toolbar key (by name) only shows or copies something, and so may act during a
// run. Exit is one of them: its own check refuses a close during a transfer.
bool KeptDuringRun(std::string_view command);

// The command as the user chose it, in English: "Project > Open", "Connect Controller".
std::string CommandCaption(std::string_view command);
