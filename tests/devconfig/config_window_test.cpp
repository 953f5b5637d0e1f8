// The configuration window's logic and the module memory procedures against the simulated module at
// node 10, whose pauses are only counted, so sequences with waits in them run at once.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/busy_run.h"
#include "core/language.h"
#include "devconfig/config_window.h"
#include "devconfig/model_entries.h"
#include "devconfig/module_memory.h"
#include "support/sim_controller.h"
#include "support/sim_session.h"

namespace {

struct CountingPump : QtEventPump {
    double paused = 0;
    void pausa(double seconds) override {
        paused += seconds;
        processEvents();
    }
};

// The session, and the window of the model when one is named.
struct DevconfigSession {
    explicit DevconfigSession(const std::string& model = {}) {
        sim.answerSubAddress(247);
        s.comm->CurrentDevice.LinkTimeout = 300; // a silent sub-address fails fast
        CaricaRisorse(*s.shell, 1);
        w.NomeModello = model;
        if (!model.empty()) w.Form_Load();
    }
    bool connect() { return s.connectTcp(sim.startTcp()); }
    int errors() const {
        const auto& lines = s.shell->log.lines();
        return static_cast<int>(std::count(lines.begin(), lines.end(), "Error  "));
    }

    SimController sim{10};
    SimSession s;
    CountingPump pump;
    AppContext app{*s.shell, *s.comm, *s.project, pump, s.dialogs, &s.link};
    ConfigWindow w{app};
};

TEST(ConfigWindow, CommandsSendTheirFrames) {
    struct Case {
        const char* Model;
        std::function<void(ConfigWindow&)> Act;
        std::vector<Bytes> Sent;
        size_t Messages = 0;
    };
    const Case cases[]{
        {"JXV7541", [](ConfigWindow& w) { w.cmd_Set_Click(0); }, {{10, 6, 0, 13, 0, 0}}},
        {"JXV7287",
         [](ConfigWindow& w) {
             for (auto& t : w.OutTypes)
                 t.Selected = 1;
             w.cmd_Set_Click(0);
         },
         {{10, 6, 0, 13, 0, 255}}},
        {"JXV7020",
         [](ConfigWindow& w) {
             w.Safe = {"-1", "0", "1", "255", "256", "32767", "-32768", "65535"};
             w.cmd_Set_Click(1);
         },
         {{10, 16, 0, 8, 0, 8, 16, 0xFF, 0xFF, 0, 0, 0, 1, 0, 0xFF, 1, 0, 0x7F, 0xFF, 0x80, 0, 0xFF, 0xFF}}},
        {"JXV7020",
         [](ConfigWindow& w) {
             w.Safe = {"0", "0", "0", "70000", "0", "0", "0", "0"};
             w.cmd_Set_Click(1);
         },
         {},
         1},
        {"JXV7734", [](ConfigWindow& w) { w.cmd_Set_Click(0); }, {}},
        {"JXV7734", [](ConfigWindow& w) { w.cmd_start_Click(); }, {}, 1}, // no live reads: said, not polled
        {"JXV7541",
         [](ConfigWindow& w) {
             w.Indirizzo = "256";
             w.cmd_Set_Click(0);
             w.cmd_Toggle_Click(0);
             w.cmd_start_Click();
         },
         {},
         3},
        {"JXV7734",
         [](ConfigWindow& w) {
             w.Events = {true, false, true};
             w.cmd_Toggle_Click(1);
             w.cmd_Toggle_Click(1);
         },
         {{10, 6, 0, 10, 7, 0}, {10, 6, 0, 10, 5, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Model);
        DevconfigSession d(c.Model);
        ASSERT_TRUE(d.connect());
        c.Act(d.w);
        EXPECT_EQ(d.sim.transcript(), c.Sent);
        EXPECT_EQ(d.s.dialogs.shown.size(), c.Messages);
    }
}

TEST(ConfigWindow, SendsNothingBetweenTheRequestsOfARun) {
    DevconfigSession d("JXV7541");
    ASSERT_TRUE(d.connect());
    {
        const BusyRun download(d.app, "a download");
        d.w.cmd_Set_Click(0);
        d.w.cmd_Toggle_Click(0);
        d.w.cmd_sync_Click();
    }
    EXPECT_TRUE(d.sim.transcript().empty());
    const auto& lines = d.s.shell->log.lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Request refused: a download is under way  "), 3);
    EXPECT_FALSE(d.w.Events[0]);
    EXPECT_TRUE(d.s.dialogs.shown.empty());
}

TEST(ConfigWindow, SyncIsSentWithoutWaitingAndAFailedToggleReverts) {
    DevconfigSession d("JXV7734");
    ASSERT_TRUE(d.connect());
    d.w.cmd_sync_Click();
    d.sim.inject({SimFault::Exception, 0, 2});
    d.w.cmd_Toggle_Click(2);
    EXPECT_EQ(d.sim.transcript()[0], (Bytes{255, 6, 0, 0, 0, 0}));
    EXPECT_EQ(d.s.comm->AnswerExpected, -1);
    EXPECT_FALSE(d.w.Events[2]);
    EXPECT_EQ(d.errors(), 1); // the toggle's; the broadcast awaits nothing
}

TEST(ConfigWindow, ReadsSelectTypesAndAFailedReadEndsPolling) {
    DevconfigSession d("JXV8480AI");
    ASSERT_TRUE(d.connect());
    d.sim.setInput(34, 13);
    d.w.TabStrip1_Click(TabAnalogIn);
    EXPECT_EQ(d.w.Types[0].selected()->Name, "Pt100");
    d.sim.inject({SimFault::Silence});
    d.w.cmd_start_Click(); // the silent module ends the loop after its first pass
    EXPECT_EQ(d.w.Types[0].Selected, -1);
    EXPECT_FALSE(d.w.polling());
    EXPECT_EQ(d.s.comm->PollBusy, 0);
    EXPECT_EQ(d.sim.transcript().size(), 2u);

    d.w.modello_Click("JXV7593-4R4T");
    d.sim.setSubMemory(247, 11, {13, 14, 15, 16, 17, 18});
    d.w.cmd_read_Click(0); // 246 is silent: its channels keep no selection
    EXPECT_EQ(d.w.Types[5].selected()->Name, "Res H");
    EXPECT_EQ(d.w.Types[6].selected(), nullptr);
    EXPECT_EQ(d.sim.holding(17), 0);
    EXPECT_EQ(d.w.Pronto, -1);
}

TEST(ConfigWindow, LanguageSwitchKeepsSelectionsAndPortsSendTheirSpeed) {
    DevconfigSession d("JXV8410-USB");
    EXPECT_EQ(d.w.Model, "JXV8410-USB");
    d.w.cmd_calendar_Click();
    d.w.MonthView1_DateClick(2024, 3, 15);
    EXPECT_FALSE(d.w.CalendarShown);
    d.w.Baud[0].Selected = 3; // 9600
    d.w.Parity[0].Selected = 1;
    d.w.StopBits[0].Selected = 1;
    d.w.Baud[1].Selected = 7;
    CaricaRisorse(*d.s.shell, 0);
    d.w.SetRes();
    EXPECT_EQ(
        (std::vector<std::string>{d.w.Captions["frm_Config2"], d.w.Captions["Frm_com(1)"],
                                  d.w.Month.selected()->first, d.w.Day.selected()->first,
                                  d.w.Year.selected()->first}),
        (std::vector<std::string>{"Configura Dispositivi", "Port 1 (RS485 Master)", "Marzo", "15", "2024"}));
    EXPECT_EQ(d.w.Parity[0].Items.size(), 3u);
    EXPECT_EQ(d.w.Year.Items.size(), 100u);
    EXPECT_EQ(d.w.PortSetting(0), 3 + 32 + 8);
    EXPECT_EQ(d.w.PortSetting(1), std::nullopt);
}

TypeRows variantRows(std::initializer_list<uint8_t> codes) {
    TypeRows rows;
    FillTypeRows(rows, TypesOf(entry::EightChannelVariant));
    size_t k = 0;
    for (uint8_t c : codes)
        rows[k++].selectCode(c);
    return rows;
}

// A channel without a type refuses the whole write; a complete one goes to both sub-addresses inside the
// bracket.
TEST(ModuleMemory, WriteGoesToBothSubAddressesInsideTheBracket) {
    DevconfigSession d;
    d.sim.answerSubAddress(246);
    ASSERT_TRUE(d.connect());
    EXPECT_FALSE(WriteChannelTypes(d.app, 10, variantRows({2, 3, 4, 5, 13, 0, 17})));
    EXPECT_TRUE(d.sim.transcript().empty());
    EXPECT_EQ(d.s.dialogs.shown.size(), 1u);
    EXPECT_TRUE(WriteChannelTypes(d.app, 10, variantRows({2, 3, 4, 5, 13, 0, 17, 18})));
    const std::vector<Bytes> expected{{10, 6, 0, 17, 0xF6, 0xF7},
                                      {0xF7, 20, 4, 0, 0, 11, 6, 2, 3, 4, 5, 13, 0},
                                      {0xF6, 20, 4, 0, 0, 11, 2, 17, 18},
                                      {10, 6, 0, 17, 0, 0}};
    EXPECT_EQ(d.sim.transcript(), expected);
    EXPECT_EQ(d.sim.subMemory(247, 11, 6), (Bytes{2, 3, 4, 5, 13, 0}));
    EXPECT_EQ(d.sim.subMemory(246, 11, 2), (Bytes{17, 18}));
}

TEST(ModuleMemory, ReadWithSilentSecondSubAddressKeepsItsChannels) {
    DevconfigSession d;
    ASSERT_TRUE(d.connect());
    d.sim.setSubMemory(247, 11, {1, 2, 3, 4, 5, 99, 7, 8}); // 99: no entry carries it
    TypeRows rows = variantRows({0, 0, 0, 0, 0, 13, 14, 15});
    ReadChannelTypes(d.app, 10, rows);
    std::vector<int> codes;
    for (const TypeRow& r : rows)
        codes.push_back(r.selected()->Code);
    EXPECT_EQ(codes, (std::vector<int>{1, 2, 3, 4, 5, 13, 14, 15}));
    EXPECT_EQ(d.errors(), 1);
    EXPECT_EQ(d.sim.transcript()[1], (Bytes{0xF7, 20, 2, 0, 0, 11, 8}));
    EXPECT_EQ(d.sim.transcript()[2], (Bytes{0xF6, 20, 2, 0, 0, 11, 8}));
    EXPECT_EQ(d.sim.transcript().back(), (Bytes{10, 6, 0, 17, 0, 0}));
    EXPECT_EQ(d.sim.holding(17), 0);
}

TEST(ModuleMemory, DisplayTypeWriteSetsBit15AroundIt) {
    DevconfigSession d;
    ASSERT_TRUE(d.connect());
    TypeRows rows;
    FillTypeRows(rows, TypesOf(entry::JXV8480AI));
    rows[0].selectCode(13);

    d.sim.inject({SimFault::Exception, 0, 2}); // register 10 cannot be read: nothing is written
    EXPECT_FALSE(WriteDisplayType(d.app, 10, rows));
    EXPECT_EQ(d.sim.transcript().size(), 1u);
    EXPECT_EQ(d.s.dialogs.shown.back(),
              "Register 10 of the module could not be read: the input type was not written.");

    d.sim.clearTranscript();
    d.sim.setInput(10, 0x8005); // bit 15 already set: OR keeps the value in range
    EXPECT_TRUE(WriteDisplayType(d.app, 10, rows));
    const std::vector<Bytes> expected{{10, 4, 0, 10, 0, 1},
                                      {10, 6, 0, 17, 0, 0},
                                      {10, 6, 0, 10, 0x80, 0x05},
                                      {10, 6, 0, 34, 0, 13},
                                      {10, 6, 0, 10, 0x80, 0x05}};
    EXPECT_EQ(d.sim.transcript(), expected);
    EXPECT_EQ(d.pump.paused, 2.5);
    EXPECT_EQ(d.errors(), 1); // the failed read only
}

} // namespace
