// AnimaDebug and the toolbar's debug keys against the simulated controller. AnimaDebug: the counter and
// status word it reads, the colours it leaves on the rung labels, the scroll to the current rung, and the
// failures that must mark nothing. The keys, through the command router: what each sends, how the run,
// run-to-break and animate loops wait, and every way they end.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <vector>

#include "app/command_router.h"
#include "comm/debug_animation.h"
#include "comm/debug_commands.h"
#include "comm/device_procedures.h"
#include "comm/input_register_read.h"
#include "platform/qt_event_pump.h"
#include "support/sim_controller.h"
#include "support/sim_session.h"

namespace {

// A program view of a given number of rungs that records the colours and the scroll position.
struct FakeRungView {
    int rungs = 20;       // labels 1..rungs (element p + 1 for counter p), plus the scratch label 0
    int firstVisible = 0; // VScroll
    int visibleRows = 10;
    int loads = 0;
    std::map<int, uint32_t> colours; // element -> last colour
    std::vector<std::pair<int, uint32_t>> calls;

    DebugAnimationView bind() {
        DebugAnimationView v;
        v.load = [this] { ++loads; };
        v.colourRung = [this](int element, uint32_t colour) {
            if (element < 0 || element > rungs) return false;
            colours[element] = colour;
            calls.emplace_back(element, colour);
            return true;
        };
        v.rowInView = [this](int element) -> std::optional<bool> {
            if (element < 0 || element > rungs) return std::nullopt;
            const int rung = element - 1;
            return rung >= firstVisible && rung < firstVisible + visibleRows;
        };
        v.scrollTo = [this](int first) { firstVisible = first; };
        return v;
    }
};

// A pump that runs the real event loop but replaces the pauses, so a test can press keys "during" a wait
// without waiting seconds.
class PausePump : public EventPump {
  public:
    explicit PausePump(QtEventPump& real) : real_(real) {}
    std::vector<double> pauses;
    std::function<void(size_t)> onPause; // what the user does during pause n (1-based)

    void processEvents() override { real_.processEvents(); }
    void pausa(double seconds) override {
        pauses.push_back(seconds);
        if (onPause) onPause(pauses.size());
        real_.processEvents();
    }
    bool waitUntil(const std::function<bool()>& done, int timeoutMs, bool excludeUserInput) override {
        return real_.waitUntil(done, timeoutMs, excludeUserInput);
    }
    int64_t nowMs() const override { return real_.nowMs(); }

