#pragma once
// Closing the program (NuovoProgramma) and starting a new project (NuovoProgetto). Every caller that
// starts a project runs the first and then the second.
#include <functional>

#include "program/view/program_view.h"

struct ProjectLifecycle {
    ProgramView& view;
    // Saves the project; asked to always ask for a name. Bound to the project file set.
    std::function<bool(bool askName)> SalvaProgetto;
    // Closes the variables window, the tables window and the scheduler designer.
    std::function<void()> closeEditors;
    // Places the program view beside the log window and the register window beside it.
    std::function<void()> arrangeWindows;
    // Unloads the function-block editor and the pickers it waits for: it edits a rung of this project.
    std::function<void()> unloadEditor;
    // Redraws the register view from the register table after its names changed.
    std::function<void()> redrawRegisters;
};

// Asks to save a modified project (Yes / No / Cancel), empties the current section and its rows, drops
// the scheduler tasks, closes the program view and the editors, and disables the function-block and
// compile keys. False, with nothing changed, when the user cancels or the save is cancelled or fails.
bool NuovoProgramma(ProjectLifecycle& life);
// Default project name, the model's variables and empty strings, the register names, one display page,
// one empty rung selected in a freshly loaded program view, the keys enabled, nothing modified. Nothing
// of the previous project stays: subroutines and page sections, tables, text blocks, images, watch list.
void NuovoProgetto(ProjectLifecycle& life);
