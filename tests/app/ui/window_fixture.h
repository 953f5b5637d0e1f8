#pragma once
// A started main window over fresh state, with scripted dialogs and recording procedures.
#include <gtest/gtest.h>

#include <memory>

#include "../shell_fixture.h"
#include "app/ui/main_window.h"
#include "core/button_groups.h"
#include "core/language.h"

// The named child of a window, which must be there.
template <class T> T* child(QWidget* w, const char* name) {
    T* c = w->findChild<T*>(name);
    EXPECT_TRUE(c) << name;
    return c;
}

struct WindowFixture : ShellFixture {
    ShellProcedures procs;
    std::unique_ptr<MainWindow> window;

    WindowFixture() { CaricaRisorse(shell, 1); }

    // The window steps of start-up in Main's order, the texts of the current language, then the commands.
    void start() {
        window = std::make_unique<MainWindow>(ctx, procs);
        window->CaricaImmagini();
        window->ShowInternalMenus(false);
        window->SetIcon();
        window->SetCaption("Melqo");
        window->SetSizeTwips(MainWindowWidthTwips, MainWindowHeightTwips);
        window->CreaToolBar();
        window->LoadLogWindow(LogWindowHeightTwips);
        window->bindCommands();
        window->SetRes();
        AggiornaStato(ctx);
    }
    // Procedures that record their calls, with the real text loader.
    void recordAndLoadTexts(bool connectWorks, int16_t debugMode = -1) {
        procs = recordingProcedures(connectWorks, debugMode);
        procs.CaricaRisorse = [this](uint8_t language) { CaricaRisorse(shell, language); };
    }
    ~WindowFixture() {
        if (window) {
            project.ProjectModified = 0;
            window.reset();
        }
    }
};
