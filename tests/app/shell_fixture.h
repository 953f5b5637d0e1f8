#pragma once
// A fresh application state for the shell's tests, with scripted dialogs and a pump that never waits.
#include <string>
#include <vector>

#include "app/app_context.h"
#include "app/shell_procedures.h"
#include "support/fake_dialogs.h"

class InstantPump : public EventPump {
  public:
    std::function<void()> onEvents; // what "other events" do while someone waits
    void processEvents() override {
        if (onEvents) onEvents();
    }
    void pausa(double) override { processEvents(); }
    bool waitUntil(const std::function<bool()>& done, int, bool) override {
        for (int i = 0; i < 100 && !done(); ++i)
            processEvents();
        return done();
    }
    int64_t nowMs() const override { return 0; }
};

struct ShellFixture {
    ShellState shell;
    CommState comm;
    Project project;
    InstantPump pump;
    FakeDialogs dialogs;
    AppContext ctx{shell, comm, project, pump, dialogs};
    std::vector<std::string> calls; // procedures called, in order

    ShellFixture() {
        // Model names as the brand-1 texts give them, for the rows the shell looks at.
        const char* names[] = {"JXV8410",     "JXV8410-IO", "JXV8410-DL",    "JXV8410-DL-IO", "JXV8410-DL-IO",
                               "JXV8410-USB", "JXV8250",    "JXV8250-DL",    "JXV8250-USB",   "JXV8480",
                               "JXV7593",     "JXV2569",    "JXV7950-MBTCP", "JXV7593"};
        for (size_t i = 0; i < std::size(names); ++i)
            shell.Models[i].ModelName = names[i];
        for (size_t i = 0; i < 34; ++i)
            shell.Models[i].IsProgrammable = -1;
        shell.Models[9].HasDisplay = -1;
        shell.Models[48].ModelName = "JXV9787";
        shell.Models[17].ModelName = "JXV8250-USB";
        shell.Models[37].ModelName = "JXV8480AI";
        shell.Models[37].IsProgrammable = shell.Models[37].HasDisplay = -1;
        shell.UiText[172] = "Do you want to save your changes?";
    }

    // Procedures that record their calls; Connetti opens the link when connectWorks.
    ShellProcedures recordingProcedures(bool connectWorks, int16_t debugMode = -1) {
        ShellProcedures p;
        p.Disconnetti = [this] {
            calls.push_back("Disconnetti");
            comm.CurrentDevice.Connected = 0;
        };
        p.Connetti = [this, connectWorks] {
            calls.push_back("Connetti");
            comm.CurrentDevice.Connected = connectWorks ? -1 : 0;
        };
        p.VerificaModello = [this] { calls.push_back("VerificaModello"); };
        p.LeggiStatoPLC = [this, debugMode] {
            calls.push_back("LeggiStatoPLC");
            return debugMode;
        };
        p.MappaRegistri = [this](bool keep) {
            calls.push_back(keep ? "MappaRegistri(true)" : "MappaRegistri(false)");
        };
        p.SaveSettings = [this] { calls.push_back("SaveSettings"); };
        return p;
    }
};
