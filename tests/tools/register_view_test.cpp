// The register view without its window: rows drawn from the register table, the shown registers read
// from the simulated controller in one request, and scrolling.
#include "comm/register_map.h"
#include "tool_fixture.h"
#include "tools/register_value_text.h"
#include "tools/register_view.h"

namespace {

class RegisterViewTest : public ToolFixture {
  protected:
    void SetUp() override {
        ToolFixture::SetUp();
        view.onChanged = [this] { ++redraws; };
        view.load = [this] { ++loads; };
    }
    RegisterView view{s.app};
    int redraws = 0, loads = 0;
};

TEST_F(RegisterViewTest, ReadsTheShownRegistersInOneRequestAndShowsThemByTypeOrKeepsThemOnAFailure) {
    view.AggiornaRegistri_new(false); // without a read nothing is sent
    EXPECT_TRUE(sim.transcript().empty());
    EXPECT_EQ(view.Rows.size(), 16u);
    view.setVisibleRows(4);
    view.setFirstRegister(8);
    sim.setInput(8, 0x0005);
    sim.setInput(9, 0x00A0);
    sim.setInput(10, 0x8001);
    sim.setInput(11, 0xFFFF);
    s.comm->Registers[11].ValueType = 1; // shown as Int
    view.AggiornaRegistri_new(true);
    EXPECT_EQ(sim.transcript(), (std::vector<Bytes>{{10, 4, 0, 8, 0, 4}}));
    ASSERT_EQ(view.Rows.size(), 4u);
    EXPECT_EQ(view.Rows[2].Register, 10);
    EXPECT_EQ(view.Rows[2].Label, "%R10");
    EXPECT_EQ(view.Rows[2].Name, s.comm->Registers[10].Name);
    EXPECT_EQ(view.Rows[2].Value, registerValueText(0x8001, s.comm->Registers[10].ValueType));
    EXPECT_EQ(view.Rows[3].Value, "-1");
    EXPECT_EQ(view.Rows[3].Type, "Int");
    EXPECT_EQ(s.comm->Registers[10].Value, 0x8001);
    EXPECT_EQ(loads, 2);

    // A failed read keeps the values and still redraws.
    sim.setInput(10, 5);
    sim.inject({SimFault::Exception, 0, 2});
    const int before = redraws;
    view.AggiornaRegistri_new(true);
    EXPECT_EQ(s.comm->Registers[10].Value, 0x8001);
    EXPECT_GT(redraws, before);
    EXPECT_EQ(s.shell->log.lines().back(), "Error  ");
}

TEST_F(RegisterViewTest, ScrollingStopsAtTheLastRegisterAndValuesFollowTheirType) {
    view.setVisibleRows(10);
    view.setFirstRegister(5000);
    EXPECT_EQ(view.firstRegister(), RegisterCount - 10);
    EXPECT_EQ(view.Rows.back().Register, RegisterCount - 1);
    view.setFirstRegister(-3);
    EXPECT_EQ(view.firstRegister(), 0);
    view.setVisibleRows(1000); // no more than one read brings
    EXPECT_EQ(view.visibleRows(), 125);
    EXPECT_EQ(registerValueText(0x1234, 0), "4660");
    EXPECT_EQ(registerValueText(0xFFFE, 1), "-2");
    EXPECT_EQ(registerValueText(0x1234, 7), "1234");
    EXPECT_EQ(registerValueText(0x4142, 8), "BA");
    EXPECT_EQ(registerValueText(0x8001, 9), "10000000 00000001");
    EXPECT_EQ(registerValueText(-70000, 3), "-70000");
}

} // namespace
