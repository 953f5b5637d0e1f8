#pragma once
// A fresh application state for the shell's tests, and procedures that record their calls.
#include <string>
#include <vector>

#include "app/shell_procedures.h"
#include "app_context_fixture.h"

struct ShellFixture : AppContextFixture {
    std::vector<std::string> calls; // procedures called, in order

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
