// The toolbar's debug keys through the command router against the simulated controller: what each key
// sends, how the run, run-to-break and animate loops wait, and every way they end.
#include <gtest/gtest.h>

#include "animation_test_support.h"
#include "app/command_router.h"
#include "comm/debug_commands.h"
#include "comm/device_procedures.h"
#include "support/sim_controller.h"
#include "support/sim_session.h"

namespace {

constexpr uint8_t WriteSingle = 6;

class DebugLoops : public ::testing::Test {
  protected:
    void SetUp() override {
        s.comm->CurrentDevice.LinkTimeout = 300;
        ASSERT_TRUE(s.connectTcp(sim.startTcp()));
        animation.view = view.bind();
        using K = CommandRouter::Kind;
        const std::tuple<const char*, bool (DebugCommands::*)(), K> keys[] = {
            {"run", &DebugCommands::run, K::Loop},
            {"runBr", &DebugCommands::runToBreak, K::Loop},
            {"step", &DebugCommands::step, K::Loop},
            {"pause", &DebugCommands::pause, K::Single},
            {"stop", &DebugCommands::stop, K::Single}};
        for (auto [key, command, kind] : keys)
            router.add(
                key, [this, command] { return (commands.*command)(); }, kind);
        sim.clearTranscript();
    }
    // The codes written to the command register, in order.
    std::vector<uint8_t> commandsSent() const {
        std::vector<uint8_t> codes;
        for (const Bytes& r : sim.transcript())
            if (r.size() == 6 && r[1] == WriteSingle && r[2] == 0 && r[3] == 0) codes.push_back(r[5]);
        return codes;
    }
    // The user presses `key` during pause n.
    void pressDuring(size_t n, const char* key) {
        pump.onPause = [this, n, key](size_t k) {
            if (k == n) router.press(key);
        };
    }

    SimController sim{10};
    SimSession s;
    PausePump pump{s.pump};
    AppContext app{*s.shell, *s.comm, *s.project, pump, s.dialogs, &s.link};
    FakeRungView view;
    DebugAnimation animation{app};
    int registerRefreshes = 0;
    DebugCommands commands{app, animation, [this] { ++registerRefreshes; }};
    int statusRefreshes = 0;
    CommandRouter router{s.comm->PollStop, [this] { ++statusRefreshes; }};
};

TEST_F(DebugLoops, RunWithoutRegisterUpdateSendsRunAndReturns) {
    router.press("run");
    EXPECT_EQ(sim.transcript(), (std::vector<Bytes>{{10, 6, 0, 0, 0, 0xFF}}));
    EXPECT_TRUE(pump.pauses.empty());
    EXPECT_EQ(statusRefreshes, 1);
    EXPECT_EQ(s.comm->PollStop, 1);
}

TEST_F(DebugLoops, RunPollsTheRegistersEverySecondUntilStop) {
    s.shell->RegUpdate = -1;
    pump.onPause = [this](size_t k) {
        EXPECT_EQ(s.comm->PollBusy, 1);
        if (k == 3) router.press("stop");
    };
    router.press("run");
    EXPECT_EQ(pump.pauses, (std::vector<double>{1, 1, 1}));
    // Two polls, then the stop key's own refresh; nothing after the stop.
    EXPECT_EQ(registerRefreshes, 3);
    EXPECT_EQ(commandsSent(), (std::vector<uint8_t>{0xFF, 0x64, 0xFC}));
    EXPECT_EQ(sim.commandRegister(), 0xFC);
    EXPECT_EQ(s.comm->PollBusy, 0);
    EXPECT_EQ(statusRefreshes, 2); // the stop key's and the run key's
}

// A stop pressed while the animation waits must be the last command the controller gets.
TEST_F(DebugLoops, AnimateStepsEveryAnimateTimeAndStopsForGood) {
    s.shell->AnimateTime = 500;
    pressDuring(3, "stop");
    router.press("step");
    EXPECT_EQ(pump.pauses, (std::vector<double>{0.5, 0.5, 0.5}));
    EXPECT_EQ(commandsSent(), (std::vector<uint8_t>{0x64, 0x64, 0x64, 0xFC}));
    EXPECT_EQ(sim.commandRegister(), 0xFC);
    // Two animated steps and the stop's read the counter.
    const auto sent = sim.transcript();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), Bytes{10, 4, 0, 13, 0, 1}), 3);
    EXPECT_EQ(registerRefreshes, 3);
}

