// The manual request: its monitor text and result for a known answer and an exception answer, and
// typed requests refused before anything is sent.
#include "tool_fixture.h"
#include "tools/manual_request.h"

namespace {

class ManualRequestTest : public ToolFixture {
  protected:
    ManualRequest request{s.app};
};

TEST_F(ManualRequestTest, MonitorShowsTheAnswerBytes) {
    sim.setHolding(5, 42);
    sim.setHolding(6, 0x1234);
    struct Case {
        bool exception;
        std::string monitor;
        std::string result;
    };
    for (const Case& c :
         {Case{false, "0A 03 04 00 2A 12 34 ", "OK"}, Case{true, "0A 83 02 ", "Exception answer, code 2"}}) {
        if (c.exception) sim.inject({SimFault::Exception, 0, 2});
        s.comm->MonitorRx = "old";
        EXPECT_EQ(request.send("10", "3", "00 05 0 2"), !c.exception);
        EXPECT_EQ(s.comm->MonitorRx, c.monitor);
        EXPECT_EQ(request.Result, c.result);
        EXPECT_EQ(s.comm->MonitorOn, 0);
    }
    EXPECT_EQ(sim.transcript(), (std::vector<Bytes>(2, Bytes{10, 3, 0, 5, 0, 2})));
}

TEST_F(ManualRequestTest, BadInputIsRefusedBeforeSending) {
    const std::array<std::array<const char*, 3>, 5> cases{
        {{"256", "3", "00"}, {"10", "0", "00"}, {"10", "x", "00"}, {"10", "3", "0G"}, {"10", "3", "123"}}};
    for (const auto& [node, function, fields] : cases)
        EXPECT_FALSE(request.send(node, function, fields)) << node << " " << function << " " << fields;
    EXPECT_TRUE(sim.transcript().empty());
}

} // namespace
