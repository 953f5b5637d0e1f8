#pragma once
// A project and a USB controller model to download or export, and helpers to read the log.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app_context_fixture.h"
#include "core/app_context.h"
#include "core/language.h"
#include "core/model_catalogue.h"
#include "support/fake_dialogs.h"

// Pauses that return at once and add up: the sequences' timing is not what these tests look at.
using InstantPump = TestPump;

constexpr int UsbRow = 5;   // named like the first USB controller
constexpr int PlainRow = 0; // a controller without strings, CSV headers and blocks

inline VariableRecord variable(int32_t reg, uint8_t type, std::string format, std::string name) {
    VariableRecord v;
    v.Register = reg;
    v.ValueType = type;
    v.Format = std::move(format);
    v.Name = std::move(name);
    return v;
}

// A kind-3 operation rung whose data block is `dataSize` bytes.
inline CommandRecord operationRung(uint16_t opcode, uint16_t dataSize) {
    CommandRecord r;
    r.Description = "operation";
    r.FunctionType = 3;
    r.Opcode = opcode;
    r.DataSize = dataSize;
    r.EncodedFlag = -1;
    for (int k = 0; k < 8; ++k)
        r.ArgBytes[size_t(k)] = {uint8_t(k + 1), uint8_t(opcode), 0, 0};
    return r;
}

// The catalogue and the English texts, the USB row with a few strings and text blocks of its own.
inline void setUpShell(ShellState& shell) {
    CaricaRisorse(shell, 1);
    ModelRecord& usb = shell.Models[UsbRow];
    usb.MaxVariables = 255;
    usb.MaxStrings = 4;
    usb.MaxBlocks = 2;
    usb.FirstUserRegister = 35;
}

// Main program of `rungs` operation rungs with data blocks of `dataSize` bytes.
inline void fillProgram(Project& project, int rungs, uint16_t dataSize) {
    ProgramSection& main = project.Program.Sections[0];
    main.RungCount = int16_t(rungs);
    for (int r = 1; r <= rungs; ++r)
        main.Rungs[size_t(r)] = operationRung(uint16_t(20 + r % 50), dataSize);
}

inline void addVariable(Project& project, VariableRecord v) {
    project.Variables.Variables[project.Variables.Count++] = std::move(v);
}

// Log lines without date lines, compile report lines and the two blanks each line ends with.
inline std::vector<std::string> transferLog(const Log& log) {
    static const std::vector<std::string> report{"Compiling", "Error check : OK",
                                                 "Resource usage :", "Compiled"};
    std::vector<std::string> out;
    for (const std::string& l : log.lines()) {
        std::string line = l.substr(0, l.size() - 2);
        if (line.rfind("-- ", 0) == 0 || line.rfind("  ", 0) == 0) continue;
        if (std::find(report.begin(), report.end(), line) != report.end()) continue;
        out.push_back(line);
    }
    return out;
}

template <class Pump> class TransferFixtureT : public ::testing::Test {
  protected:
    TransferFixtureT() {
        setUpShell(shell);
        comm.CurrentDevice.ModelIndex = UsbRow;
        comm.CurrentDevice.NodeAddress = 1;
    }

    ModelRecord& model() { return shell.Models[comm.CurrentDevice.ModelIndex]; }
    void program(int rungs, uint16_t dataSize) { fillProgram(project, rungs, dataSize); }
    void addVariable(VariableRecord v) { ::addVariable(project, std::move(v)); }
    std::vector<std::string> transferLog() const { return ::transferLog(shell.log); }

    ShellState shell;
    CommState comm;
    Project project;
    Pump pump;
    FakeDialogs dialogs;
    AppContext app{shell, comm, project, pump, dialogs};
};

using TransferFixture = TransferFixtureT<InstantPump>;
