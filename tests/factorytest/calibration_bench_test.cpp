// The calibration bench end to end on every model, and runs that meet a fault: each of those ends in a
// clear failure, never in a false pass or a flood of boxes.
#include <gtest/gtest.h>

#include <sstream>

#include "core/busy_run.h"
#include "core/button_groups.h"
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
            // The cold-junction, potentiometer and output constants keep their yellow.
            EXPECT_TRUE(l->Colour == ColourWhite || l->Colour == ColourGreen ||
                        (l->Colour == ColourYellow && l != &r.Zero && l != &r.Half && l != &r.Span))
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
    // The link is on a powered device that a connect found in debug mode.
    DeviceRecord& d = w.comm->CurrentDevice;
    d.Channel = 1, d.Port = 7, d.SerialDevice = w.ports.Devices[7], d.NodeAddress = 1;
    Connetti(w.app);
    w.bench.instruments.accendi_alim();
    TakeModeRead(w.app, true);
    ASSERT_EQ(w.shell->status.Text[2], "Debug Mode");
    const auto poweredBy = static_cast<ptrdiff_t>(w.world.supplyCommands().size());
    // A command from another window during its waits is refused, never sent between its requests.
    int waits = 0, marked = 0;
    w.pump.onEvents = [&] { ++waits, marked += w.comm->RunUnderWay != nullptr; };
    w.bench.cmd_stop_Click();
    const auto sent = w.world.supplyCommands();
    EXPECT_EQ(std::vector<std::string>(sent.begin() + poweredBy, sent.end()),
              (std::vector<std::string>{"SV 24.00", "KOD"}));
    EXPECT_EQ(w.world.beeps, 1);
    // It left the device in release mode, and the main window says so.
    EXPECT_EQ(w.world.memory(1, 19, 1), Bytes{0x55});
    EXPECT_EQ(w.shell->status.Text[2], "Release Mode");
    EXPECT_FALSE(w.shell->Toolbar.enabled("download"));
    EXPECT_GT(waits, 0);
    EXPECT_EQ(marked, waits);
    EXPECT_EQ(w.comm->RunUnderWay, nullptr);
}
// Chosen during another run, with the link still on the module: START, a row and STOP's module requests
// are refused and say why; nothing goes out between the run's requests, and STOP still switches the
// supply off.
TEST(BenchRefusals, InsideAnotherRunNothingGoesToTheLink) {
    struct Case {
        const char* what;
        std::function<void(CalibrationBench&)> click;
        std::string logLine;
        std::vector<std::string> supply;
    };
    const std::vector<Case> cases{
        {"START",
         [](CalibrationBench& b) { b.cmd_start_Click(); },
         "START refused: a download is under way",
         {}},
        {"row",
         [](CalibrationBench& b) { b.cmd_coll_Click(1); },
         "Row 1 refused: a download is under way",
         {}},
        {"STOP",
         [](CalibrationBench& b) { b.cmd_stop_Click(); },
         "STOP's module requests (register 17 := 0, release mode) refused: a download is under way",
         {"SV 24.00", "KOD"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BenchWorld w(0);
        tickOnly(w, {});
        w.bench.cmd_start_Click(); // leaves the link on the module
        ASSERT_TRUE(w.comm->CurrentDevice.Connected);
        w.bench.instruments.accendi_alim(); // the module powered, so it would answer
        const auto supplyBefore = w.world.supplyCommands().size();
        w.sim.clearTranscript();
        {
            const BusyRun download(w.app, "a download");
            c.click(w.bench);
        }
        EXPECT_TRUE(w.sim.transcript().empty());
        EXPECT_EQ(w.shell->log.lines().back(), c.logLine + "  ");
        const auto sent = w.world.supplyCommands();
        EXPECT_EQ(std::vector<std::string>(sent.begin() + static_cast<ptrdiff_t>(supplyBefore), sent.end()),
                  c.supply);
        EXPECT_FALSE(w.bench.state.Running);
    }
}
// The window closed during the stop sequence, while its supply command waits: the sequence ends there,
// and the supply's output goes off before the instruments' ports close.
TEST(BenchStop, AWindowClosedDuringTheStopSequenceSwitchesTheSupplyOff) {
    struct Case {
        const char* what;
        std::function<void(BenchWorld&)> act;
        std::string stopped;
    };
    const std::vector<Case> cases{
        {"STOP when idle",
         [](BenchWorld& w) {
             w.ports.Seriale_alim.open(w.ports.Devices);
             w.ports.Seriale_mult.open(w.ports.Devices);
             w.bench.cmd_stop_Click();
         },
         "The stop sequence"},
        {"the end of a run",
         [](BenchWorld& w) {
             tickOnly(w, {});
             w.bench.cmd_start_Click();
         },
         "The calibration run"},
        {"STOP during a run",
         [](BenchWorld& w) {
             tickOnly(w, {2});
             w.dialogs.onPrompt = [&w](const std::string&) { w.bench.cmd_stop_Click(); };
             w.bench.cmd_start_Click();
         },
         "The calibration run"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BenchWorld w(0);
        bool closed = false;
        w.pump.onEvents = [&] {
            const auto sent = w.world.supplyCommands();
            if (!w.bench.state.Running && !sent.empty() && sent.back() == "SV 24.00" && !closed)
                closed = true, w.bench.Form_Unload(); // what the window's close does
        };
        c.act(w);
        EXPECT_TRUE(closed);
        EXPECT_FALSE(w.world.supplyOn());
        EXPECT_EQ(w.world.supplyCommands().back(), "KOD");
        EXPECT_FALSE(w.supply.isConnected() || w.mult.isConnected());
        EXPECT_EQ(w.world.beeps, 1);
        const auto& lines = w.shell->log.lines();
        ASSERT_GE(lines.size(), 3u);
        EXPECT_EQ(lines[lines.size() - 3], c.stopped + " stopped: its window was closed  ");
        EXPECT_EQ(lines.back(), "Power supply (COM4): output switched off  ");
    }
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

// A reading missing or outside its range fails its row and writes no constant; one at the very edge of
// its allowance passes.
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
             EXPECT_EQ(w.row(12).KSpan.Colour, ColourRed);
             EXPECT_EQ(w.row(12).KSpan.Text, "----");
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
             EXPECT_EQ(w.row(12).KZero.Colour, ColourRed);
             EXPECT_EQ(w.row(12).KSpan.Colour, ColourRed);
             EXPECT_EQ(w.dialogs.shown.back(),
                       "Output constants 35 and 40035 do not fit -32768..32767: nothing written");
             EXPECT_EQ(w.world.memory(1, 24, 4), (Bytes{0, 0, 0x20, 0x4E}));
         }},
        {"cold-junction correction beyond a signed byte",
         1,
         {10},
         [](BenchWorld& w) { w.world.errors.cjcError = 20; },
         [](BenchWorld& w) {
             EXPECT_EQ(w.row(10).K.Colour, ColourRed);
             EXPECT_EQ(w.row(10).K.Text, "23.5 [0]");
             EXPECT_EQ(w.world.memory(246, 8, 1), Bytes{0});
             EXPECT_EQ(w.row(10).Zero.Colour, ColourRed);
         }},
        {"cold junction off by exactly its allowance: 16.1 read against 15.6",
         3,
         {7},
         [](BenchWorld& w) {
             w.world.Tamb = 15.6;
             w.world.errors.cjcError = 1;
             // Set 0.5 degrees above the check's 0 once the correction is in.
             w.dialogs.onPrompt = [&w](const std::string&) {
                 if (w.world.memory(246, 8, 1) != Bytes{0}) w.world.setCalibrator(0.5, CalibratorUnit(5));
             };
         },
         [](BenchWorld& w) {
             EXPECT_EQ(w.row(7).K.Text, "15.6 [246]");
             EXPECT_EQ(w.row(7).Zero.Text, "16.1");
             EXPECT_EQ(w.row(7).Zero.Colour, ColourGreen);
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

// The output constants are the floor of the readings as read, zero and span alike, on every model.
TEST(BenchOutput, ConstantsAreTheFloorOfTheReadingsAsRead) {
    struct Case {
        const char* zero; // multimeter replies, amperes
        const char* span;
        int16_t zeroConstant, spanConstant;
    };
    const std::vector<Case> cases{
        {"+1.230000E-05", "+1.000570E-02", 12, 10005}, // 0.0123 and 10.0057 mA
        {"-4.000000E-07", "+2.000000E-02", -1, 20000}, // -0.0004 mA: the floor, not toward zero
        {"+1.200000E-05", "+4.350000E-03", 12, 4350},  // exact thousandths stay themselves
        {"-0.000000E+00", "+1.999990E-02", 0, 19999},  // 19999.9
        {"+9.999000E-06", "+2.000100E-02", 9, 20001},  // 9.999 and 20001.0
    };
    for (int model : {0, 3})
        for (const Case& c : cases) {
            if (model == 3 && &c != &cases[0]) continue; // the operator drives the output: one pair will do
            SCOPED_TRACE(std::string(c.zero) + " " + c.span + " model " + std::to_string(model));
            BenchWorld w(model);
            tickOnly(w, {12});
            std::deque<std::string> replies{c.zero, c.span};
            w.mult.respond = [&](const std::string& b) {
                if (b != ":READ?\r\n" || replies.empty()) return w.world.multimeter(b);
                w.world.multimeter(b);
                const std::string r = replies.front() + "\r\n";
                replies.pop_front();
                return r;
            };
            w.bench.cmd_start_Click();
            const auto le = [](int16_t v) {
                return std::array<uint8_t, 2>{static_cast<uint8_t>(v),
                                              static_cast<uint8_t>(static_cast<uint16_t>(v) >> 8)};
            };
            const auto z = le(c.zeroConstant), sp = le(c.spanConstant);
            EXPECT_EQ(w.world.memory(w.world.moduleNode(), model == 3 ? 20 : 24, 4),
                      (Bytes{z[0], z[1], sp[0], sp[1]}));
            EXPECT_EQ(w.row(12).KZero.Colour, ColourYellow);
            EXPECT_EQ(w.row(12).KSpan.Colour, ColourYellow);
        }
}

// A failed image ends the module's calibration: the row turns red, the operator reads why, and nothing
// is written after it (no setup registers, no "Set K -> 1", no further row).
TEST(BenchEprom, BadImageOrFailingBlockEndsTheModulesCalibration) {
    std::string shortImage, badValue;
    for (size_t i = 0; i < ImageValues; ++i) {
        if (i + 1 < ImageValues) shortImage += "1\r\n";
        badValue += i == 5 ? "256\r\n" : "1\r\n";
    }
    struct Case {
        const char* what;
        int model;
        std::string image;
        int refusedAddress;
        std::string problem;
        uint8_t block2; // first byte of block 2 afterwards
    };
    const std::vector<Case> cases{
        {"short file", 3, shortImage, -1, "it holds 2000 values, 2001 are needed; nothing written", 0},
        {"value above 255", 0, badValue, -1, "line 6 is not a number from 0 to 255; nothing written", 0},
        {"block 3 refused twice", 3, "", 96, "block 3 (address 96) not written", (64 * 7) % 256},
        {"block 3 refused twice, K to 1 ticked", 0, "", 96, "block 3 (address 96) not written",
         (64 * 7) % 256},
    };
    struct RecordingPointer : BusyPointer {
        std::string calls;
        void setBusy(bool busy) override { calls += busy ? "busy " : "arrow "; }
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BenchWorld w(c.model, c.image);
        const uint8_t node = w.world.moduleNode();
        w.world.errors.refusedWriteAddress = c.refusedAddress;
        RecordingPointer pointer;
        w.bench.view.pointer = &pointer;
        w.bench.cmd_start_Click(); // the model's whole default check list
        // Busy while blocks go out, the arrow again after a refused one; a bad file sends none.
        EXPECT_EQ(pointer.calls, c.refusedAddress < 0 ? "" : "busy arrow ");
        EXPECT_EQ(w.row(0).Cell, ColourRed);
        const std::string path = (w.folder / BenchModels[static_cast<size_t>(c.model)].ImageFile).string();
        ASSERT_FALSE(w.dialogs.shown.empty()); // the refused block's own transaction messages come first
        EXPECT_EQ(w.dialogs.shown.back(),
                  "EEPROM image " + path + ": " + c.problem + ". The module's calibration ends.");
        EXPECT_EQ(w.world.memory(node, 64, 1), Bytes{c.block2});
        EXPECT_EQ(w.world.memory(node, 128, 1), Bytes{0});    // nothing after the failure
        EXPECT_EQ(w.world.holding(node, 1216), 0);            // no setup, no input type
        EXPECT_EQ(w.world.memory(247, 43, 24), Bytes(24, 0)); // no constant, "Set K -> 1" included
        EXPECT_EQ(w.row(1).K.Colour, ColourWhite);            // the next row never began
        EXPECT_EQ(w.world.supplyCommands().back(), "KOD");
    }
}

// Each of these fails its row where the operator sees it, and leaves the module as it was.
TEST(BenchRefusals, FailTheirRowAndSayWhy) {
    struct Case {
        const char* what;
        int model;
        std::function<void(BenchWorld&)> act;
        std::string logLine;
    };
    const std::vector<Case> cases{
        {"relay unit port does not open", 3,
         [](BenchWorld& w) {
             w.relay.refuseOpen = true;
             w.ports.Seriale_alim.open(w.ports.Devices);
             w.bench.instruments.accendi_alim();
             w.bench.cmd_coll_Click(1);
         },
         "Relay unit port (COM6) not open: "},
        {"dip-switch prompt cancelled", 3,
         [](BenchWorld& w) {
             w.world.setDips(3);
             w.dialogs.answers["Impostare tutti i dip-switch"] = {MsgChoice::Cancel};
             tickOnly(w, {1});
             w.bench.cmd_start_Click();
             EXPECT_EQ(w.dialogs.boxes[1].buttons, MsgButtons::OkCancel);
         },
         "Input type not selected on the module"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BenchWorld w(c.model);
        c.act(w);
        EXPECT_EQ(w.row(1).K.Colour, ColourRed);
        EXPECT_EQ(w.row(1).Cell, ColourRed);
        EXPECT_EQ(w.row(1).Zero.Colour, ColourWhite); // no check of a step that failed
        EXPECT_TRUE(logged(w, c.logLine));
        EXPECT_EQ(w.world.holding(w.world.moduleNode(), 1216), 0);
        EXPECT_EQ(w.world.memory(246, 43, 3), Bytes(3, 0));
    }
    // Without the relay unit the image row writes no image and ends the module's calibration.
    BenchWorld noRelay(0);
    noRelay.relay.refuseOpen = true;
    noRelay.ports.Seriale_alim.open(noRelay.ports.Devices);
    noRelay.bench.cmd_coll_Click(0);
    EXPECT_EQ(noRelay.row(0).Cell, ColourRed);
    EXPECT_EQ(count(noRelay.dialogs.shown, "The relay unit did not take relay 2-06: no EEPROM image written. "
                                           "The module's calibration ends."),
              1);
    EXPECT_EQ(noRelay.world.memory(1, 64, 1), Bytes{0});
    // A single row on model 3 opens the relay unit's port itself.
    BenchWorld w(3);
    w.bench.cmd_coll_Click(1);
    EXPECT_NE(w.relay.written.find("rout:close (@106)"), std::string::npos);
    // A step code without an input type code writes no type byte, and the log says so.
    BenchWorld kelmo(1);
    kelmo.bench.state.Step.StepCode = 18;
    kelmo.bench.CalibraIngresso(1);
    EXPECT_TRUE(logged(kelmo, "Step code 18 has no input type code: no type byte written"));
}

// The correction is the reference temperature less the reading, to the count: the listed cases, then
// every whole tenth from 0.0 to 60.0 degrees as the calibrator's answer bytes carry it, against readings
// up to 3 degrees either side.
TEST(BenchCjc, CorrectionIsExactToTheCount) {
    const auto tamb = [](uint32_t h) {
        return TambFromAnswers(static_cast<uint8_t>(h >> 24), static_cast<uint8_t>(h >> 16),
                               static_cast<uint8_t>(h >> 8), static_cast<uint8_t>(h));
    };
    struct Case {
        uint32_t hundredths;
        double raw;
        int scale;
        int64_t counts;
    };
    for (const Case& c : std::vector<Case>{{2340, 230, 10, 4},
                                           {2350, 230, 10, 5},
                                           {2345, 230, 10, 4},
                                           {2200, 235, 10, -15},
                                           {2203, 235, 10, -15}, // -14.7
                                           {2345, 2300, 100, 45},
                                           {2340, 234, 10, 0}})
        EXPECT_EQ(CjcCorrection(tamb(c.hundredths), c.raw, c.scale), c.counts)
            << c.hundredths << " " << c.raw;
    for (int tenths = 0; tenths <= 600; ++tenths)
        for (int raw = tenths - 30; raw <= tenths + 30; ++raw)
            ASSERT_EQ(CjcCorrection(tamb(static_cast<uint32_t>(tenths) * 10), raw, 10), tenths - raw)
                << tenths << " " << raw;
}

// The relays each step routes: "model code group offset:" then, after the opening every routing starts
// with, "c1-04" closes channel 4 of slot 1 and "o2-05" opens channel 5 of slot 2. Model 4 is no model:
// no relay at all, not even the opening.
TEST(BenchRouting, EachStepClosesItsOwnRelaysInOrder) {
    std::string opening;
    for (int ch = 1; ch <= 16; ++ch)
        opening += (ch < 10 ? "o1-0" : "o1-") + std::to_string(ch) + (ch < 10 ? " o2-0" : " o2-") +
                   std::to_string(ch) + " ";
    std::istringstream cases(R"(
        0 1 0 0: c1-04 c1-09 c1-13;          1 2 1 3: c1-07 c1-09 c1-14;      2 5 1 1: c1-05 c1-09 c1-14;
        0 12 1 0: c1-10 c1-11 c1-06 c1-14;   1 18 0 2: c1-10 c1-11 c1-06 c1-13;
        2 12 0 0: c1-10 c1-06 c1-13;         2 18 0 1: c1-11 c1-06 c1-13;
        2 12 1 0: c1-10 c1-06 c1-14;         2 18 1 1: c1-11 c1-06 c1-14;     0 3 0 2: c1-03 c1-06 c1-13;
        1 17 1 0: c1-10 c1-05 o1-17 c1-14;   0 254 0 0: c2-04;                1 253 0 0: c2-03 o2-04 o2-05;
        2 253 1 0: c2-03 o2-04 c2-05;        0 7 1 1:;                        3 1 0 0: c1-06 c1-15;
        3 5 1 0: c1-06 c1-15 o1-17;          3 12 0 0: c1-04 c1-08 c1-14;     3 2 0 0: c1-02 c1-11;
        3 18 1 0: c1-04 c1-08 c1-14 o1-17;   3 3 1 0: c1-14 c1-07 o1-17;      3 17 0 0: c1-08 c1-14;
        3 254 1 0: c2-01;                    3 253 1 0: c1-14 c1-07 o1-17 c2-04 c2-02;
        3 9 1 0:;                            4 1 0 0;)");
    BenchWorld w(0);
    for (std::string c; std::getline(cases >> std::ws, c, ';');) {
        SCOPED_TRACE(c);
        std::istringstream in(c);
        int model = 0, code = 0, group = 0, offset = 0;
        in >> model >> code >> group >> offset;
        std::string expected, relay;
        if (c.find(':') != std::string::npos)
            for (std::istringstream list(opening + "c1-17 c2-17" + c.substr(c.find(':') + 1)); list >> relay;)
                expected += (relay[0] == 'c' ? "rout:close (@" : "rout:open (@") + relay.substr(1, 1) +
                            relay.substr(3) + ")\r\n";
        w.bench.state.BenchModel = static_cast<int16_t>(model);
        StepParams& p = w.bench.state.Step;
        p.StepCode = static_cast<uint8_t>(code), p.RelayGroup = static_cast<uint8_t>(group);
        p.RelayOffset = static_cast<uint8_t>(offset);
        w.relay.written.clear();
        EXPECT_TRUE(w.bench.PreparaStrumenti());
        EXPECT_EQ(w.relay.written, expected);
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
