// AnimaDebug against the simulated controller: the counter and status word it reads, the colours it
// leaves on the rung labels, the scroll to the current rung, and the failures that must mark nothing.
#include <gtest/gtest.h>

#include "animation_test_support.h"
#include "comm/input_register_read.h"
#include "support/sim_controller.h"
#include "support/sim_session.h"

namespace {

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

TEST_F(DebugAnimationTest, CurrentRungYellowPreviousOnesClearedWithoutTrigger) {
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
}

// The mark follows the counter: out of sight it scrolls to the rung, beyond the view it marks nothing,
// and a counter past 32767 never wraps onto the scratch label 0.
TEST_F(DebugAnimationTest, RungOutOfSightBecomesTheFirstVisibleRowAndOneBeyondTheViewChangesNothing) {
    stepAt(15);
    EXPECT_EQ(view.firstVisible, 15);
    stepAt(17); // still in sight: no scroll
    EXPECT_EQ(view.firstVisible, 15);
    stepAt(2);
    EXPECT_EQ(view.firstVisible, 2);
    view.calls.clear();
    const int refreshes = s.refreshes;
    stepAt(40);
    stepAt(65535);
    EXPECT_EQ(animation.PcHistory[0], 65535);
    EXPECT_TRUE(view.calls.empty());
    EXPECT_EQ(view.firstVisible, 2);
    EXPECT_EQ(s.refreshes, refreshes + 2);
    EXPECT_TRUE(s.dialogs.shown.empty());
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

// A rung recorded under an earlier, longer program has no label now; the current rung is still shown.
TEST_F(DebugAnimationTest, VanishedHistoryRungDoesNotHideTheCurrentRung) {
    withTrigger();
    stepAt(18, 0x8000);
    view.rungs = 10;
    stepAt(3, 0x8000);
    EXPECT_EQ(view.colours[4], RungYellow);
    stepAt(4, 0);
    EXPECT_EQ(view.colours[5], RungYellow);
    EXPECT_EQ(view.colours[4], RungGreen);
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
    sim.setInput(100, 0x1234);
    sim.setInput(101, 0xBEEF);
    auto v = LeggiRegistriInput(s.app, 10, 100, 2);
    ASSERT_TRUE(v);
    EXPECT_EQ(*v, (std::vector<uint16_t>{0x1234, 0xBEEF}));
    // An answer announcing fewer bytes than asked for is refused.
    sim.inject({SimFault::Raw, 0, 0, {0, 0, 0, 0, 0, 5, 10, 4, 2, 0x12, 0x34}});
    EXPECT_FALSE(LeggiRegistriInput(s.app, 10, 100, 2));
    EXPECT_FALSE(LeggiRegistriInput(s.app, 10, 100, 0));
    EXPECT_FALSE(LeggiRegistriInput(s.app, 10, 100, 126));
}

} // namespace
