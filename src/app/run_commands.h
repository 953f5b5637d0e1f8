#pragma once
// Which menu items and toolbar keys stay available while a busy run is under way, how a refusal names
// them, and whether a key that waited for a command may still act.
#include <string>
#include <string_view>

struct AppContext;

// Whether the menu item or toolbar key (by name) only shows or copies something, and so may act during a
// run. Exit is one of them: its own check refuses a close during a transfer.
bool KeptDuringRun(std::string_view command);

// The command as the user chose it, in English: "Project > Open", "Connect Controller".
std::string CommandCaption(std::string_view command);

// Whether a toolbar key that waited for a command is still on in its turn (what is no toolbar key is). One
// that is off does not act: one log line names it and says why, "Run not carried out: the controller is
// now in Release Mode".
bool OnInItsTurn(AppContext& ctx, std::string_view key);
