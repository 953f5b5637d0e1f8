#pragma once
// A started main window over fresh state, with scripted dialogs and recording procedures.
#include <QApplication>
#include <memory>

#include "../shell_fixture.h"
#include "app/button_groups.h"
#include "app/ui/main_window.h"

struct WindowFixture : ShellFixture {
    ShellProcedures procs;
    std::unique_ptr<MainWindow> window;

    void start() {
        window = std::make_unique<MainWindow>(ctx, procs, "Melqo");
        window->loadWindowSteps(96.0);
        window->bindCommands();
        window->SetRes();
        AggiornaStato(ctx);
    }
    ~WindowFixture() {
        if (window) {
            project.ProjectModified = 0;
            window.reset();
        }
    }
};

inline std::vector<std::string> englishAndItalianTexts(int language) {
    std::vector<std::string> t(UiTextCount);
    const char* en[] = {"Project", "New", "Open...", "Close", "Save", "Save as...", "Exit", "Settings", "Controller",
                        "Workspace", "View", "Project", "Program", "Registers", "Log", "Tools", "Search", "Immages",
                        "Config", "Variables", "Modbus", "Display", "Tables", "?", "About"};
    const char* it[] = {"Progetto", "Nuovo", "Apri...", "Chiudi", "Salva", "Salva come...", "Esci", "Impostazioni",
                        "Controllore", "Workspace", "Visualizza", "Progetto", "Programma", "Registri", "Log",
                        "Strumenti", "Ricerca", "Immagini", "Configura", "Variabili", "Modbus", "Display", "Tabelle",
                        "?", "Informazioni"};
    for (int k = 19; k <= 43; ++k) t[static_cast<size_t>(k)] = (language == 0 ? it : en)[k - 19];
    t[171] = language == 0 ? "Esporta" : "Export";
    t[172] = language == 0 ? "Salvare i cambiamenti?" : "Do you want to save your changes?";
    t[88] = language == 0 ? "Impostazioni" : "Settings";
    t[93] = "Ethernet";
    return t;
}
