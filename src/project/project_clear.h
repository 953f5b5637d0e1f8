#pragma once
// What a load needs of closing the program and starting a new project: the save question, an empty
// main program and the new project's defaults, before the files are read.
#include "app/app_context.h"

// Asks to save a modified project (saving with a name dialog on Yes), then leaves section 0 without
// rungs, no tasks, one empty display page, the model's default variables, empty strings, no tables, empty
// blocks, an empty watch list, ProjectPath "Project" and ProjectModified 0. CurrentSection becomes 0: the
// file set holds the main program.
void clearProjectForLoad(AppContext& ctx);
