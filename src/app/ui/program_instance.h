#pragma once
// The whole program as it starts: its state, the Qt adapters and the main window after start-up, with
// the commands bound and the toolbar and status bar refreshed. The caller shows the window.
#include <memory>
#include <string>

#include "core/app_context.h"
#include "app/shell_procedures.h"
#include "app/ui/main_window.h"
#include "platform/qt_event_pump.h"
#include "platform/qt_link_port.h"
#include "platform/qt_user_dialogs.h"

struct ProgramInstance {
    // settingsFolder: where the settings file lies; empty for the user's application-data folder.
    explicit ProgramInstance(const std::string& settingsFolder = {});

    ShellState shell;
    CommState comm;
    Project project;
    QtEventPump pump;
    QtUserDialogs dialogs;
    QtLinkPort link;
    AppContext ctx{shell, comm, project, pump, dialogs, &link};
    ShellProcedures procs;
    std::unique_ptr<MainWindow> window;
};