  private:
    QtEventPump& real_;
};

class DebugAnimationTest : public ::testing::Test {
  protected:
    void SetUp() override {
        s.comm->CurrentDevice.LinkTimeout = 300;
        ASSERT_TRUE(s.connectTcp(sim.startTcp()));
        animation.view = view.bind();
        sim.clearTranscript();
    }
    void withTrigger() { s.shell->Models[s.comm->CurrentDevice.ModelIndex].HasTrigger = -1; }
    void stepAt(uint16_t pc, uint16_t status = 0) {
        sim.setProgramCounter(pc);
        sim.setStatusWord(status);
        animation.AnimaDebug();
    }
    SimController sim{10};
    SimSession s;
    FakeRungView view;
    DebugAnimation animation{s.app};
};

TEST_F(DebugAnimationTest, CurrentRungYellowPreviousOnesClearedWithoutTriggerAndOutOfSightScrolledTo) {
    stepAt(3);
    stepAt(4);
    view.calls.clear();
    sim.clearTranscript();
    const int refreshes = s.refreshes;
    stepAt(5);
    EXPECT_EQ(sim.transcript(), (std::vector<Bytes>{{10, 4, 0, 13, 0, 1}})); // the counter only
    EXPECT_EQ(s.comm->Registers[13].Value, 5);
    EXPECT_EQ(animation.PcHistory, (std::array<int32_t, 3>{5, 4, 3}));
    EXPECT_EQ(view.calls, (std::vector<std::pair<int, uint32_t>>{
                              {6, RungWhite}, {4, RungWhite}, {5, RungWhite}, {6, RungYellow}}));
    EXPECT_EQ(s.refreshes, refreshes + 1);
    EXPECT_GE(view.loads, 1);

    // The mark follows the counter: out of sight it scrolls to the rung, beyond the view it marks nothing,
    // and a counter past 32767 never wraps onto the scratch label 0.
    stepAt(15);
    EXPECT_EQ(view.firstVisible, 15);
    stepAt(17); // still in sight: no scroll
    EXPECT_EQ(view.firstVisible, 15);
    stepAt(2);
    EXPECT_EQ(view.firstVisible, 2);
    view.calls.clear();
    stepAt(40);
    stepAt(65535);
    EXPECT_EQ(animation.PcHistory[0], 65535);
    EXPECT_TRUE(view.calls.empty());
    EXPECT_EQ(view.firstVisible, 2);
    EXPECT_EQ(s.refreshes, refreshes + 6);
    EXPECT_TRUE(s.dialogs.shown.empty());
}

TEST_F(DebugAnimationTest, TriggerModelsLeaveARedOrGreenTraceOnThePreviousRung) {
    withTrigger();
    stepAt(3);
    sim.clearTranscript();
    stepAt(5, 0x8000);
    EXPECT_EQ(sim.transcript(), (std::vector<Bytes>{{10, 4, 0, 13, 0, 1}, {10, 4, 0, 10, 0, 1}}));
    EXPECT_EQ(s.comm->Registers[10].Value, 0x8000);
    EXPECT_EQ(view.colours[4], RungRed);
    EXPECT_EQ(view.colours[6], RungYellow);
    stepAt(7, 0x7FFF);
    EXPECT_EQ(view.colours[6], RungGreen);
    EXPECT_EQ(view.colours[4], RungWhite);
    EXPECT_EQ(view.colours[8], RungYellow);
    stepAt(7, 0x8000); // the same counter twice stays yellow
    EXPECT_EQ(view.colours[8], RungYellow);
    // A rung recorded under an earlier, longer program has no label now; the current rung is still shown.
    stepAt(18, 0x8000);
    view.rungs = 10;
    stepAt(3, 0x8000);
    EXPECT_EQ(view.colours[4], RungYellow);
    stepAt(4, 0);
    EXPECT_EQ(view.colours[5], RungYellow);
    EXPECT_EQ(view.colours[4], RungGreen);
}

// The counter counts the entries of the last compile: rungs without an entry (empty ones) and the
// entries of other sections or of tasks do not shift the mark.
TEST_F(DebugAnimationTest, CounterIsMappedToItsRungThroughTheCompiledEntries) {
    s.project->Compiler.EntryRungs = {{0, 1}, {0, 3}, {0, 4}, {0, 12}, {1, 1}};
    view.visibleRows = 5;
    stepAt(1);
    EXPECT_EQ(view.colours[3], RungYellow);
    stepAt(3);
    EXPECT_EQ(view.colours[12], RungYellow);
    EXPECT_EQ(view.firstVisible, 11); // rung 12 is the first visible row
    view.calls.clear();
    stepAt(4); // a display page's entry
    stepAt(5); // a task's entry
    EXPECT_TRUE(view.calls.empty());
    EXPECT_EQ(view.firstVisible, 11);
}

// A failed counter read is not counter 0: no label is marked and the history keeps the real counters.
// A failed status read leaves no trace.
TEST_F(DebugAnimationTest, FailedReadsMarkNothing) {
    withTrigger();
    stepAt(3, 0x8000);
    view.calls.clear();
    sim.inject({SimFault::Exception, 0, 4});
    animation.AnimaDebug();
    EXPECT_TRUE(view.calls.empty());
    EXPECT_EQ(animation.PcHistory, (std::array<int32_t, 3>{3, 0, 0}));
    EXPECT_EQ(s.shell->log.lines().back(), "Error  ");
    sim.setProgramCounter(5);
    sim.inject({SimFault::Delay, 0});        // the counter read is answered
    sim.inject({SimFault::Exception, 0, 2}); // the status read is not
    animation.AnimaDebug();
    EXPECT_EQ(view.calls,
              (std::vector<std::pair<int, uint32_t>>{{1, RungWhite}, {4, RungWhite}, {6, RungYellow}}));
}

TEST_F(DebugAnimationTest, BlockReadChecksTheAnswerLength) {
    sim.setInput(300, 0x1234); // the first register's high byte counts
    sim.setInput(301, 0xBEEF);
    EXPECT_EQ(LeggiRegistriInput(s.app, 10, 300, 2), (std::vector<uint16_t>{0x1234, 0xBEEF}));
    // An answer announcing fewer bytes than asked for is refused.
    sim.inject({SimFault::Raw, 0, 0, {0, 0, 0, 0, 0, 5, 10, 4, 2, 0x12, 0x34}});
    s.comm->FixedTransactionId = -1; // the scripted answers carry identifier 0
    EXPECT_FALSE(LeggiRegistriInput(s.app, 10, 100, 2));
    EXPECT_FALSE(LeggiRegistriInput(s.app, 10, 100, 0));
    EXPECT_FALSE(LeggiRegistriInput(s.app, 10, 100, 126));
}

constexpr uint8_t WriteSingle = 6;

// The keys' loops pause through PausePump; the animation they drive is the one above.
class DebugLoops : public DebugAnimationTest {
  protected:
    void SetUp() override {
        DebugAnimationTest::SetUp();
        using K = CommandRouter::Kind;
        const std::tuple<const char*, bool (DebugCommands::*)(), K> keys[] = {
            {"run", &DebugCommands::run, K::Loop},
            {"runBr", &DebugCommands::runToBreak, K::Loop},
            {"step", &DebugCommands::step, K::Loop},
            {"pause", &DebugCommands::pause, K::Single},
            {"stop", &DebugCommands::stop, K::Single}};
        for (auto [key, command, kind] : keys)
            router.add(
                key, [this, command = command] { return (commands.*command)(); }, kind);
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

    PausePump pump{s.pump};
    AppContext app{*s.shell, *s.comm, *s.project, pump, s.dialogs, &s.link};
    int registerRefreshes = 0;
    DebugCommands commands{app, animation, [this] { ++registerRefreshes; }};
    int statusRefreshes = 0;
    CommandRouter router{s.comm->PollStop, [this] { ++statusRefreshes; }};
};

// Without RegUpdate the run key sends run and returns; the pause key halts once and shows where it stopped.
TEST_F(DebugLoops, RunWithoutRegisterUpdateAndPauseSendOnce) {
    router.press("run");
    EXPECT_EQ(sim.transcript(), (std::vector<Bytes>{{10, 6, 0, 0, 0, 0xFF}}));
    EXPECT_TRUE(pump.pauses.empty());
    EXPECT_EQ(statusRefreshes, 1);
    EXPECT_EQ(s.comm->PollStop, 1);
    sim.clearTranscript();
    sim.setProgramCounter(4);
    router.press("pause");
    EXPECT_EQ(sim.transcript(), (std::vector<Bytes>{{10, 6, 0, 0, 0, 0x64}, {10, 4, 0, 13, 0, 1}}));
    EXPECT_EQ(view.colours[5], RungYellow);
    EXPECT_EQ(registerRefreshes, 1);
    router.press("run"); // running, the controller is on no rung in particular
    EXPECT_EQ(view.colours[5], RungWhite);
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

    // With RegUpdate the registers are refreshed at every wait.
    s.shell->RegUpdate = -1;
    registerRefreshes = 0;
    pump.pauses.clear();
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

// A failed transaction ends the animation. A lost link fails every request as "not connected", which
// does not set PollStop: the run loop ends anyway.
TEST_F(DebugLoops, FailedTransactionOrLostLinkEndsTheLoop) {
    pump.onPause = [this](size_t k) {
        if (k == 2) sim.inject({SimFault::Exception, 0, 4}); // the next halt/step is refused
    };
    router.press("step");
    EXPECT_EQ(pump.pauses.size(), 2u);
    EXPECT_EQ(s.comm->PollStop, 1);
    EXPECT_EQ(s.comm->PollBusy, 0);

    s.shell->RegUpdate = -1;
    pump.pauses.clear();
    registerRefreshes = 0;
    pump.onPause = [this](size_t k) {
        if (k == 2) s.link.onLinkLost("peer closed");
        if (k > 5) s.comm->PollStop = 1; // keeps a failing test from hanging
    };
    router.press("run");
    EXPECT_EQ(pump.pauses.size(), 2u);
    EXPECT_EQ(registerRefreshes, 1);
    EXPECT_EQ(s.comm->PollBusy, 0);
}

// Run polls the registers every second; another loop key takes over, and one stop ends both for good.
TEST_F(DebugLoops, RunPollsUntilAnotherLoopKeyTakesOverAndOneStopEndsBoth) {
    s.shell->RegUpdate = -1;
    s.shell->AnimateTime = 500;
    pump.onPause = [this](size_t k) {
        EXPECT_EQ(s.comm->PollBusy, 1);
        if (k == 3) router.press("step");
        if (k == 5) router.press("stop");
    };
    router.press("run");
    EXPECT_EQ(pump.pauses, (std::vector<double>{1, 1, 1, 0.5, 0.5}));
    EXPECT_EQ(commandsSent(), (std::vector<uint8_t>{0xFF, 0x64, 0x64, 0xFC}));
    EXPECT_EQ(sim.commandRegister(), 0xFC);
    // Two polls, one animated step and the stop key's own refresh; nothing after the stop.
    EXPECT_EQ(registerRefreshes, 4);
    EXPECT_EQ(statusRefreshes, 3); // one per key
    EXPECT_EQ(s.comm->PollStop, 1);
    EXPECT_EQ(s.comm->PollBusy, 0);
}

} // namespace