TEST_F(DebugLoops, PauseHaltsOnceAndShowsWhereItStopped) {
    sim.setProgramCounter(4);
    router.press("pause");
    EXPECT_EQ(sim.transcript(), (std::vector<Bytes>{{10, 6, 0, 0, 0, 0x64}, {10, 4, 0, 13, 0, 1}}));
    EXPECT_EQ(view.colours[5], RungYellow);
    EXPECT_EQ(registerRefreshes, 1);
}

TEST_F(DebugLoops, RunToBreakWaitsWhileTheControllerRunsToTheBreakpoint) {
    sim.setProgramCounter(7);
    pump.onPause = [this](size_t k) {
        if (k == 2) sim.setRunStatus(0x64); // the breakpoint is reached
    };
    router.press("runBr");
    EXPECT_EQ(pump.pauses.size(), 2u);
    EXPECT_EQ(commandsSent(), (std::vector<uint8_t>{0x5A}));
    EXPECT_EQ(s.comm->Registers[0].Value, 0x64);
    EXPECT_EQ(view.colours[8], RungYellow);
    EXPECT_EQ(registerRefreshes, 1); // no polling without RegUpdate, one refresh at the end
    EXPECT_EQ(s.comm->PollStop, 1);
    EXPECT_EQ(statusRefreshes, 1);
}

TEST_F(DebugLoops, RunToBreakRefreshesRegistersWhileWaitingWithRegisterUpdate) {
    s.shell->RegUpdate = -1;
    pump.onPause = [this](size_t k) {
        if (k == 3) sim.setRunStatus(0);
    };
    router.press("runBr");
    EXPECT_EQ(registerRefreshes, 4); // three polls and the final one
}

TEST_F(DebugLoops, RunToBreakOnAModifiedProjectAsksFirst) {
    s.project->ProjectModified = -1;
    s.dialogs.choices = {MsgChoice::Retry};
    router.press("runBr");
    ASSERT_EQ(s.dialogs.boxes.size(), 1u);
    EXPECT_EQ(s.dialogs.boxes[0].text, "Program modified: download program to avoid mismatch");
    EXPECT_EQ(s.dialogs.boxes[0].title, "Warning");
    EXPECT_EQ(s.dialogs.boxes[0].buttons, MsgButtons::AbortRetryIgnore);
    EXPECT_TRUE(sim.transcript().empty());
    EXPECT_EQ(statusRefreshes, 0);

    s.dialogs.choices = {MsgChoice::Ignore};
    pump.onPause = [this](size_t) { sim.setRunStatus(0); };
    router.press("runBr");
    EXPECT_EQ(commandsSent().front(), 0x5A);
    EXPECT_EQ(statusRefreshes, 1);
}

TEST_F(DebugLoops, FailedTransactionEndsTheAnimation) {
    pump.onPause = [this](size_t k) {
        if (k == 2) sim.inject({SimFault::Exception, 0, 4}); // the next halt/step is refused
    };
    router.press("step");
    EXPECT_EQ(pump.pauses.size(), 2u);
    EXPECT_EQ(s.comm->PollStop, 1);
    EXPECT_EQ(s.comm->PollBusy, 0);
}

// A lost link fails every request as "not connected", which does not set PollStop: the loop ends anyway.
TEST_F(DebugLoops, LostLinkEndsTheRunLoop) {
    s.shell->RegUpdate = -1;
    pump.onPause = [this](size_t k) {
        if (k == 2) s.link.onLinkLost("peer closed");
        if (k > 5) s.comm->PollStop = 1; // keeps a failing test from hanging
    };
    router.press("run");
    EXPECT_EQ(pump.pauses.size(), 2u);
    EXPECT_EQ(registerRefreshes, 1);
    EXPECT_EQ(s.comm->PollBusy, 0);
}

TEST_F(DebugLoops, AnotherLoopKeyTakesOverAndOneStopEndsBoth) {
    s.shell->RegUpdate = -1;
    pump.onPause = [this](size_t k) {
        if (k == 2) router.press("step");
        if (k == 4) router.press("stop");
    };
    router.press("run");
    EXPECT_EQ(pump.pauses.size(), 4u);
    EXPECT_EQ(commandsSent(), (std::vector<uint8_t>{0xFF, 0x64, 0x64, 0xFC}));
    EXPECT_EQ(s.comm->PollStop, 1);
    EXPECT_EQ(s.comm->PollBusy, 0);
}

} // namespace
