#pragma once
// The start-up wiring of src/main/main.cpp for the simulator programs: the internal edition's main window
// over state of its own, with the dialogs the program gives it.
#include "app/startup.h"
#include "app/ui/main_window.h"
#include "app/ui/shell_bindings.h"
#include "core/app_context.h"
#include "core/button_groups.h"
#include "platform/qt_event_pump.h"
#include "platform/qt_link_port.h"
#include "platform/qt_user_dialogs.h"

struct SimShell {
    explicit SimShell(QtUserDialogs& dialogs) : ctx{shell, comm, project, pump, dialogs, &link} {
        dialogs.setParent(&window);
        BuildFlags internal = ThisBuild;
        internal.Internal = -1;
        Main(ctx, &window, {internal, {}});
        window.bindCommands();
    }
    ShellState shell;
    CommState comm;
    Project project;
    QtEventPump pump;
    QtLinkPort link;
    AppContext ctx;
    ShellProcedures procs = bindShellProcedures(ctx);
    MainWindow window{ctx, procs};
};
