#pragma once
// What a load does before it reads the files: close the program and start a new project.
#include "app/app_context.h"
#include "program/view/project_lifecycle.h"

// Closes the program (save question) and starts a new project (NuovoProgramma, NuovoProgetto) in section
// 0, the section the file set holds, then deletes the new project's empty rung so that the loaded rungs
// start at rung 1. Tables, blocks and the watch list are emptied too. With no lifecycle given (a load
// without windows) a program view of its own stands in.
void clearProjectForLoad(AppContext& ctx, ProjectLifecycle* life = nullptr);
