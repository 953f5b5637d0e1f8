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

// What the download and the export send: 3 operation rungs with 10-byte blocks (118 bytes with the
// task), two variables, a string, a CSV header line and a text block.
inline void fillProject(Project& project, std::string csvHeader) {
    ProgramSection& main = project.Program.Sections[0];
    main.RungCount = 3;
    for (int r = 1; r <= 3; ++r)
        main.Rungs[size_t(r)] = operationRung(uint16_t(20 + r), 10);
    project.Variables.Count = 2;
    project.Variables.Variables[0] = variable(100, 0, "%+5.0f", "Var0");
    project.Variables.Variables[1] = variable(101, 4, "%6.2f", "Temp");
    project.Strings[0].Text = "Hello";
    project.Tasks.Count = 1;
    project.Tasks.Tasks[1].CsvHeaderLine = std::move(csvHeader);
    project.Blocks[1].Text = "Block one";
}

// Bytes [from, from + n) of an image.
inline std::vector<uint8_t> slice(const std::vector<uint8_t>& b, size_t from, size_t n) {
    return std::vector<uint8_t>(b.begin() + long(from), b.begin() + long(from + n));
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
    std::vector<std::string> transferLog() const { return ::transferLog(shell.log); }

    ShellState shell;
    CommState comm;
    Project project;
    Pump pump;
    FakeDialogs dialogs;
    AppContext app{shell, comm, project, pump, dialogs};
};

using TransferFixture = TransferFixtureT<InstantPump>;
