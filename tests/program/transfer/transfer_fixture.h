#pragma once
// A project and a USB controller model to download or export, and helpers to read the log.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/app_context.h"
#include "app_context_fixture.h"
#include "app/model_catalogue.h"
#include "support/fake_dialogs.h"

// Pauses that return at once and add up: the sequences' timing is not what these tests look at.
using InstantPump = TestPump;

constexpr int UsbRow = 5;   // named like the first USB controller
constexpr int PlainRow = 0; // a controller without strings, CSV headers and blocks

// Catalogue rows with the memory map every controller row shares.
inline ModelRecord controllerModel(std::string name, uint16_t maxStrings, uint16_t maxBlocks, uint8_t pitch) {
    ModelRecord m;
    m.ModelName = std::move(name);
    m.MaxVariables = 255;
    m.MaxStrings = maxStrings;
    m.MaxBlocks = maxBlocks;
    m.BlockSize = 512;
    m.BlocksBase = 45056;
    m.MaxTasks = 16;
    m.FirstUserRegister = 35;
    m.VariablesBase = 7680;
    m.VariableRecordSize = pitch;
    m.ProgramBase = 512;
    m.ProgramCapacity = 5634;
    m.ProgramEnd = 6146;
    m.StringsBase = 35840;
    m.IsProgrammable = -1;
    m.HasCsvLogger = -1;
    return m;
}

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
    for (int k = 0; k < 8; ++k) r.ArgBytes[size_t(k)] = {uint8_t(k + 1), uint8_t(opcode), 0, 0};
    return r;
}

// The catalogue rows the tests use and the English compile report texts.
inline void setUpShell(ShellState& shell) {
    shell.ModelNames[NameJXV8410] = "JXV8410";
    shell.ModelNames[NameJXV8410USB] = "JXV8410-USB";
    shell.ModelNames[NameJXV8250USB] = "JXV8250-USB";
    shell.Models[PlainRow] = controllerModel("JXV8410", 0, 0, 16);
    shell.Models[UsbRow] = controllerModel("JXV8410-USB", 4, 2, 16);
    shell.Models[8] = controllerModel("JXV8250-USB", 0, 0, 16);
    for (auto [k, t] : std::initializer_list<std::pair<int, const char*>>{
             {44, "Error check"}, {45, "Error"}, {46, "Resource usage"}, {49, "Compiling"}, {50, "Compiled"},
             {51, "Impossible to compile"}, {52, "Label Error"},
             {211, "The application must contain at least 1 function block"}})
        shell.UiText[size_t(k)] = t;
}

// Main program of `rungs` operation rungs with data blocks of `dataSize` bytes.
inline void fillProgram(Project& project, int rungs, uint16_t dataSize) {
    ProgramSection& main = project.Program.Sections[0];
    main.RungCount = int16_t(rungs);
    for (int r = 1; r <= rungs; ++r) main.Rungs[size_t(r)] = operationRung(uint16_t(20 + r % 50), dataSize);
}

inline void addVariable(Project& project, VariableRecord v) {
    project.Variables.Variables[project.Variables.Count++] = std::move(v);
}

// Log lines without date lines, compile report lines and the two blanks each line ends with.
inline std::vector<std::string> transferLog(const Log& log) {
    static const std::vector<std::string> report{"Compiling", "Error check : OK", "Resource usage :", "Compiled"};
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
