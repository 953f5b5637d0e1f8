#include <gtest/gtest.h>

#include "factorytest/energy_meter/energy_meter_reader.h"
#include "worlds.h"

namespace {

struct Meter : ::testing::Test {
    void SetUp() override { ASSERT_TRUE(w.connect()); }
    ConfigWorld w{5};
    EnergyMeterReader reader{w.app};
};

TEST_F(Meter, RowsOfTheSixBlocks) {
    for (auto [reg, v] : std::vector<std::pair<uint16_t, uint16_t>>{{0xC65C, 0xFFFF},
                                                                    {0xC65D, 0xFFFE},
                                                                    {0xC950, 0x0123},
                                                                    {0xC953, 0xFFFF},
                                                                    {0xC55F, 5000},
                                                                    {0xC587, 0x0063},
                                                                    {0xCA59, 0x8000}})
        w.sim.setHolding(reg, v);
    EXPECT_TRUE(reader.cmd_Read_Click());
    const auto& l = reader.lists;
    EXPECT_EQ(
        (std::vector<std::string>{l[0][0], l[0][1], l[1][0], l[1][3], l[2][6], l[2][26], l[3][0], l[5][35]}),
        (std::vector<std::string>{"Partial Positive Active Energy\t\tC65C\t-2",
                                  "Partial Positive Reactive Energy\tC65E\t0", "THD U12\tC950\t291",
                                  "THD V1\t\tC953\t-1", "Frequency\t\tC55E\t5000",
                                  "Power Factor phase 3\tC586\t99", "C95B\t0", "CA59\t-32768"}));
    const auto sent = w.sent();
    ASSERT_EQ(sent.size(), 6u);
    EXPECT_EQ(sent[2], (Bytes{5, 3, 0xC5, 0x52, 0, 54}));
}

// A timeout or a short answer ends the read at its block: the lists after it keep their rows.
TEST_F(Meter, AFailedBlockKeepsTheListsAfterIt) {
    const std::array<SimFaultSpec, 2> faults{
        {{SimFault::Exception}, {SimFault::Raw, 0, 0, {0, 0, 0, 0, 0, 5, 5, 3, 2, 0, 1}}}};
    for (const SimFaultSpec& fault : faults) {
        w.comm->PollStop = 0;
        reader.lists[3] = {"old"};
        reader.lists[5] = {"old"};
        for (int i = 0; i < 3; ++i)
            w.sim.inject({SimFault::Delay, 0});
        w.sim.inject(fault);
        EXPECT_FALSE(reader.cmd_Read_Click());
        EXPECT_EQ(reader.lists[2].size(), 27u);
        EXPECT_EQ(reader.lists[3], std::vector<std::string>{"old"});
        EXPECT_EQ(reader.lists[5], std::vector<std::string>{"old"});
        EXPECT_EQ(w.comm->PollStop, 1);
    }
}

TEST_F(Meter, AnAddressThatIsNoNumberSendsNothing) {
    for (const char* address : {"x", "256", ""}) {
        reader.Indirizzo = address;
        w.dialogs.shown.clear();
        reader.cmd_Read_Click();
        reader.cmd_start_Click();
        EXPECT_EQ(w.dialogs.shown, (std::vector<std::string>{"Errore!", "Errore!"}));
    }
    EXPECT_TRUE(w.sent().empty());
}

TEST_F(Meter, ContinuousReadingStopsAndRefusesUpdateMeanwhile) {
    int passes = 0;
    w.pump.onEvents = [&] {
        EXPECT_TRUE(reader.busy());
        reader.cmd_Read_Click();
        reader.cmd_start_Click();
        if (++passes == 8) reader.cmd_stop_Click(); // after two blocks of the second pass
    };
    reader.cmd_start_Click();
    EXPECT_EQ(w.sent().size(), 8u);
    EXPECT_FALSE(reader.busy());
    EXPECT_FALSE(reader.polling());
}

} // namespace
