#pragma once
// A program state connected to the simulated controller, over TCP or RTU on a pseudo-terminal.
#include <string>
#include <vector>

#include "program/transfer/transfer_view.h"
#include "support/sim_controller.h"
#include "support/sim_session.h"
#include "transfer_fixture.h"

enum class Link { Tcp, Rtu };

inline std::string linkName(const ::testing::TestParamInfo<Link>& info) {
    return info.param == Link::Tcp ? "Tcp" : "Rtu";
}

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

class DeviceFixture : public ::testing::TestWithParam<Link> {
  protected:
    DeviceFixture() {
        setUpShell(shell);
        comm.CurrentDevice.ModelIndex = UsbRow;
    }
    void SetUp() override {
        bool connected =
            GetParam() == Link::Tcp ? session.connectTcp(sim.startTcp()) : session.connectRtu(sim.startRtu());
        ASSERT_TRUE(connected);
        sim.clearTranscript();
        shell.log.LogClear();
    }

    ModelRecord& model() { return shell.Models[comm.CurrentDevice.ModelIndex]; }
    std::vector<std::string> transferLog() const { return ::transferLog(shell.log); }
    // The next requests pass, then the one after them gets an exception answer.
    void failRequestAfter(int passing) {
        for (int i = 0; i < passing; ++i)
            sim.inject({SimFault::Delay, 0});
        sim.inject({SimFault::Exception, 0, 4});
    }
    Bytes image(size_t from, size_t n) const { return slice(project.ProgramImage, from, n); }
    Bytes memoryImage(size_t from, size_t n) const { return slice(project.MemoryImage, from, n); }

    SimController sim{10};
    SimSession session;
    ShellState& shell = *session.shell;
    CommState& comm = *session.comm;
    Project& project = *session.project;
    FakeDialogs& dialogs = session.dialogs;
    AppContext& app = session.app;
};

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
