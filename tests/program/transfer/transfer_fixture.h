#pragma once
// A project and a USB controller model to download or export, on states of its own or on a session with
// the simulated controller over TCP or RTU on a pseudo-terminal; helpers to read the log and the requests.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app_context_fixture.h"
#include "core/model_catalogue.h"
#include "program/transfer/transfer_view.h"
#include "support/sim_controller.h"
#include "support/sim_session.h"

using Lines = std::vector<std::string>;

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

// What the download and the export send: 3 kind-3 operation rungs with 10-byte blocks (118 bytes with
// the task), two variables, a string, a CSV header line and a text block.
inline void fillProject(Project& project, std::string csvHeader) {
    ProgramSection& main = project.Program.Sections[0];
    main.RungCount = 3;
    for (int r = 1; r <= 3; ++r) {
        CommandRecord& op = main.Rungs[size_t(r)];
        op.Description = "operation";
        op.FunctionType = 3;
        op.Opcode = uint16_t(20 + r);
        op.DataSize = 10;
        op.EncodedFlag = -1;
        for (int k = 0; k < 8; ++k)
            op.ArgBytes[size_t(k)] = {uint8_t(k + 1), uint8_t(op.Opcode), 0, 0};
    }
    project.Variables.Count = 2;
    project.Variables.Variables[0] = variable(100, 0, "%+5.0f", "Var0");
    project.Variables.Variables[1] = variable(101, 4, "%6.2f", "Temp");
    project.Strings[0].Text = "Hello";
    project.Tasks.Count = 1;
    project.Tasks.Tasks[1].CsvHeaderLine = std::move(csvHeader);
    project.Blocks[1].Text = "Block one";
}

// Bytes [from, from + n) of an image.
inline Bytes slice(const Bytes& b, size_t from, size_t n) {
    return Bytes(b.begin() + long(from), b.begin() + long(from + n));
}

// States of its own, with a pump that returns at once: the timing is not what these tests look at.
struct OwnStates : ::testing::Test, AppContextFixture {
    AppContext& app = ctx;
};

enum class Link { Tcp, Rtu };

// The program's pump, whose pauses only run a pass of events: these tests look at what is sent and
// stored; the download benchmark times the pauses.
struct NoPausePump : QtEventPump {
    void pausa(double) override { processEvents(); }
};

// The states of a session with the simulated controller, connected over the parameter's link.
struct SessionStates : ::testing::TestWithParam<Link> {
    SessionStates() { CaricaRisorse(shell, 1); }
    void SetUp() override {
        ASSERT_TRUE(GetParam() == Link::Tcp ? session.connectTcp(sim.startTcp())
                                            : session.connectRtu(sim.startRtu()));
        sim.clearTranscript();
        shell.log.LogClear();
    }

    SimController sim{10};
    SimSession session;
    ShellState& shell = *session.shell;
    CommState& comm = *session.comm;
    Project& project = *session.project;
    FakeDialogs& dialogs = session.dialogs;
    NoPausePump pump;
    AppContext app{shell, comm, project, pump, dialogs, &session.link};
};

// The catalogue and the English texts, the USB row current with a few strings and text blocks of its own.
template <class States> class TransferFixtureT : public States {
  protected:
    TransferFixtureT() {
        ModelRecord& usb = this->shell.Models[UsbRow];
        usb.MaxVariables = 255;
        usb.MaxStrings = 4;
        usb.MaxBlocks = 2;
        usb.FirstUserRegister = 35;
        this->comm.CurrentDevice.ModelIndex = UsbRow;
    }

    ModelRecord& model() { return this->shell.Models[this->comm.CurrentDevice.ModelIndex]; }
    // Log lines without date lines, compile report lines (its warnings too) and the two blanks each line
    // ends with.
    Lines transferLog() const {
        static const Lines report{"Compiling", "Error check : OK", "Resource usage :", "Compiled"};
        Lines out;
        for (const std::string& l : this->shell.log.lines()) {
            std::string line = l.substr(0, l.size() - 2);
            if (line.rfind("-- ", 0) == 0 || line.rfind("  ", 0) == 0 || line.rfind("Warning: ", 0) == 0)
                continue;
            if (std::find(report.begin(), report.end(), line) != report.end()) continue;
            out.push_back(line);
        }
        return out;
    }
    Bytes image(size_t from, size_t n) const { return slice(this->project.ProgramImage, from, n); }
};

using TransferFixture = TransferFixtureT<OwnStates>;

// A ProgressBar that remembers every value it was given.
class RecordingBar : public ProgressBar {
  public:
    explicit RecordingBar(int max) : max_(max) {}
    int maximum() const override { return max_; }
    void setValue(int value) override { values.push_back(value); }
    std::vector<int> values;

  private:
    int max_;
};

class DeviceFixture : public TransferFixtureT<SessionStates> {
  protected:
    // The next requests pass, then the one after them gets an exception answer.
    void failRequestAfter(int passing) {
        for (int i = 0; i < passing; ++i)
            sim.inject({SimFault::Delay, 0});
        sim.inject({SimFault::Exception, 0, 4});
    }
    Bytes memoryImage(size_t from, size_t n) const { return slice(project.MemoryImage, from, n); }
};

inline std::string linkName(const ::testing::TestParamInfo<Link>& info) {
    return info.param == Link::Tcp ? "Tcp" : "Rtu";
}

// Request builders, as they appear in the transcript.
inline Bytes command(uint8_t code) {
    return {10, 6, 0, 0, 0, code};
}
inline Bytes memoryWrite(int address, const Bytes& data) {
    Bytes r{10, 20, 4, 0, uint8_t(address >> 8), uint8_t(address & 0xFF), uint8_t(data.size())};
    r.insert(r.end(), data.begin(), data.end());
    return r;
}
inline Bytes memoryRead(uint8_t sub, int address) {
    return {10, 20, sub, 0, uint8_t(address >> 8), uint8_t(address & 0xFF), 32};
}
