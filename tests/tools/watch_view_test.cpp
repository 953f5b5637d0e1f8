// The watch list against the simulated controller: its choices, its limits, and the refresh loop
// that reads every watched register until the peer falls silent.
#include "tool_fixture.h"
#include "tools/watch_view.h"

namespace {

class WatchTest : public ToolFixture {
  protected:
    WatchView view{s.app};
};

TEST_F(WatchTest, ChoicesSkipReservedRegistersAndTheListKeepsEachRegisterOnce) {
    view.SetRes();
    ASSERT_FALSE(view.Choices.empty());
    EXPECT_EQ(view.Choices[0].Text, "[%R1] " + s.comm->Registers[1].Name); // 0 is reserved
    for (const auto& c : view.Choices)
        EXPECT_EQ(c.Text.find("--Reserved--"), std::string::npos);
    EXPECT_TRUE(view.add(5));
    EXPECT_FALSE(view.add(5));
    EXPECT_FALSE(view.add(RegisterCount));
    for (int r = 6; r < 105; ++r)
        view.add(r);
    EXPECT_EQ(s.project->Watch[0], 100);
    view.remove(0);
    EXPECT_EQ(s.project->Watch[1], 6);
    EXPECT_EQ(s.project->Watch[0], 99);
}

TEST_F(WatchTest, RefreshesTwoRegistersUntilThePeerIsSilentButNotWhileAnotherLoopRuns) {
    view.add(5);
    view.add(7);
    s.comm->Registers[7].ValueType = 1; // shown as Int
    sim.setInput(5, 42);
    sim.setInput(7, 0xFFFE);
    s.comm->PollBusy = 1; // another loop runs: refused
    view.start();
    EXPECT_TRUE(sim.transcript().empty());
    EXPECT_TRUE(logged("Request refused: a polling loop is running"));
    s.comm->PollBusy = 0;
    pass(4); // two passes, then silence
    sim.inject({SimFault::Silence});
    view.start();
    const Bytes read5{10, 4, 0, 5, 0, 1}, read7{10, 4, 0, 7, 0, 1};
    EXPECT_EQ(sim.transcript(), (std::vector<Bytes>{read5, read7, read5, read7, read5}));
    ASSERT_EQ(view.Rows.size(), 2u);
    EXPECT_EQ(view.Rows[0].Value, "42");
    EXPECT_EQ(view.Rows[1].Value, "-2");
    EXPECT_FALSE(view.running());
    EXPECT_EQ(s.comm->PollBusy, 0);
    EXPECT_EQ(s.comm->PollStop, 1);
    EXPECT_TRUE(logged("Watch stopped"));
}

} // namespace
