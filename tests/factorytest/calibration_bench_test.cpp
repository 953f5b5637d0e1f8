// The calibration bench end to end on every model, and runs that meet a fault: each of those ends in a
// clear failure, never in a false pass or a flood of boxes.
#include <gtest/gtest.h>

#include "worlds.h"

namespace {

// Rows of each model's default check list that measure something.
constexpr std::array<const char*, 4> RowsMeasured{
    "1 2 3 4 5 6 7 8 9 11 12 13 14 15 ", "1 2 3 4 8 9 10 14 15 ", "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 ",
    "1 2 4 5 6 7 11 12 "};

class FullRun : public ::testing::TestWithParam<int> {};

TEST_P(FullRun, EveryTickedRowGreenAndTheModuleCalibrated) {
    const int model = GetParam();
    BenchWorld w(model);
    w.bench.cmd_start_Click();
    std::string greenRows;
    for (int i = 0; i < BenchRowCount; ++i) {
        const BenchRow& r = w.row(i);
        if (!r.Ticked) continue;
        EXPECT_EQ(r.Cell, ColourWhite) << "row " << i;
        bool green = false;
        for (const BenchLabel* l : {&r.Zero, &r.Half, &r.Span, &r.K, &r.KZero, &r.KSpan}) {
            green = green || l->Colour == ColourGreen;
            EXPECT_TRUE(l->Colour == ColourWhite || l->Colour == ColourGreen)
                << "row " << i << " " << l->Text;
        }
        if (green) greenRows += std::to_string(i) + " ";
    }
    EXPECT_EQ(greenRows, RowsMeasured[static_cast<size_t>(model)]);
    // The image went to the module, the first gain constant corrects the module's 3 % error.
    const Bytes image = w.world.memory(w.world.moduleNode(), 0, ImageValues);
    for (size_t i = 0; i < ImageValues; ++i)
        if (i < 19 || i > 27) { // 19 is the mode byte, 20..27 the output constants
            ASSERT_EQ(image[i], (i * 7) % 256) << i;
        }
    EXPECT_NEAR(w.world.constant(model == 3 ? 246 : 247, model == 1 ? 2 : 3), 1 / 1.03, 1e-4);
    EXPECT_EQ(w.world.holding(w.world.moduleNode(), 17), 0);
    EXPECT_EQ(w.world.supplyCommands().back(), "KOD");
    EXPECT_EQ(w.world.beeps, 1);
    EXPECT_FALSE(w.bench.state.Running);
}

INSTANTIATE_TEST_SUITE_P(Models, FullRun, ::testing::Values(0, 1, 2, 3));

void tickOnly(BenchWorld& w, const std::vector<int>& rows) {
    for (int i = 0; i < BenchRowCount; ++i)
        w.bench.setTicked(i, std::find(rows.begin(), rows.end(), i) != rows.end());
}

int count(const std::vector<std::string>& v, const std::string& s) {
    return static_cast<int>(std::count(v.begin(), v.end(), s));
}

bool logged(const BenchWorld& w, const std::string& start) {
    const auto& lines = w.shell->log.lines();
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& l) { return l.rfind(start, 0) == 0; });
}

TEST(BenchStop, DuringRowThreeEndsTheRunOnceAfterIt) {
    BenchWorld w(0);
    tickOnly(w, {2, 3, 4, 5});
    w.dialogs.onPrompt = [&](const std::string&) {
        if (w.bench.state.Step.StepCode == 18) w.bench.cmd_stop_Click();
    };
    w.bench.cmd_start_Click();
    EXPECT_EQ(w.row(3).Zero.Colour, ColourGreen); // row 3 ran until the check saw the flag
    EXPECT_EQ(w.row(3).Span.Colour, ColourYellow);
    EXPECT_EQ(w.row(4).Zero.Colour, ColourWhite); // row 4 never began
    EXPECT_EQ(count(w.world.supplyCommands(), "KOD"), 1);
    EXPECT_EQ(w.world.beeps, 1);
    EXPECT_EQ(w.world.holding(1, 17), 0);
    EXPECT_FALSE(w.bench.state.Running);
    EXPECT_FALSE(w.bench.state.Label1.empty());
}

TEST(BenchStop, WhenIdleRunsTheStopSequenceAtOnce) {
    BenchWorld w(0);
    w.ports.Seriale_alim.open(w.ports.Devices);
    w.ports.Seriale_mult.open(w.ports.Devices);
    w.bench.cmd_stop_Click();
    EXPECT_EQ(w.world.supplyCommands(), (std::vector<std::string>{"SV 24.00", "KOD"}));
    EXPECT_EQ(w.world.beeps, 1);
}
// A refusal switches nothing on; a module that does not answer ends the run with the supply off.
TEST(BenchStart, RefusalsAndADeadLinkEndTheRunWithTheSupplyOff) {
    struct Case {
        const char* what;
        int model;
        std::function<void(BenchWorld&)> arrange;
        std::string message;
        std::vector<std::string> supply = {};
    };
    const std::vector<Case> cases{
        {"no calibrator port", 0, [](BenchWorld& w) { w.ports.Seriale_calib.Number = 0; },
         "The calibrator's COM port is not set: choose it before START."},
        {"link on the relay unit's port", 3, [](BenchWorld& w) { w.ports.Seriale_switch.Number = 5; },
         "COM5 is both the JXV2569 link and the relay unit: give one of them another port."},
        {"multimeter missing", 0, [](BenchWorld& w) { w.mult.refuseOpen = true; },
         "Port of the multimeter (COM3) not opened: /dev/ttyS2: no such device"},
        {"dead link",
         0,
         [](BenchWorld& w) { w.ports.Devices[7] = "/nonexistent/melqo-bench-link"; },
         "The module does not answer on COM7: the run ends.",
         {"SV 24.00", "KOE", "SV 24.00", "KOD"}},
    };
    for (const Case& c : cases) {
        BenchWorld w(c.model);
        c.arrange(w);
        w.bench.cmd_start_Click();
        EXPECT_EQ(w.dialogs.shown, std::vector<std::string>{c.message}) << c.what;
        EXPECT_EQ(w.world.supplyCommands(), c.supply) << c.what;
        EXPECT_FALSE(w.bench.state.Running) << c.what;
    }
}

