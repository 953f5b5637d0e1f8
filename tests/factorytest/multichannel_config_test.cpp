#include <gtest/gtest.h>

#include "factorytest/multichannel_config/multichannel_config.h"
#include "four_channel_module.h"
#include "worlds.h"

namespace {

struct FourChannel : ::testing::Test {
    void SetUp() override {
        w.sim.setResponder([this](const Bytes& r) { return module.respond(r); });
        ASSERT_TRUE(w.connect());
    }
    Bytes at(uint32_t address, size_t n) { return module.memory.memory(address, n); }

    ConfigWorld w;
    FourChannelModule module;
    MultiChannelConfig cfg{w.app};
};

TEST_F(FourChannel, ConstantsWrittenAndReadBack) {
    struct Case {
        std::string offset, k;
        Bytes kBytes;
    };
    const std::array<Case, 3> cases{{{"-1", "1.5", {0, 0, 0xC0, 0x3F}},
                                     {"127", "1.1", {0, 0xCC, 0x8C, 0x3F}},
                                     {"-128", "-2", {0, 0, 0, 0xC0}}}};
    for (size_t i = 0; i < cases.size(); ++i) {
        const int slot = static_cast<int>(5 * i);
        cfg.txt_Input_Offset[static_cast<size_t>(slot)] = cases[i].offset;
        cfg.txt_Input_K[static_cast<size_t>(slot)] = cases[i].k;
        cfg.txt_OffsetCJC[i] = cases[i].offset;
        cfg.WriteOffset_Click(slot);
        cfg.WriteK_Click(slot);
        cfg.WriteCJC_Click(static_cast<int>(i));
        EXPECT_EQ(at(22 + 4 * static_cast<uint32_t>(slot), 4), cases[i].kBytes);
    }
    MultiChannelConfig back(w.app);
    back.Command2_Click();
    for (size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(back.txt_Input_Offset[5 * i], cases[i].offset);
        EXPECT_EQ(back.txt_OffsetCJC[i], cases[i].offset);
    }
    EXPECT_EQ(back.txt_Input_K[0], "1.5");
    EXPECT_LT(std::stod(back.txt_Input_K[5]), 1.1); // the lowest byte went as 0
    EXPECT_EQ(back.txt_Input_K[10], "-2");
    EXPECT_EQ(back.txt_Input_K[1], "0");
    EXPECT_TRUE(w.dialogs.shown.empty());
    // A failed block ends the read with "Errore": the CJC offsets after it keep what they showed.
    module.memory.setMemory(0, {200});
    module.memory.setMemory(16, {3});
    w.sent();
    w.sim.inject({SimFault::Delay, 0});
    w.sim.inject({SimFault::Exception});
    back.Command2_Click();
    EXPECT_EQ(back.txt_Input_Offset[0], "-56");
    EXPECT_EQ(back.txt_OffsetCJC[0], "-1");
    EXPECT_EQ(w.dialogs.shown, std::vector<std::string>{"Errore"});
    EXPECT_EQ(w.sent().size(), 2u);
}

TEST_F(FourChannel, RefusedTextsSendNothing) {
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
        MultiChannelConfig c(w.app);
        cases[i].first(c);
        w.dialogs.shown.clear();
        cases[i].second(c);
        EXPECT_EQ(w.dialogs.shown, std::vector<std::string>{"Errore!"}) << i;
        EXPECT_TRUE(w.sent().empty()) << i;
        EXPECT_EQ(c.Text3, "Text3");
    }
}

TEST_F(FourChannel, TypesMeasurementAndCalcK) {
    cfg.device_ty_Click(1);
    EXPECT_EQ(cfg.inputTypes, (std::vector<std::string>{"Tipo 7 - 10 Volt", "Tipo 8 - 20 mA"}));
    cfg.input_ty_Click(1);
    EXPECT_EQ(cfg.txt_Input_Type[3], "8");
    cfg.txt_Input_Type[1] = "7";
    EXPECT_TRUE(cfg.Command3_Click());
    EXPECT_EQ(w.sent(), (std::vector<Bytes>{{247, 4, 8, 7, 8, 8}}));
    EXPECT_EQ(cfg.txt_Input, (std::array<std::string, 4>{"800", "-300", "-1200", "-2200"}));
    module.readings = 1;
    EXPECT_FALSE(cfg.Command3_Click());
    EXPECT_EQ(cfg.txt_Input[1], "-300");
    EXPECT_EQ(w.comm->PollStop, 1);
    cfg.Text1 = "3";
    cfg.Text2 = "2.5";
    cfg.Command1_Click();
    EXPECT_EQ(cfg.Text3, "1.2000");
}

// Stop is seen between measurements; a second Start or another command meanwhile is refused.
TEST_F(FourChannel, ContinuousMeasurementStopsAndLocksTheWindow) {
    int passes = 0;
    w.pump.onEvents = [&] {
        cfg.Command4_Click();
        cfg.WriteK_Click(0);
        if (++passes == 3) cfg.Command5_Click();
        EXPECT_EQ(w.comm->PollBusy, 1);
    };
    cfg.Command4_Click();
    EXPECT_EQ(w.sent().size(), 3u); // three measurements, nothing else
    EXPECT_EQ(w.comm->PollBusy, 0);
    EXPECT_FALSE(cfg.polling());
}

TEST_F(FourChannel, CjcResetWritesEveryByteAndSwapsTheFirstBoxes) {
    module.memory.setMemory(18, {9});
    cfg.txt_OffsetCJC[2] = "9";
    cfg.Set_all_CJC_Click();
    EXPECT_EQ(at(16, 6), Bytes(6, 0));
    EXPECT_EQ(w.sent().size(), 6u);
    EXPECT_EQ(cfg.txt_OffsetCJC[2], "0");
    EXPECT_FALSE(cfg.cjcEnabled[0]);
    EXPECT_TRUE(cfg.cjcEnabled[1]);
}

} // namespace
