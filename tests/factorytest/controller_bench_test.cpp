// The controller test bench against its simulated world: both phases end to end and the failure paths.
#include <gtest/gtest.h>

#include "program/transfer/file_output.h"
#include "worlds.h"

namespace {

std::vector<uint32_t> colours(const ControllerWorld& w) {
    return {w.bench.state.StepColour.begin(), w.bench.state.StepColour.end()};
}

TEST(ControllerBench, BothPhasesRunGreenAndTheUnitHoldsTheProgramAndTheClock) {
    ControllerWorld w;
    w.tickAll(true, true);
    w.comm->CurrentDevice.DebugMode = -1; // as a connect to a controller in debug mode leaves it
    int startsDuringRun = 0;
    w.pump.onEvents = [&] {
        if (w.bench.state.Running && startsDuringRun++ == 0) w.bench.cmd_start_Click(); // refused
    };
    w.bench.cmd_start_Click();
    // The I/O steps show their result on the indicators.
    // Without limits the consumption steps show their reading and stay yellow.
    std::vector<uint32_t> green(CollaudoSteps, ColourGreen);
    green[8] = green[9] = NotColoured;
    green[0] = green[2] = ColourYellow;
    EXPECT_EQ(colours(w), green);
    EXPECT_EQ(w.bench.state.Consumption, (std::array<std::string, 2>{"100 mA", "50 mA"}));
    for (uint32_t led : w.bench.state.Led)
        EXPECT_EQ(led, ColourGreen);
    EXPECT_EQ(w.dialogs.shown,
              (std::vector<std::string>{"Alim = OFF", "Chiudere switch INIT", "Alim = ON, 10 Volt",
                                        "Alim = ON, 24 Volt", "Alim = OFF", "Aprire switch INIT",
                                        "Alim = ON, 24 Volt"}));
    // Addresses 0..511 over the serial line, the rest over Ethernet.
    for (size_t a : {0u, 511u, 512u, 65000u})
        EXPECT_EQ(w.unit.memory(static_cast<uint32_t>(a), 1)[0], a % 251) << a;
    for (const Bytes& r : w.rtu.transcript())
        if (r[1] == 20) {
            EXPECT_LT(r[4] << 8 | r[5], 512);
        }
    EXPECT_EQ(w.bench.state.Label2, "600/500");
    EXPECT_EQ(w.unit.modeByte(), 0x55); // release mode after the exchange, and the main window says so
    EXPECT_EQ(w.shell->status.Text[2], "Release Mode");
    // 09:05:07 on 3 February 2016, to the unit itself.
    EXPECT_EQ(w.tcp.transcript().back(),
              (Bytes{10, 16, 0, 22, 0, 4, 8, 0, 0x07, 0x05, 0x09, 0, 0x03, 0x02, 0x16}));
    EXPECT_EQ((std::tuple{w.bench.state.Day, w.bench.state.Month, w.bench.state.Year, w.bench.state.Hour}),
              (std::tuple{2, 1, 16, std::string("9")}));
    EXPECT_FALSE(w.bench.state.Running);
}

TEST(ControllerBench, ABadTestProgramEndsTheRunBeforeSupplyOrLink) {
    struct Case {
        size_t values;
        int bad;
        bool present;
    };
    for (const Case& c : {Case{65001, -1, false}, Case{65000, -1, true}, Case{65001, 4000, true}}) {
        ControllerWorld w(c.values, c.bad);
        if (!c.present) std::filesystem::remove(w.program);
        w.tickAll(true, true);
        w.bench.cmd_start_Click();
        ASSERT_EQ(w.dialogs.shown.size(), 1u);
        EXPECT_NE(w.dialogs.shown[0].find(w.program.string()), std::string::npos);
        EXPECT_TRUE(w.rtu.transcript().empty() && w.tcp.transcript().empty());
        EXPECT_EQ(colours(w), std::vector<uint32_t>(CollaudoSteps, NotColoured));
    }
}

TEST(ControllerBench, BaseStepsFailOnTheirOwnFaults) {
    enum Fault { StuckChannel, DeadReference, ExchangeOff, ExchangeSilent, YearOutOfRange };
    for (Fault f : {StuckChannel, DeadReference, ExchangeOff, ExchangeSilent, YearOutOfRange}) {
        ControllerWorld w;
        w.tickAll(false, true);
        w.inputStuckHigh = f == StuckChannel ? 0x100 : 0;
        w.refuseReferenceReads = f == DeadReference;
        w.exchangeEnabled = f != ExchangeOff;
        w.counterStep = f == ExchangeSilent ? 0 : 100;
        if (f == YearOutOfRange)
            w.bench.clock = [] {
                std::tm t{};
                t.tm_year = 200, t.tm_mday = 1;
                return t;
            };
        w.bench.cmd_start_Click();
        const auto& s = w.bench.state;
        const bool exchangeFails = f == ExchangeOff || f == ExchangeSilent;
        EXPECT_EQ(s.StepColour[7], exchangeFails ? ColourRed : ColourGreen) << f;
        // A channel stuck on mismatches in the rows that clear it; a failed read fails the four outputs.
        EXPECT_EQ(s.Led[0], f == StuckChannel ? ColourRed : ColourGreen) << f;
        EXPECT_EQ(s.Led[1], ColourGreen) << f;
        for (size_t i = 4; i < 8; ++i)
            EXPECT_EQ(s.Led[i], f == DeadReference ? ColourRed : ColourGreen) << f << " " << i;
        EXPECT_EQ(s.StepColour[10], f == YearOutOfRange ? ColourRed : ColourGreen) << f;
        if (f == YearOutOfRange) {
            EXPECT_NE(w.tcp.transcript().back()[1], 16);
            EXPECT_EQ(w.dialogs.shown.back(),
                      "The PC's year 2100 is outside 2000-2099: the unit's clock is not set.");
        }
        if (f == ExchangeSilent) {
            EXPECT_GE(w.pump.nowMs(), 30000);
        }
    }
}

// STOP clicked while a request waits comes back at the next pass of the event loop outside a request, as
// the input hold gives it back: the run ends at the end of the step it was clicked in.
TEST(ControllerBench, StopClickedDuringAStepEndsTheRunAtThatStepsEnd) {
    struct Case {
        const char* during;
        uint32_t request; // node, function and register
        int nth;
        long inputWrites; // the Inputs step's writes to the reference unit's register 9
    };
    for (const Case& c : {Case{"the RS-485 step's last request", 99u << 24 | 6 << 16 | 26, 3, 0},
                          Case{"the Inputs step's first request", 99u << 24 | 6 << 16 | 9, 1, 4}}) {
        SCOPED_TRACE(c.during);
        ControllerWorld w;
        w.tickAll(false, true);
        w.stopDuring = c.request;
        w.stopNth = c.nth;
        w.pump.onEvents = [&w] {
            if (w.stopClicked.exchange(false)) w.bench.Command1_Click();
        };
        w.bench.cmd_start_Click();
        const auto sent = w.tcp.transcript();
        const auto writesOfRegister9 = [&sent](uint8_t node) {
            return std::count_if(sent.begin(), sent.end(), [node](const Bytes& r) {
                return r[0] == node && r[1] == 6 && (r[2] << 8 | r[3]) == 9;
            });
        };
        EXPECT_EQ(writesOfRegister9(99), c.inputWrites);
        EXPECT_EQ(writesOfRegister9(10), 0); // the Outputs step never began
        EXPECT_EQ(w.bench.state.StepColour[7], ColourGreen);
        EXPECT_EQ(w.bench.state.StepColour[10], NotColoured);
    }
}

TEST(ControllerBench, IdentityAndConsumptionQuestions) {
    struct Case {
        MsgChoice consumption, identity;
        std::vector<uint32_t> init; // steps 0..3
    };
    for (const Case& c : {
             // An unknown unit let through; a reading outside the limits measured again.
             Case{MsgChoice::Retry, MsgChoice::Ok, {ColourGreen, ColourGreen, ColourGreen, ColourGreen}},
             Case{MsgChoice::Abort, MsgChoice::Cancel, {ColourRed, ColourRed, ColourGreen, ColourRed}},
         }) {
        ControllerWorld w;
        w.bench.settings.Consumption = {{{10, 20, 250}, {24, 10, {}}}};
        w.bench.state.Init = true;
        for (size_t i = 0; i <= 3; ++i)
            w.bench.state.Ticked[i] = true;
        w.unit.setIdentification(0x08, 0x07, 7, 0);
        w.dialogs.inputs = {"0.5", "0.1", "0.05"}; // 500 mA is too much at 10 V
        w.dialogs.answers["ERRORE: CONSUMO"] = {c.consumption};
        w.dialogs.answers["DISPOSITIVO NON RICONOSCIUTO"] = {c.identity, c.identity};
        w.bench.cmd_start_Click();
        const auto all = colours(w);
        EXPECT_EQ(std::vector<uint32_t>(all.begin(), all.begin() + 4), c.init);
        EXPECT_EQ(
            std::count(w.dialogs.shown.begin(), w.dialogs.shown.end(), "ERRORE: CONSUMO =500mA [20\367250]"),
            1);
    }
}

// The limits are the operator's, kept in the bench's settings file byte for byte; what cannot be kept
// or read is said, never guessed.
TEST(ControllerBench, ConsumptionLimitsAreSavedAndReadBack) {
    const std::string file =
        (std::filesystem::temp_directory_path() / ("melqo-collaudo-" + std::to_string(::getpid()) + ".dat"))
            .string();
    {
        ControllerWorld w;
        w.bench.settings.LimitsFile = file;
        std::string error;
        EXPECT_TRUE(w.bench.setConsumptionLimits(0, 20, 250.5, error));
        EXPECT_TRUE(w.bench.setConsumptionLimits(1, {}, 150, error));
        EXPECT_FALSE(w.bench.setConsumptionLimits(1, 200, 150, error));
        EXPECT_EQ(error, "The maximum 150 mA lies below the minimum 200 mA: limits not changed.");
        std::string bytes;
        ASSERT_TRUE(ReadWholeFile(file, bytes));
        EXPECT_EQ(bytes, "20\r\n250.5\r\n\r\n150\r\n");
        w.bench.settings.LimitsFile = "/nonexistent/melqo/collaudo.dat";
        EXPECT_FALSE(w.bench.setConsumptionLimits(0, {}, {}, error));
        EXPECT_EQ(error, "Limits not saved: /nonexistent/melqo/collaudo.dat: No such file or directory.");
        EXPECT_EQ(w.bench.settings.Consumption[0].maxMa, 250.5);
    }
    ControllerWorld w;
    w.bench.settings.LimitsFile = file;
    w.bench.loadConsumptionLimits();
    EXPECT_EQ(w.bench.settings.Consumption[0].minMa, 20);
    EXPECT_EQ(w.bench.settings.Consumption[1].minMa, std::nullopt);
    EXPECT_EQ(w.bench.settings.Consumption[1].maxMa, 150);
    EXPECT_TRUE(w.dialogs.shown.empty());
    ASSERT_TRUE(WriteWholeFile(file, "20\r\nmuch\r\n-3\r\n"));
    w.bench.loadConsumptionLimits();
    EXPECT_EQ(w.dialogs.shown,
              (std::vector<std::string>{file + " line 2 is not a number of mA: that limit is not set.",
                                        file + " line 3 is not a number of mA: that limit is not set."}));
    EXPECT_EQ(w.bench.settings.Consumption[0].maxMa, std::nullopt);
    EXPECT_EQ(w.bench.settings.Consumption[1].maxMa, std::nullopt);
    std::filesystem::remove(file);
}

} // namespace
