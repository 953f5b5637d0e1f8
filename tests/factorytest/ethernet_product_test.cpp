// frm_coll_NWAC's logic against its two peers.
#include <gtest/gtest.h>

#include "core/busy_run.h"
#include "worlds.h"

namespace {

TEST(EthernetProduct, BenchLampsAndOutputsFollowThePolling) {
    NwacWorld w;
    w.bench.cmd_connetti_Click(0);
    ASSERT_TRUE(w.bench.state.Frame1Enabled && w.bench.state.TimerEnabled);
    for (auto [status, v, r] : {std::tuple{768, true, true}, {256, true, false}, {0, false, false}}) {
        w.outputs.setInput(8, static_cast<uint16_t>(status));
        w.bench.Timer_Timer();
        EXPECT_EQ(w.bench.state.led, (std::array<bool, 2>{v, r})) << status;
    }
    w.bench.state.Range3V = true;
    w.bench.cmd_puls_Click(true);
    w.bench.cmd_rele_Click(0);
    w.bench.Timer_Timer();
    EXPECT_EQ(w.outputWord(), 1792);
    EXPECT_EQ(w.acWord(), 0);
    // DC to AC: the ticks during the second's pause see both relays off.
    std::vector<std::pair<uint16_t, uint16_t>> seen;
    w.pump.onEvents = [&] {
        w.bench.Timer_Timer();
        seen.emplace_back(w.outputWord(), w.acWord());
    };
    w.bench.cmd_rele_Click(1);
    w.pump.onEvents = nullptr;
    EXPECT_EQ(seen, (std::vector<std::pair<uint16_t, uint16_t>>{{1536, 0}}));
    EXPECT_EQ(w.bench.state.RelayColours, (std::array<uint32_t, 3>{ColourWhite, ColourRed, ColourWhite}));
    // START after DC: every output off, a second, then AC.
    w.bench.cmd_rele_Click(0);
    seen.clear();
    w.pump.onEvents = [&] { seen.emplace_back(w.outputWord(), w.acWord()); };
    const int64_t start = w.pump.nowMs();
    w.bench.Command1_Click();
    w.pump.onEvents = nullptr;
    EXPECT_EQ(seen, (std::vector<std::pair<uint16_t, uint16_t>>{{1536, 0}}));
    EXPECT_GE(w.pump.nowMs() - start, 1000);
    EXPECT_EQ(w.outputWord(), 1536);
    EXPECT_EQ(w.acWord(), 768);
    // No tick while a transaction waits, nor after "Discconnetti banco".
    const size_t sent = w.benchPeer.transcript().size();
    w.comm->TransactionBusy = 1;
    w.bench.Timer_Timer();
    w.comm->TransactionBusy = 0;
    {
        const BusyRun download(w.app, "a download"); // nor between a run's requests, where no command acts
        w.bench.Timer_Timer();
        w.bench.Command1_Click();
        w.bench.cmd_connetti_Click(0);
        w.bench.lst_device_Click(0);
        w.bench.state.txt_vers = "7";
        w.bench.cmd_Set_Click();
        w.bench.cmd_test_Click();
    }
    EXPECT_EQ(w.productPeer.transcript().size(), 0u);
    EXPECT_EQ(w.comm->CurrentDevice.IpAddress, "127.0.0.3");
    const auto& lines = w.shell->log.lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Command refused: a download is under way  "), 5);
    w.bench.cmd_connetti_Click(1);
    w.bench.Timer_Timer();
    EXPECT_EQ(w.benchPeer.transcript().size(), sent);
    EXPECT_TRUE(w.comm->CurrentDevice.Connected); // the link itself stays
    // An unreachable bench is never polled.
    w.bench.endpoints.Bench = "127.0.0.4";
    w.bench.cmd_connetti_Click(0);
    EXPECT_FALSE(w.bench.state.Frame1Enabled || w.bench.state.TimerEnabled);
}

TEST(EthernetProduct, ProductVariantAndVersionByte) {
    NwacWorld w;
    for (auto [entry, node] : {std::pair{2, 128}, {0, 255}}) {
        w.bench.lst_device_Click(entry);
        EXPECT_EQ(w.comm->CurrentDevice.NodeAddress, node);
        EXPECT_EQ(w.comm->CurrentDevice.IpAddress, "127.0.0.2");
    }
    EXPECT_TRUE(w.bench.state.Frame5Enabled);
    w.bench.state.txt_vers = "7";
    w.bench.cmd_Set_Click();
    EXPECT_EQ(w.product.memory(1, 1), Bytes{55});
    const size_t sent = w.productPeer.transcript().size();
    w.bench.state.txt_vers.clear();
    w.bench.cmd_Set_Click();
    EXPECT_EQ(w.productPeer.transcript().size(), sent);
    EXPECT_EQ(w.dialogs.shown.size(), 1u);
}

TEST(EthernetProduct, LoopTestCountsEveryFailureAndReturnsToTheBench) {
    struct Case {
        int errorFrom; // cycle from which "Error" is ticked; 0 never; negative: slave 11 answers empty
        int errors;
        uint32_t lamp;
    };
    for (const Case& c : {Case{0, 0, ColourGreen}, Case{3, 2, ColourRed}, Case{-3, 2, ColourRed}}) {
        NwacWorld w;
        w.emptyAnswers = c.errorFrom < 0; // an answer without its register is no answer
        w.bench.state.Device = 0;
        int cycles = 0;
        uint32_t lampWhileRunning = 0;
        w.pump.onEvents = [&] {
            if (!w.bench.state.TestAttivo) return;
            if (++cycles == 1) lampWhileRunning = w.bench.state.LoopLampColour;
            if (cycles + 1 == std::abs(c.errorFrom)) w.bench.state.ErrorSlave = true;
            if (cycles == 4) w.bench.cmd_stop_test_Click();
        };
        w.bench.cmd_test_Click();
        EXPECT_EQ(lampWhileRunning, ColourYellow);
        EXPECT_EQ(w.product.holding(5), 4);
        EXPECT_EQ(w.bench.state.LoopErrors, c.errors);
        EXPECT_EQ(w.bench.state.LoopLampColour, c.lamp);
        EXPECT_EQ(w.comm->CurrentDevice.IpAddress, "127.0.0.3");
        EXPECT_TRUE(w.bench.state.TimerEnabled);
    }
    NwacWorld w;
    w.bench.endpoints.Product = "127.0.0.4";
    w.bench.state.Device = 0;
    w.bench.cmd_test_Click();
    EXPECT_FALSE(w.bench.state.LoopLampLit);
    EXPECT_EQ(w.comm->CurrentDevice.IpAddress, "127.0.0.3");
}

TEST(EthernetProduct, WebPageAndArpRunWithArgumentLists) {
    NwacWorld w;
    w.bench.cmd_view_Click();
    w.bench.Command2_Click();
    EXPECT_EQ(w.runner.started, (std::vector<std::vector<std::string>>{{"xdg-open", "http://127.0.0.2"},
                                                                       {"arp", "-d", "127.0.0.2"}}));
}

} // namespace
