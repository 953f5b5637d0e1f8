#pragma once
// The question when the main window closes with a modified project.
#include <string>

struct AppContext;
struct ShellProcedures;

// True when the window may close. OK saves (asking for the name); a save that is cancelled or fails
// keeps the window open, so nothing is lost. Cancel closes without saving.
bool ConfirmClose(AppContext& ctx, const ShellProcedures& procs, const std::string& caption);
