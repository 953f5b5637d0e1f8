#pragma once
#include <memory>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>

#include "app/ui/main_window.h"
#include "app/ui/shell_bindings.h"
#include "core/app_context.h"
#include "core/build_flags.h"
#include "core/button_groups.h"
#include "fbeditor/editor.h"
#include "platform/qt_event_pump.h"
#include "platform/qt_link_port.h"
#include "support/fake_dialogs.h"
#include "support/sim_controller.h"

// The whole program over a simulated controller on loopback: real procedures, real link, scripted boxes.
struct Program {
    QTemporaryDir folder;
    ShellState shell;
    CommState comm;
    Project project;
    QtEventPump pump;
    FakeDialogs dialogs;
    QtLinkPort link;
    AppContext ctx{shell, comm, project, pump, dialogs, &link};
    ShellProcedures procs = bindShellProcedures(ctx, folder.path().toStdString());
    std::unique_ptr<MainWindow> window = std::make_unique<MainWindow>(ctx, procs);
    SimController sim{3};

    Program() {
        sim.setIdentification(0x8, 0x0, 0xE, 0x7); // "80E7": JXV8410-USB, catalogue row 5
        Main(ctx, window.get(), {ThisBuild, folder.path().toStdString()});
        window->bindCommands();
        AggiornaStato(ctx);
    }
    ~Program() {
        project.ProjectModified = 0;
        window.reset();
    }
    // Settings > Controller: Ethernet to the simulator at node 3, a controller model, OK.
    void confirmSettings(uint16_t port, int modelListPosition) {
        SettingsDialog* d = window->openSettings(SettingsDialog::ConnectionPage);
        d->findChild<QLineEdit*>("txt_IP")->setText("127.0.0.1");
        d->findChild<QLineEdit*>("txt_port")->setText(QString::number(port));
        d->findChild<QLineEdit*>("txt_timeoutTCP")->setText("1500");
        d->findChild<QLineEdit*>("txt_address")->setText("3");
        d->modelList()->setCurrentIndex(modelListPosition);
        d->confirm();
    }
    // Places `rungs` rungs with the function-block editor as a user does (an Add block each, the second a
    // Move) and saves them with "Save as"; returns the file, or "" when a rung could not be placed.
    std::string saveProject(int rungs) {
        project.Program.Sections[0].RungCount = static_cast<int16_t>(rungs);
        Editor editor(ctx);
        editor.load();
        for (int16_t r = 1; r <= rungs; ++r) {
            if (!editor.bind(0, r)) return {};
            editor.chooseFunction(r == 2 ? 7 : 4);
            if (!editor.CompilaComando()) return {};
        }
        const std::string path = folder.filePath("plant.prj").toStdString();
        dialogs.files = {path};
        window->menuItem("mnu_saveAs")->trigger();
        return path;
    }
    QString panel(int p) const { return window->statusPanel(p)->text(); }
    bool logHas(const std::string& text) const {
        for (const auto& line : shell.log.lines())
            if (line.find(text) != std::string::npos) return true;
        return false;
    }
};
