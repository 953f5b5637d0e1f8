#include <QApplication>

#include "core/app_context.h"
#include "core/button_groups.h"
#include "app/startup.h"
#include "app/ui/main_window.h"
#include "app/ui/shell_bindings.h"
#include "platform/qt_event_pump.h"
#include "platform/qt_link_port.h"
#include "platform/qt_user_dialogs.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ShellState shell;
    CommState comm;
    Project project;
    QtEventPump pump;
    QtUserDialogs dialogs;
    QtLinkPort link;
    AppContext ctx{shell, comm, project, pump, dialogs, &link};

    ShellProcedures procs = bindShellProcedures(ctx);
    MainWindow window(ctx, procs);
    dialogs.setParent(&window);
    Main(ctx, &window);
    dialogs.setDefaultTitle(window.programName().toLatin1().toStdString());
    window.bindCommands();
    AggiornaStato(ctx);
    window.show();
    return app.exec();
}
