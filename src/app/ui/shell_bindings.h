#pragma once
// The procedures of the other subsystems, bound for the shell's windows.
#include <string>

#include "app/shell_procedures.h"

struct AppContext;

// settingsFolder: where the settings file is written; empty for the user's application-data folder.
ShellProcedures bindShellProcedures(AppContext& ctx, const std::string& settingsFolder = {});
