#pragma once
// The program's state and its ways out to the world, handed by reference to every procedure.
#include "core/shell_state.h"
#include "core/comm_state.h"
#include "core/event_pump.h"
#include "core/user_dialogs.h"
#include "core/project.h"

class LinkPort;

struct AppContext {
    ShellState& shell;
    CommState& comm;
    Project& project;
    EventPump& pump;
    UserDialogs& dialogs;
    LinkPort* link = nullptr; // the device link (serial or TCP); none until the first connect

    // The row of the model in use; an index beyond the catalogue falls back to the default row.
    const ModelRecord& model() const {
        uint8_t i = comm.CurrentDevice.ModelIndex;
        return shell.Models[i < ModelRows ? i : DefaultModelIndex];
    }
};