// A reading missing or outside its range fails its row and writes no constant.
TEST(BenchMeasure, ValuesOutsideTheirRangeAreNeverWritten) {
    struct Case {
        const char* what;
        int model;
        std::vector<int> rows;
        std::function<void(BenchWorld&)> arrange;
        std::function<void(BenchWorld&)> check;
    };
    const std::vector<Case> cases{
        {"silent multimeter",
         0,
         {11, 12},
         [](BenchWorld& w) { w.world.multimeterSilent = true; },
         [](BenchWorld& w) {
             EXPECT_EQ(w.row(11).K.Colour, ColourRed);
             EXPECT_EQ(w.row(11).K.Text, "----");
             EXPECT_EQ(w.row(12).KZero.Colour, ColourRed);
             EXPECT_EQ(w.row(12).Zero.Colour, ColourRed);
             EXPECT_EQ(w.world.memory(1, 24, 4), (Bytes{0, 0, 0x20, 0x4E})); // only the reset 0 and 20000
             EXPECT_TRUE(logged(w, "Lettura Mult: no reading from the multimeter (COM3)"));
         }},
        {"negative 100 mV reading: K stays 1",
         0,
         {1},
         [](BenchWorld& w) {
             w.dialogs.onPrompt = [&w](const std::string& t) {
                 if (t == "Impostare calibratore 100  mV") w.world.setCalibrator(-5, "mV");
             };
         },
         [](BenchWorld& w) {
             EXPECT_EQ(w.row(1).K.Colour, ColourRed);
             EXPECT_FLOAT_EQ(w.world.constant(247, 0), 1.0f);
             EXPECT_TRUE(logged(w, "Register 26 reads -515: no constant written"));
         }},
        {"output span beyond 16 bits",
         0,
         {12},
         [](BenchWorld& w) { w.world.errors.outputGain = 2; },
         [](BenchWorld& w) {
             EXPECT_EQ(w.row(12).KSpan.Colour, ColourRed);
             EXPECT_EQ(w.world.memory(1, 24, 4), (Bytes{0, 0, 0x20, 0x4E}));
         }},
        {"cold-junction correction beyond a signed byte",
         1,
         {10},
         [](BenchWorld& w) { w.world.errors.cjcError = 20; },
         [](BenchWorld& w) {
             EXPECT_EQ(w.row(10).K.Colour, ColourRed);
             EXPECT_EQ(w.world.memory(246, 8, 1), Bytes{0});
             EXPECT_EQ(w.row(10).Zero.Colour, ColourRed);
         }},
    };
    for (const Case& c : cases) {
        BenchWorld w(c.model);
        tickOnly(w, c.rows);
        c.arrange(w);
        w.bench.cmd_start_Click();
        SCOPED_TRACE(c.what);
        c.check(w);
    }
}

TEST(BenchEprom, BadImageOrFailingBlockWritesNothingMoreAndTurnsTheRowRed) {
    std::string shortImage, badValue;
    for (size_t i = 0; i < ImageValues; ++i) {
        if (i + 1 < ImageValues) shortImage += "1\r\n";
        badValue += i == 5 ? "256\r\n" : "1\r\n";
    }
    struct Case {
        const char* what;
        std::string image;
        int refusedAddress;
        std::string logLine;
        uint8_t block2; // first byte of block 2 afterwards
    };
    const std::vector<Case> cases{
        {"short file", shortImage, -1, "File ", 0},
        {"value above 255", badValue, -1, "File ", 0},
        {"block 3 refused twice", "", 96, "Download Failed", (64 * 7) % 256},
    };
    for (const Case& c : cases) {
        BenchWorld w(3, c.image);
        tickOnly(w, {0});
        w.world.errors.refusedWriteAddress = c.refusedAddress;
        w.bench.cmd_start_Click();
        EXPECT_EQ(w.row(0).Cell, ColourRed) << c.what;
        EXPECT_TRUE(logged(w, c.logLine)) << c.what;
        EXPECT_EQ(w.world.memory(255, 64, 1), Bytes{c.block2}) << c.what;
        EXPECT_EQ(w.world.memory(255, 128, 1), Bytes{0}) << c.what; // nothing after the failure
    }
}

TEST(BenchSteps, EachRowStartsFromItsOwnCalibratorOffset) {
    BenchWorld w(2);
    tickOnly(w, {4, 6});
    w.bench.cmd_start_Click();
    const auto& shown = w.dialogs.shown;
    EXPECT_EQ(count(shown, "Impostare calibratore 299.5  Ohm"), 1);
    // Preparation, calibration and span check, none with the -0.5 of row 4.
    EXPECT_EQ(count(shown, "Impostare calibratore 20000  mA"), 3);
}

} // namespace
