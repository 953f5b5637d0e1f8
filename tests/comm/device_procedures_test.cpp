// The device read/write procedures against the simulated controller: requests byte for byte, effects on
// the state, and failures that change nothing.
#include <gtest/gtest.h>

#include <functional>

#include "comm/device_procedures.h"
#include "support/sim_controller.h"
#include "support/sim_session.h"

namespace {

class DeviceProcedures : public ::testing::Test {
  protected:
    void SetUp() override {
        s.comm->CurrentDevice.LinkTimeout = 300;
        ASSERT_TRUE(s.connectTcp(sim.startTcp()));
    }
    Bytes lastRequest() const { return sim.transcript().back(); }
    bool loggedError() const { return s.shell->log.lines().back() == "Error  "; }
    SimController sim{10};
    SimSession s;
};

// A failed command keeps the run state; the status is refreshed either way.
TEST_F(DeviceProcedures, ScriviComandoWritesTheCommandRegister) {
    for (uint8_t code : {CmdRun, CmdRunToBreak, CmdHalt, CmdStop}) {
        EXPECT_TRUE(ScriviComando(s.app, code));
        EXPECT_EQ(lastRequest(), (Bytes{10, 6, 0, 0, 0, code}));
        EXPECT_EQ(s.comm->CurrentDevice.RunState, code);
    }
    sim.inject({SimFault::Silence});
    EXPECT_FALSE(ScriviComando(s.app, CmdHalt));
    EXPECT_EQ(s.comm->CurrentDevice.RunState, CmdStop);
    EXPECT_TRUE(loggedError());
    EXPECT_EQ(s.refreshes, 6); // one for the connect, one per command
}

TEST_F(DeviceProcedures, MemoryBlocksGoBothWays) {
    Bytes block(32);
    for (size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<uint8_t>(0xA0 + i);
    std::copy(block.begin(), block.end(), s.project->MemoryImage.begin() + 100);
    s.comm->MonitorOn = -1;
    EXPECT_TRUE(ScriviMemoria(s.app, 10, 0x1234, 100, 32));
    EXPECT_EQ(s.comm->MonitorOn, 0);
    Bytes expected{10, 20, 4, 0, 0x12, 0x34, 32};
    expected.insert(expected.end(), block.begin(), block.end());
    EXPECT_EQ(lastRequest(), expected);
    EXPECT_EQ(sim.memory(0x1234, 32), block);

    EXPECT_TRUE(LeggiMemoria(s.app, 10, 0x1234, 5000, 32));
    EXPECT_EQ(lastRequest(), (Bytes{10, 20, 2, 0, 0x12, 0x34, 32}));
    EXPECT_TRUE(std::equal(block.begin(), block.end(), s.project->MemoryImage.begin() + 5000));

    sim.setFlash(0x123456, {1, 2, 3});
    EXPECT_TRUE(LeggiFlash(s.app, 10, 0x123456, 0, 3));
    EXPECT_EQ(lastRequest(), (Bytes{10, 20, 5, 0x12, 0x34, 0x56, 3}));
    EXPECT_EQ(s.project->MemoryImage[2], 3);
}

TEST_F(DeviceProcedures, ReadsCopyNothingFromAFailedOrShortAnswer) {
    sim.setMemory(0, Bytes(32, 0x77));
    sim.inject({SimFault::Exception, 0, 2});
    EXPECT_FALSE(LeggiMemoria(s.app, 10, 0, 0, 32));
    EXPECT_TRUE(loggedError());
    // The device answers fewer bytes than asked for: the count is checked before anything is copied.
    sim.inject({SimFault::Raw, 0, 0, {0, 0, 0, 0, 0, 5, 10, 20, 2, 0x77, 0x77}});
    s.comm->FixedTransactionId = -1; // the scripted answers carry identifier 0
    EXPECT_FALSE(LeggiMemoria(s.app, 10, 0, 0, 32));
    sim.inject({SimFault::Raw, 0, 0, {0, 0, 0, 0, 0, 5, 10, 20, 32, 0x77, 0x77}});
    s.comm->FixedTransactionId = -1; // the scripted answers carry identifier 0
    EXPECT_FALSE(LeggiMemoria(s.app, 10, 0, 0, 32));
    EXPECT_EQ(s.project->MemoryImage[0], 0);
    EXPECT_EQ(s.project->MemoryImage[1], 0);
}

// Blocks outside the device's or the image's range, and values their fields cannot hold, are refused
// (and logged) before anything is sent.
TEST_F(DeviceProcedures, OutOfRangeRequestsAreRefusedBeforeSending) {
    double tooBig = 70000;
    const std::function<bool()> calls[] = {
        [&] { return LeggiMemoria(s.app, 10, 65536, 0, 32); },
        [&] { return LeggiMemoria(s.app, 10, -1, 0, 32); },
        [&] { return LeggiMemoria(s.app, 10, 0, 65530, 32); },
        [&] { return ScriviMemoria(s.app, 10, 0, -1, 32); },
        [&] { return LeggiFlash(s.app, 10, 0x1000000, 0, 1); },
        [&] { return ScriviRegistro(s.app, 10, 40, tooBig); },
        [&] { return ScriviLong(s.app, -2, false, 50); },
        [&] { return ScriviLong(s.app, 4294967296.0, false, 50); },
        [&] { return ScriviStringa(s.app, std::string(100, 'x'), 60); },
    };
    for (size_t i = 0; i < std::size(calls); ++i) {
        const size_t logged = s.shell->log.lines().size();
        EXPECT_FALSE(calls[i]()) << i;
        EXPECT_GT(s.shell->log.lines().size(), logged) << i;
    }
    EXPECT_TRUE(loggedError());
    s.pump.pausa(0.05);
    EXPECT_TRUE(sim.transcript().empty());
}

TEST_F(DeviceProcedures, LeggiStatoPLCFollowsTheModeByteAndTheRunStatusMustFitAByte) {
    sim.setInput(0, CmdRun);
    sim.setMemory(19, {0x56});
    EXPECT_TRUE(LeggiStatoPLC(s.app));
    EXPECT_EQ(sim.transcript().front(), (Bytes{10, 20, 2, 0, 0, 19, 1}));
    EXPECT_EQ(sim.transcript().back(), (Bytes{10, 4, 0, 0, 0, 1}));
    EXPECT_EQ(s.comm->CurrentDevice.DebugMode, -1);
    EXPECT_EQ(s.comm->CurrentDevice.RunState, CmdRun);
    EXPECT_EQ(s.groupCalls.back(), "Puls_Debug=on");

    sim.setMemory(19, {0x55});
    EXPECT_FALSE(LeggiStatoPLC(s.app));
    EXPECT_EQ(s.comm->CurrentDevice.DebugMode, 0);
    EXPECT_EQ(s.groupCalls.back(), "Puls_Debug=off");

    // Neither mode: flags and buttons stay, the run status is still read.
    s.comm->CurrentDevice.DebugMode = -1;
    s.groupCalls.clear();
    sim.setMemory(19, {0x00});
    sim.setInput(0, CmdStop);
    EXPECT_FALSE(LeggiStatoPLC(s.app));
    EXPECT_EQ(s.comm->CurrentDevice.DebugMode, -1);
    EXPECT_TRUE(s.groupCalls.empty());
    EXPECT_EQ(s.comm->CurrentDevice.RunState, CmdStop);

    // No answer: the mode is unknown, so the refresh no longer shows debug mode nor offers the download.
    int16_t modeAtRefresh = -1;
    s.shell->status.onAggiornaStato = [&] { modeAtRefresh = s.comm->CurrentDevice.DebugMode; };
    sim.inject({SimFault::Silence});
    EXPECT_FALSE(LeggiStatoPLC(s.app));
    EXPECT_EQ(modeAtRefresh, 0);
    EXPECT_EQ(s.groupCalls, (std::vector<std::string>{"Puls_Download=off", "Puls_Debug=off"}));

    // A run status must fit a byte; a silent register reads zero.
    sim.setInput(7, 0xFFFF);
    sim.setInput(0, 300);
    EXPECT_EQ(AttendiStato(s.app), 0);
    EXPECT_TRUE(loggedError());
    sim.inject({SimFault::Silence});
    EXPECT_EQ(LeggiRegistro(s.app, 10, 7), 0.0);
}

// Register values round halves to even and go out as 16-bit fields; a long goes low word first, like a
// float; a text ends with one or two zeros, a whole number of registers.
TEST_F(DeviceProcedures, WritesGoOutByteForByte) {
    double half = 2.5, threeHalves = 3.5, minusOne = -1;
    s.comm->Registers[50].ValueType = 2; // uLong
    s.comm->Registers[70].ValueType = 4; // Float
    const std::pair<std::function<bool()>, std::vector<Bytes>> cases[] = {
        {[&] { return ImpostaModoDebug(s.app, true); }, {{10, 20, 4, 0, 0, 19, 1, 0x56}}},
        {[&] { return ScriviRegistro(s.app, 10, 41, threeHalves); }, {{10, 6, 0, 41, 0, 4}}},
        {[&] { return ScriviRegistro(s.app, 10, 42, minusOne); }, {{10, 6, 0, 42, 0xFF, 0xFF}}},
        {[&] { return ScriviRegistro(s.app, 10, 40, half); }, {{10, 6, 0, 40, 0, 2}}},
        {[&] { return ScriviLong(s.app, 0x01020304, false, 50); }, {{10, 16, 0, 50, 0, 2, 4, 3, 4, 1, 2}}},
        {[&] { return ScriviLong(s.app, -2, true, 52); }, {{10, 16, 0, 52, 0, 2, 4, 0xFF, 0xFE, 0xFF, 0xFF}}},
        {[&] { return ScriviStringa(s.app, "ABC", 60); }, {{10, 16, 0, 60, 0, 2, 4, 'A', 'B', 'C', 0}}},
        {[&] { return ScriviStringa(s.app, "", 60); }, {{10, 16, 0, 60, 0, 1, 2, 0, 0}}},
        {[&] { return ScriviStringa(s.app, "ABCD", 60); },
         {{10, 16, 0, 60, 0, 3, 6, 'A', 'B', 'C', 'D', 0, 0}}},
        {[&] { return ScriviFloat(s.app, 1.0, 70); }, {{10, 6, 0, 70, 0, 0}, {10, 6, 0, 71, 0x3F, 0x80}}},
        {[&] { return ScriviFloat(s.app, -2.5, 72); }, {{10, 6, 0, 72, 0, 0}, {10, 6, 0, 73, 0xC0, 0x20}}},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        sim.clearTranscript();
        EXPECT_TRUE(cases[i].first()) << i;
        EXPECT_EQ(sim.transcript(), cases[i].second) << i;
    }
    EXPECT_EQ(sim.modeByte(), 0x56);
    EXPECT_EQ(half, 2.0);
    // The cache holds what reading back shows: a register of a 32-bit type its pair, the others their word.
    EXPECT_EQ(s.comm->Registers[40].Value, 2);
    EXPECT_EQ(s.comm->Registers[50].Value, 0x01020304);
    EXPECT_EQ(s.comm->Registers[51].Value, 0x0102);
    EXPECT_EQ(s.comm->Registers[70].Value, 0x3F800000);
    EXPECT_EQ(s.comm->Registers[62].ValueType, 13);
    EXPECT_EQ(s.comm->Registers[63].ValueType, 0);
    EXPECT_EQ(s.comm->Registers[73].Value, static_cast<int16_t>(0xC020));
    EXPECT_TRUE(ScriviStringa(s.app, std::string(99, 'x'), 60)); // the longest text

    // A float whose low word is refused does not send its high word.
    sim.clearTranscript();
    sim.inject({SimFault::Exception, 0, 2});
    EXPECT_FALSE(ScriviFloat(s.app, 10.0, 70));
    s.pump.pausa(0.05);
    EXPECT_EQ(sim.transcript().size(), 1u);
}

// Another slave's register is not this node's: the cache stays.
TEST_F(DeviceProcedures, ScriviRegistroToAnotherSlaveLeavesTheCache) {
    SimController other{11};
    SimSession t;
    ASSERT_TRUE(t.connectTcp(other.startTcp()));
    double v = 9;
    EXPECT_TRUE(ScriviRegistro(t.app, 11, 40, v));
    EXPECT_EQ(other.holding(40), 9);
    EXPECT_EQ(t.comm->Registers[40].Value, 0);
}

} // namespace
