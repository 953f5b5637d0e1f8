#include "app/ui/program_instance.h"

#include "core/button_groups.h"
#include "app/startup.h"
#include "app/ui/shell_bindings.h"

ProgramInstance::ProgramInstance(const std::string& settingsFolder)
    : procs(bindShellProcedures(ctx, settingsFolder)), window(std::make_unique<MainWindow>(ctx, procs)) {
    dialogs.setParent(window.get());
    Main(ctx, window.get(), {ThisBuild, settingsFolder});
    dialogs.setDefaultTitle(window->programName().toLatin1().toStdString());
    window->bindCommands();
    window->takeCloseDuringRequests(pump);
    AggiornaStato(ctx);
}
