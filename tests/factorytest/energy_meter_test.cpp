#include <gtest/gtest.h>

#include "factorytest/energy_meter/energy_meter_reader.h"
#include "worlds.h"

namespace {

struct MeterWorld {
    MeterWorld() { EXPECT_TRUE(w.connect()); }
    ConfigWorld w{5};
    EnergyMeterReader reader{w.app};
};

TEST(EnergyMeter, RowsOfTheSixBlocks) {
    MeterWorld m;
    for (auto [reg, v] : std::vector<std::pair<uint16_t, uint16_t>>{{0xC65C, 0xFFFF},
                                                                    {0xC65D, 0xFFFE},
                                                                    {0xC950, 0x0123},
                                                                    {0xC953, 0xFFFF},
                                                                    {0xC55F, 5000},
                                                                    {0xC587, 0x0063},
                                                                    {0xCA59, 0x8000}})
        m.w.sim.setHolding(reg, v);
    EXPECT_TRUE(m.reader.cmd_Read_Click());
    const auto& l = m.reader.lists;
    EXPECT_EQ(
        (std::array<size_t, 6>{l[0].size(), l[1].size(), l[2].size(), l[3].size(), l[4].size(), l[5].size()}),
        (std::array<size_t, 6>{5, 10, 27, 48, 36, 36}));
    EXPECT_EQ(
        (std::vector<std::string>{l[0][0], l[0][1], l[1][0], l[1][3], l[2][6], l[2][26], l[3][0], l[5][35]}),
        (std::vector<std::string>{"Partial Positive Active Energy\t\tC65C\t-2",
                                  "Partial Positive Reactive Energy\tC65E\t0", "THD U12\tC950\t291",
                                  "THD V1\t\tC953\t-1", "Frequency\t\tC55E\t5000",
                                  "Power Factor phase 3\tC586\t99", "C95B\t0", "CA59\t-32768"}));
    const auto sent = m.w.sent();
    ASSERT_EQ(sent.size(), 6u);
    EXPECT_EQ(sent[2], (Bytes{5, 3, 0xC5, 0x52, 0, 54}));
}

// A timeout or a short answer ends the read at its block: the lists after it keep their rows.
TEST(EnergyMeter, AFailedBlockKeepsTheListsAfterIt) {
    const std::array<SimFaultSpec, 2> faults{
        {{SimFault::Exception}, {SimFault::Raw, 0, 0, {0, 0, 0, 0, 0, 5, 5, 3, 2, 0, 1}}}};
    for (const SimFaultSpec& fault : faults) {
        MeterWorld m;
        m.reader.lists[3] = {"old"};
        m.reader.lists[5] = {"old"};
        for (int i = 0; i < 3; ++i)
            m.w.sim.inject({SimFault::Delay, 0});
        m.w.sim.inject(fault);
        EXPECT_FALSE(m.reader.cmd_Read_Click());
        EXPECT_EQ(m.reader.lists[2].size(), 27u);
        EXPECT_EQ(m.reader.lists[3], std::vector<std::string>{"old"});
        EXPECT_EQ(m.reader.lists[5], std::vector<std::string>{"old"});
        EXPECT_EQ(m.w.comm->PollStop, 1);
    }
}

TEST(EnergyMeter, AnAddressThatIsNoNumberSendsNothing) {
    MeterWorld m;
    for (const char* address : {"x", "256", ""}) {
        m.reader.Indirizzo = address;
        m.w.dialogs.shown.clear();
        m.reader.cmd_Read_Click();
        m.reader.cmd_start_Click();
        EXPECT_EQ(m.w.dialogs.shown, (std::vector<std::string>{"Errore!", "Errore!"}));
    }
    EXPECT_TRUE(m.w.sent().empty());
}

TEST(EnergyMeter, ContinuousReadingStopsAndRefusesUpdateMeanwhile) {
    MeterWorld m;
    int passes = 0;
    m.w.pump.onEvents = [&] {
        EXPECT_TRUE(m.reader.busy());
        m.reader.cmd_Read_Click();
        m.reader.cmd_start_Click();
        if (++passes == 2) m.reader.cmd_stop_Click();
    };
    m.reader.cmd_start_Click();
    EXPECT_EQ(m.w.sent().size(), 12u);
    EXPECT_FALSE(m.reader.busy());
    EXPECT_FALSE(m.reader.polling());
}

} // namespace
