#include <gtest/gtest.h>

#include "factorytest/multichannel_config/multichannel_config.h"
#include "four_channel_module.h"
#include "worlds.h"

namespace {

struct ModuleWorld {
    ModuleWorld() {
        w.sim.setResponder([this](const Bytes& r) { return module.respond(r); });
        EXPECT_TRUE(w.connect());
    }
    Bytes at(uint32_t address, size_t n) { return module.memory.memory(address, n); }

    ConfigWorld w;
    FourChannelModule module;
    MultiChannelConfig cfg{w.app};
};

TEST(MultiChannelConfig, ConstantsWrittenAndReadBack) {
    ModuleWorld m;
    struct Case {
        std::string offset, k;
        Bytes kBytes;
    };
    const std::array<Case, 3> cases{{{"-1", "1.5", {0, 0, 0xC0, 0x3F}},
                                     {"127", "1.1", {0, 0xCC, 0x8C, 0x3F}},
                                     {"-128", "-2", {0, 0, 0, 0xC0}}}};
    for (size_t i = 0; i < cases.size(); ++i) {
        const int slot = static_cast<int>(5 * i);
        m.cfg.txt_Input_Offset[static_cast<size_t>(slot)] = cases[i].offset;
        m.cfg.txt_Input_K[static_cast<size_t>(slot)] = cases[i].k;
        m.cfg.txt_OffsetCJC[i] = cases[i].offset;
        m.cfg.WriteOffset_Click(slot);
        m.cfg.WriteK_Click(slot);
        m.cfg.WriteCJC_Click(static_cast<int>(i));
        EXPECT_EQ(m.at(22 + 4 * static_cast<uint32_t>(slot), 4), cases[i].kBytes);
    }
    MultiChannelConfig back(m.w.app);
    back.Command2_Click();
    for (size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(back.txt_Input_Offset[5 * i], cases[i].offset);
        EXPECT_EQ(back.txt_OffsetCJC[i], cases[i].offset);
    }
    EXPECT_EQ(back.txt_Input_K[0], "1.5");
    EXPECT_LT(std::stod(back.txt_Input_K[5]), 1.1); // the lowest byte went as 0
    EXPECT_EQ(back.txt_Input_K[10], "-2");
    EXPECT_EQ(back.txt_Input_K[1], "0");
    EXPECT_TRUE(m.w.dialogs.shown.empty());
}

TEST(MultiChannelConfig, AFailedReadEndsTheReadWithErrore) {
    ModuleWorld m;
    m.module.memory.setMemory(0, {200});
    m.module.memory.setMemory(16, {3});
    m.w.sim.inject({SimFault::Delay, 0});
    m.w.sim.inject({SimFault::Exception});
    m.cfg.Command2_Click();
    EXPECT_EQ(m.cfg.txt_Input_Offset[0], "-56");
    EXPECT_EQ(m.cfg.txt_OffsetCJC[0], "0");
    EXPECT_EQ(m.w.dialogs.shown.back(), "Errore");
    EXPECT_EQ(m.w.sent().size(), 2u);
}

TEST(MultiChannelConfig, RefusedTextsSendNothing) {
    ModuleWorld m;
    using Step = std::function<void(MultiChannelConfig&)>;
    const std::vector<std::pair<Step, Step>> cases{
        {[](auto& c) { c.txt_Input_Offset[2] = "200"; }, [](auto& c) { c.WriteOffset_Click(2); }},
        {[](auto& c) { c.txt_OffsetCJC[5] = "-129"; }, [](auto& c) { c.WriteCJC_Click(5); }},
        {[](auto& c) { c.txt_Input_K[1] = "inf"; }, [](auto& c) { c.WriteK_Click(1); }},
        {[](auto& c) { c.AddSlave = "x"; }, [](auto& c) { c.Set_all_CJC_Click(); }},
        {[](auto& c) { c.txt_Input_Type[3] = "256"; }, [](auto& c) { c.Command3_Click(); }},
        {[](auto& c) { c.txt_Input_Type[0] = "a"; }, [](auto& c) { c.Command4_Click(); }},
        {[](auto& c) { c.Text2 = "0"; }, [](auto& c) { c.Command1_Click(); }},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        MultiChannelConfig c(m.w.app);
        cases[i].first(c);
        m.w.dialogs.shown.clear();
        cases[i].second(c);
        EXPECT_EQ(m.w.dialogs.shown, std::vector<std::string>{"Errore!"}) << i;
        EXPECT_TRUE(m.w.sent().empty()) << i;
        EXPECT_EQ(c.Text3, "Text3");
    }
}

TEST(MultiChannelConfig, TypesMeasurementAndCalcK) {
    ModuleWorld m;
    m.cfg.device_ty_Click(1);
    EXPECT_EQ(m.cfg.inputTypes, (std::vector<std::string>{"Tipo 7 - 10 Volt", "Tipo 8 - 20 mA"}));
    m.cfg.input_ty_Click(1);
    EXPECT_EQ(m.cfg.txt_Input_Type[3], "8");
    m.cfg.txt_Input_Type[1] = "7";
    EXPECT_TRUE(m.cfg.Command3_Click());
    EXPECT_EQ(m.w.sent(), (std::vector<Bytes>{{247, 4, 8, 7, 8, 8}}));
    EXPECT_EQ(m.cfg.txt_Input, (std::array<std::string, 4>{"800", "-300", "-1200", "-2200"}));
    m.module.readings = 1;
    EXPECT_FALSE(m.cfg.Command3_Click());
    EXPECT_EQ(m.cfg.txt_Input[1], "-300");
    EXPECT_EQ(m.w.comm->PollStop, 1);
    m.cfg.Text1 = "3";
    m.cfg.Text2 = "2.5";
    m.cfg.Command1_Click();
    EXPECT_EQ(m.cfg.Text3, "1.2000");
}

// Stop is seen between measurements; a second Start or another command meanwhile is refused.
TEST(MultiChannelConfig, ContinuousMeasurementStopsAndLocksTheWindow) {
    ModuleWorld m;
    int passes = 0;
    m.w.pump.onEvents = [&] {
        m.cfg.Command4_Click();
        m.cfg.WriteK_Click(0);
        if (++passes == 3) m.cfg.Command5_Click();
        EXPECT_EQ(m.w.comm->PollBusy, 1);
    };
    m.cfg.Command4_Click();
    EXPECT_EQ(m.w.sent().size(), 3u); // three measurements, nothing else
    EXPECT_EQ(m.w.comm->PollBusy, 0);
    EXPECT_FALSE(m.cfg.polling());
}

TEST(MultiChannelConfig, CjcResetWritesEveryByteAndSwapsTheFirstBoxes) {
    ModuleWorld m;
    m.module.memory.setMemory(18, {9});
    m.cfg.txt_OffsetCJC[2] = "9";
    m.cfg.Set_all_CJC_Click();
    EXPECT_EQ(m.at(16, 6), Bytes(6, 0));
    EXPECT_EQ(m.w.sent().size(), 6u);
    EXPECT_EQ(m.cfg.txt_OffsetCJC[2], "0");
    EXPECT_FALSE(m.cfg.cjcEnabled[0]);
    EXPECT_TRUE(m.cfg.cjcEnabled[1]);
}

} // namespace
