#include <gtest/gtest.h>

#include "factorytest/analog_config/analog_config.h"
#include "factorytest/analog_config/default_sets.h"
#include "worlds.h"

namespace {

struct AnalogFixture : ::testing::Test {
    void SetUp() override {
        for (uint8_t a : {247, 246})
            w.sim.answerSubAddress(a);
        w.sim.setHolding(17, 0xF6F7);
        ASSERT_TRUE(w.connect());
    }
    ConfigWorld w;
    AnalogConfig cfg{w.app};
};

Bytes moduleBytes() {
    Bytes b{128, 127, 255, 0, 1, 2, 3, 4, 250, 5, 8, 1, 5, 17, 16, 7, 23, 24, 0, 0, 0, 5, 0, 0, 0, 0, 0x80};
    for (uint8_t gain : {0x1A, 0x5F, 0x50, 0x51, 0x52, 0x53, 0x54, 0x57})
        b.push_back(gain);
    for (uint8_t enable = 24; enable < 32; ++enable)
        b.push_back(enable);
    for (const Bytes& k : {Bytes{0x00, 0x80, 0x3F}, Bytes{0x47, 0x81, 0x3F}}) // 1.0, and what 1.01 becomes
        b.insert(b.end(), k.begin(), k.end());
    return b;
}

TEST_F(AnalogFixture, ReadAllShowsTheLayoutAndWriteStoresItBack) {
    w.sim.setSubMemory(247, 0, moduleBytes());
    w.sim.setSubMemory(247, 256, {12, 1});
    w.sim.inject({SimFault::Exception}); // a failed first read changes nothing
    cfg.Command2_Click();
    EXPECT_EQ(cfg.fields.txt_Input_offset[0], "0");
    EXPECT_EQ(cfg.fields.cmb_InputType[0], -1);
    EXPECT_EQ(w.sent().size(), 1u);
    cfg.Command2_Click();
    const AnalogConfigFields& f = cfg.fields;
    auto type = [&](size_t c) { return InputTypes[static_cast<size_t>(f.cmb_InputType[c])].Text; };
    // Code 5 is in no list: the list shows "---". 47 81 3F hold 1.009979248046875: the single 1.01 with
    // its lowest fraction byte cut.
    EXPECT_EQ((std::vector<std::string>{f.txt_Input_offset[0], f.txt_Input_offset[1], f.txt_Input_offset[2],
                                        f.txt_Input_OffsetCJC, f.txt_Input_Type[1], type(1), type(2), type(5),
                                        std::to_string(f.Mux[2]), std::to_string(f.Mux[7]), f.txt_guadagno[0],
                                        f.txt_reg[7], f.txt_Input_K[0], f.txt_Input_K[1], f.Label7}),
              (std::vector<std::string>{"-128", "127", "-1", "-6", "5", "---", "ResL", "KWM6150", "5", "128",
                                        "1A", "31", "1", "1.00997924804688", "Fw ver: 12 [JXV7593]"}));

    w.sent();
    cfg.cmd_WriteProg_Click(0);
    const auto sent = w.sent();
    ASSERT_EQ(sent.size(), 3u);
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ(
            Bytes(sent[i].begin(), sent[i].begin() + 7),
            (Bytes{247, 20, 4, 0, 0, static_cast<uint8_t>(16 * i), static_cast<uint8_t>(i < 2 ? 16 : 11)}));
    Bytes expected = moduleBytes();
    expected[12] = 0; // the unknown code goes back as "---"
    expected.resize(ConfigBytes);
    EXPECT_EQ(w.sim.subMemory(247, 0, ConfigBytes), expected);
}

TEST(AnalogConfigMemory, FirmwareTagsAndShortReads) {
    const ConfigRead firmware = ReadAllPlan.back();
    const std::array<std::pair<Bytes, std::string>, 4> cases{{{{9, 0}, "Fw ver: NaN"},
                                                              {{9, 2}, "Fw ver: 9 [JXV2569]"},
                                                              {{9, 3}, "Fw ver = "},
                                                              {{9}, "Fw ver = "}}};
    for (const auto& [bytes, label] : cases) {
        AnalogConfigFields f;
        ShowConfigBytes(f, firmware, bytes);
        EXPECT_EQ(f.Label7, label);
    }
}

TEST_F(AnalogFixture, WriteDefPutsTheSettingsAfterTheControllersProgramOnly) {
    cfg.SetDefault_Click(7);
    cfg.fields.txt_Input_offset[0] = "-5";
    cfg.cmd_WriteProg_Click(1);
    const auto sent = w.sent();
    ASSERT_EQ(sent.size(), 3u);
    const std::array<std::pair<uint16_t, uint8_t>, 3> blocks{{{6178, 2}, {6180, 16}, {6196, 16}}};
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ(Bytes(sent[i].begin(), sent[i].begin() + 7),
                  (Bytes{10, 20, 4, 0, static_cast<uint8_t>(blocks[i].first >> 8),
                         static_cast<uint8_t>(blocks[i].first), blocks[i].second}));
    const auto image = EncodeConfig(cfg.fields);
    ASSERT_TRUE(image);
    EXPECT_EQ(w.sim.memory(6146 + 32, 34), Bytes(image->begin() + 9, image->end()));
    EXPECT_EQ(w.sim.memory(6146, 32), Bytes(32, 0)); // offsets and constants are not the controller's
    EXPECT_EQ(w.sim.memory(6146 + 66, 1), Bytes{0});
}

// Each set written to its module reads back as the same fields.
TEST_F(AnalogFixture, DefaultSetsWriteTheirImagesAndReadBackAsSet) {
    for (int k = 0; k < DefaultSetCount; ++k) {
        AnalogConfig set(w.app);
        set.fields.txt_Input_K[3] = "2";
        set.SetDefault_Click(k == 5 ? 3 : 5); // a set after another is the set alone
        set.SetDefault_Click(k);
        EXPECT_EQ(set.fields.txt_Input_K[3], "2");
        AnalogConfig alone(w.app);
        alone.SetDefault_Click(k);
        EXPECT_EQ(EncodeConfig(set.fields), EncodeConfig(alone.fields)) << "set " << k;
        for (size_t c = 0; c < ChannelCount; ++c)
            EXPECT_EQ(std::to_string(InputTypes[static_cast<size_t>(set.fields.cmb_InputType[c])].Code),
                      set.fields.txt_Input_Type[c]);
        set.cmd_WriteProg_Click(0);
        const uint8_t slave = DefaultSets[static_cast<size_t>(k)].Slave;
        AnalogConfig back(w.app);
        back.AddSlave = set.AddSlave;
        back.Command2_Click();
        const auto image = EncodeConfig(back.fields);
        ASSERT_TRUE(image);
        EXPECT_EQ(Bytes(image->begin(), image->end()), w.sim.subMemory(slave, 0, ConfigBytes)) << "set " << k;
    }
}

TEST_F(AnalogFixture, KFromTheMeasuredValueAndItsWrite) {
    struct Case {
        int channel;
        std::string slave, measured, k;
    };
    const std::array<Case, 8> cases{{{0, "247", "10100", "0.99009900990099"},
                                     {1, "247", "3000", "1"},
                                     {1, "246", "20000", "1"},
                                     {1, "100", "3000", "7"}, // no nominal at this slave
                                     {0, "247", "0", "7"},
                                     {0, "247", "", "7"},
                                     {0, "247", "abc", "7"},
                                     {5, "247", "2", "7"}}};
    for (const Case& c : cases) {
        cfg.fields.txt_Input_K[static_cast<size_t>(c.channel)] = "7";
        cfg.AddSlave = c.slave;
        cfg.txt_Input_Mis[static_cast<size_t>(c.channel)] = c.measured;
        cfg.txt_Input_Mis_Change(c.channel);
        EXPECT_EQ(cfg.fields.txt_Input_K[static_cast<size_t>(c.channel)], c.k) << c.measured;
    }
    EXPECT_TRUE(w.dialogs.shown.empty());
    w.sent();
    cfg.AddSlave = "247";
    cfg.fields.txt_Input_K[2] = "1.01"; // 47 81 3F AE: the lowest byte is cut, not rounded
    cfg.WriteK_Click(2);
    EXPECT_EQ(w.sent(), (std::vector<Bytes>{{247, 20, 4, 0, 0, 49, 3, 0x47, 0x81, 0x3F}}));
}

// A refused field shows "Errore!" and sends nothing; the write of the whole module when no act is named.
TEST_F(AnalogFixture, RefusedFieldsShowErroreAndSendNothing) {
    using Step = std::function<void(AnalogConfig&)>;
    const std::vector<std::pair<Step, Step>> cases{
        {[](auto& c) { c.fields.txt_Input_offset[3] = "128"; }, nullptr},
        {[](auto& c) { c.fields.txt_Input_OffsetCJC = "-129"; }, [](auto& c) { c.cmd_WriteProg_Click(1); }},
        {[](auto& c) { c.fields.txt_nCelle = "256"; }, nullptr},
        {[](auto& c) { c.fields.txt_guadagno[1] = "G1"; }, nullptr},
        {[](auto& c) { c.fields.cmb_InputType[4] = -1; }, nullptr},
        {[](auto& c) { c.AddSlave = "abc"; }, nullptr},
        {[](auto& c) { c.AddSlave = "300"; }, [](auto& c) { c.Command2_Click(); }},
        {[](auto& c) { c.fields.txt_Input_K[6] = "1e39"; }, [](auto& c) { c.ScriviK(0, 7); }},
        {[](auto& c) { c.fields.txt_Input_K[0] = "nan"; }, [](auto& c) { c.WriteK_Click(0); }},
        {[](auto& c) { c.Text4 = "65536"; }, [](auto& c) { c.Out_Click(0); }},
        {[](auto& c) { c.Text7 = "-32769"; }, [](auto& c) { c.Out_Click(1); }},
        {[](auto& c) { c.Text2 = "0"; }, [](auto& c) { c.Command1_Click(); }},
        {[](auto& c) { c.Text1 = "dieci"; }, [](auto& c) { c.Command1_Click(); }},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        AnalogConfig c(w.app);
        c.SetDefault_Click(0);
        c.Text3 = "kept";
        cases[i].first(c);
        w.dialogs.shown.clear();
        w.sent();
        cases[i].second ? cases[i].second(c) : c.cmd_WriteProg_Click(0);
        EXPECT_EQ(w.dialogs.shown, std::vector<std::string>{"Errore!"}) << i;
        EXPECT_TRUE(w.sent().empty()) << i;
        EXPECT_EQ(c.Text3, "kept") << i;
    }
}

TEST_F(AnalogFixture, ServiceCommandsOnTheCurrentDevice) {
    cfg.Out_Click(0);
    EXPECT_EQ(w.sim.memory(24, 4), (Bytes{0x00, 0x00, 0x38, 0x4A}));
    cfg.Reset_Click(1);
    EXPECT_EQ(w.sim.memory(20, 4), (Bytes{0x00, 0x00, 0x20, 0x4E}));
    cfg.Force_Click(0, true);
    cfg.Force_Click(1, true);
    EXPECT_EQ(w.sim.holding(32), 20000);
    EXPECT_EQ(w.sim.holding(33), 20000);
    cfg.Text1 = "12345";
    cfg.Command1_Click();
    EXPECT_EQ(cfg.Text3, "1.2345");
    cfg.En_8250_Click(0);
    EXPECT_EQ(cfg.AddSlave, "246");
    EXPECT_EQ(w.sim.holding(10), 32768);
}

// A command is refused while another of the window pauses or another request waits for its answer.
TEST_F(AnalogFixture, OneCommandAtATime) {
    cfg.SetDefault_Click(0);
    w.pump.onEvents = [&] { cfg.Command2_Click(); };
    cfg.cmd_WriteProg_Click(0);
    w.pump.onEvents = nullptr;
    const auto sent = w.sent();
    EXPECT_EQ(sent.size(), 3u); // the three blocks, and no read among them
    for (const Bytes& r : sent)
        EXPECT_EQ(r[2], 4);
    w.comm->TransactionBusy = -1;
    cfg.Command2_Click();
    w.comm->TransactionBusy = 0;
    EXPECT_TRUE(w.sent().empty());
}

TEST(SwitchingRun, StopsAtTheNextPauseAndNeverRunsTwice) {
    ConfigWorld w(1);
    ASSERT_TRUE(w.connect());
    AnalogConfig cfg(w.app);
    int pauses = 0;
    w.pump.onEvents = [&] {
        if (++pauses == 1) cfg.Command11_Click(); // a second click stops the run, it starts none
    };
    cfg.Command11_Click();
    EXPECT_FALSE(cfg.switching());
    EXPECT_EQ(w.sent(), (std::vector<Bytes>{{1, 6, 0, 9, 0, 0}}));
}

} // namespace
