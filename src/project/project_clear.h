#pragma once
// What a load does before it reads the files: close the program and start a new project.
#include "core/app_context.h"
#include "program/view/project_lifecycle.h"

// Closes the program (save question) and starts a new project (NuovoProgramma, NuovoProgetto) in section
// 0, the section the file set holds, then deletes the new project's empty rung so that the loaded rungs
// start at rung 1. With no lifecycle given (a load without windows) a program view of its own stands in.
// False, with nothing changed, when the save question was cancelled or the save did not happen.
bool clearProjectForLoad(AppContext& ctx, ProjectLifecycle* life = nullptr);
