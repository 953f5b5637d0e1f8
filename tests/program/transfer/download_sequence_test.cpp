// The download sequence against the simulated controller: transcript, controller memory, log lines and
// every point where it stops.
#include <functional>

#include "comm/device_procedures.h"
#include "program/compiler.h"
#include "program/transfer/download_sequence.h"
#include "program/transfer/program_transfer.h"
#include "transfer_fixture.h"

namespace {

class DownloadSequenceTest : public DeviceFixture {
  protected:
    DownloadSequenceTest() {
        fillProject(project, std::string(40, 'h')); // 118 bytes: 4 blocks
    }

    // What the controller answers to ReadImage: the image it runs, as compiled from this project.
    int32_t controllerRunsThisProgram() {
        int32_t size = CompilaProgramma(app);
        sim.setImage(0, image(0, 5634));
        shell.log.LogClear();
        return size;
    }

    bool run(DownloadOptions options) { return DownloadSequence(app, {&bar, nullptr}, options); }

    static DownloadOptions all() {
        DownloadOptions o;
        o.verify = o.run = o.clear = true;
        return o;
    }

    RecordingBar bar{101};
};

} // namespace

TEST_P(DownloadSequenceTest, FullDownloadWritesImageAndEverySideAreaThenVerifiesClearsAndRuns) {
    ASSERT_EQ(controllerRunsThisProgram() / 32 + 1, 4);
    ASSERT_TRUE(run(all()));

    std::vector<Bytes> expected{command(0x64), command(0xFC)};
    for (int b = 0; b < 4; ++b)
        expected.push_back(memoryWrite(512 + 32 * b, image(32 * size_t(b), 32)));
    expected.push_back(memoryWrite(7679, {1}));
    // Each variable's write carries its own encoding; the next one rewrites the second half.
    Bytes var0{0x64, 0x00, 0x00, 0x25, 0x2B, 0x35, 0x2E, 0x30, 0x66, 0x00, 0x56, 0x61, 0x72, 0x30};
    var0.resize(32, 0);
    expected.push_back(memoryWrite(7680, var0));
    // The variables' second half, strings, CSV headers and text blocks: 1, 5, 3 and 32 blocks.
    for (auto [base, blocks] : {std::pair{7696, 1}, {35840, 5}, {40448, 3}, {45056, 32}})
        for (int at = base; at < base + 32 * blocks; at += 32)
            expected.push_back(memoryWrite(at, memoryImage(size_t(at), 32)));
    for (int b = 0; b < 4; ++b)
        expected.push_back(memoryRead(ReadImage, 32 * b));
    Bytes clear{10, 16, 0, 35, 0, 16, 32};
    clear.resize(39, 0);
    expected.push_back(clear);
    expected.push_back(command(0xFF));
    EXPECT_EQ(sim.transcript(), expected);

    EXPECT_EQ(sim.memory(35840, 6), (Bytes{'H', 'e', 'l', 'l', 'o', 0}));
    EXPECT_EQ(sim.memory(40448, 40), Bytes(40, 'h'));
    EXPECT_EQ(sim.memory(40448 + 40, 56), Bytes(56, 0));
    EXPECT_EQ(sim.memory(45056 + 512, 10), (Bytes{'B', 'l', 'o', 'c', 'k', ' ', 'o', 'n', 'e', 0}));
    EXPECT_EQ(sim.commandRegister(), 0xFF);

    EXPECT_EQ(transferLog(), (Lines{"Downloading ...", "Download Successful", "Downloading Variables...",
                                    "Download Successful", "Downloading Strings...", "Download Successful",
                                    "DownloadCSV Headers...", "Download Successful", "Downloading Blocks...",
                                    "Download Successful", "Uploading ...", "Upload Successful",
                                    "Verifying ...", "Verified ! -> OK"}));
    EXPECT_EQ(project.ProgramImage[0], 3); // the compiled image is kept after the verify
    EXPECT_EQ(bar.values.back(), 1);       // the last step to move the bar set it back to its start
}

TEST_P(DownloadSequenceTest, PlainControllerGetsImageAndVariablesOnlyAndNoRunUnlessAsked) {
    comm.CurrentDevice.ModelIndex = PlainRow;
    project.Tasks.Count = 0;
    ASSERT_EQ(CompilaProgramma(app), 64); // 64 bytes: 3 blocks
    ASSERT_TRUE(run({}));
    auto t = sim.transcript();
    ASSERT_EQ(t.size(), 2u + 3 + 1 + 2);
    EXPECT_EQ(t.back(), memoryWrite(7696, memoryImage(7696, 32)));
    EXPECT_EQ(sim.commandRegister(), 0xFC); // left halted
    EXPECT_EQ(bar.values, (std::vector<int>{1, 34, 68, 101, 1, 51, 101}));
    sim.clearTranscript();
    shell.log.LogClear();
    project.Variables.Count = 0; // zero variables write nothing and still succeed
    DownloadOptions o;
    o.application = false;
    ASSERT_TRUE(run(o));
    EXPECT_EQ(sim.transcript(), (std::vector<Bytes>{command(0x64), command(0xFC)}));
    EXPECT_EQ(transferLog(), (Lines{"Downloading Variables...", "Download Successful"}));
}

TEST_P(DownloadSequenceTest, FailingRequestEndsTheSequence) {
    const struct {
        const char* what;
        int passing; // requests that pass before the one that fails
        Lines log;
    } stops[] = {
        {"stop command", 1, {"Com Error", "Error", "Download Failed"}},
        {"program block 1", 3, {"Downloading ...", "Com Error", "Download Failed"}},
        {"first variable",
         2 + 4 + 1,
         {"Downloading ...", "Download Successful", "Downloading Variables...", "Com Error", "Error",
          "Download Failed"}},
        {"first string", 2 + 4 + 3 + 1, {}},
    };
    for (const auto& s : stops) {
        SCOPED_TRACE(s.what);
        sim.clearTranscript();
        shell.log.LogClear();
        failRequestAfter(s.passing);
        EXPECT_FALSE(run(all()));
        EXPECT_EQ(sim.transcript().size(), size_t(s.passing + 1));
        EXPECT_EQ(transferLog().back(), "Download Failed");
        if (!s.log.empty()) {
            EXPECT_EQ(transferLog(), s.log);
        }
    }
}

TEST_P(DownloadSequenceTest, StringsOffSkipsOnlyStrings) {
    DownloadOptions o;
    o.strings = false;
    ASSERT_TRUE(run(o));
    EXPECT_EQ(sim.transcript().size(), 2u + 4 + 3 + 3 + 32);
}

// The SMS step, an overlong CSV line or string, a compile error or no program at all are known before the
// controller is touched: it is not halted and keeps running.
TEST_P(DownloadSequenceTest, WhatCannotBeSentNeverHaltsTheController) {
    sim.setHolding(0, 0xFF); // running
    DownloadOptions sms = all();
    sms.sms = true;
    const struct {
        const char* what;
        std::function<void()> spoil;
        DownloadOptions options;
        std::string reason;
    } cases[] = {
        {"SMS step", [] {}, sms, "Sending SMS settings is not available"},
        {"overlong CSV line", [this] { project.Tasks.Tasks[1].CsvHeaderLine = std::string(600, 'h'); }, all(),
         "The CSV header of task 1 is longer than 511 characters"},
        {"72-character string", [this] { project.Strings[2].Text = std::string(72, 's'); }, all(),
         "String 2 is longer than 31 characters"},
        {"string variable beyond the addresses",
         [this] {
             project.Variables.Variables[1].ValueType = 13;
             project.Variables.Variables[1].Register = 70000;
         },
         all(), "Variable 1 (Temp): Location Reg (Default) 70000: the model's registers are 0 to 1279"},
        {"register beyond the model's", [this] { project.Variables.Variables[0].Register = 5000; }, all(),
         "Variable 0 (Var0): Input Reg 5000: the model's registers are 0 to 1279"},
        {"rung error", [this] { project.Program.Sections[0].Rungs[1].Opcode = 300; }, all(), ""},
        {"no function block", [this] { project.Program.Sections[0].RungCount = 0; }, all(), ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fillProject(project, std::string(40, 'h'));
        c.spoil();
        shell.log.LogClear();
        EXPECT_FALSE(run(c.options));
        EXPECT_TRUE(sim.transcript().empty());
        EXPECT_EQ(sim.commandRegister(), 0xFF);
        const Lines lines = transferLog();
        if (!c.reason.empty()) {
            EXPECT_EQ(lines, (Lines{c.reason, "Download Failed"}));
        } else {
            EXPECT_EQ(std::count(lines.begin(), lines.end(), "Impossible to compile"), 1);
        }
    }
}

TEST_P(DownloadSequenceTest, TamperedControllerIsNotStartedAndAFailingUploadGivesNoVerdict) {
    controllerRunsThisProgram();
    sim.setImage(40, {0x99});
    ASSERT_TRUE(run(all()));
    Lines log = transferLog();
    EXPECT_EQ(Lines(log.end() - 3, log.end()),
              (Lines{"Verifying ...", "The Program has changed !", "Run after Download skipped"}));
    EXPECT_NE(sim.transcript().back(), command(0xFF));
    EXPECT_EQ(sim.commandRegister(), 0xFC);

    shell.log.LogClear();
    DownloadOptions o = all();
    o.run = false;
    failRequestAfter(2 + 4 + 3 + 5 + 3 + 32 + 1); // the second read-back block fails
    Bytes compiled = image(0, 5634);
    ASSERT_TRUE(run(o));
    log = transferLog();
    EXPECT_EQ(Lines(log.end() - 3, log.end()), (Lines{"Uploading ...", "Com Error", "Upload Failed"}));
    EXPECT_EQ(image(0, 5634), compiled);
    for (const std::string& l : log)
        EXPECT_TRUE(l != "Verifying ..." && l != "Verified ! -> OK");
}

TEST_P(DownloadSequenceTest, DisplayImagesBelowTheTopAreDownloadedAndVerified) {
    model().HasDisplay = -1;
    project.Pages.Count = 0;
    project.Images.Count = 1;
    project.Images.Images.resize(1);
    project.Images.Images[0].ByteCount = 100;
    project.Images.Images[0].Bitmap.fill(0x5A);
    controllerRunsThisProgram();
    ASSERT_EQ(project.Images.Images[0].DeviceAddress, 5634 - 100);
    DownloadOptions o;
    o.verify = true;
    ASSERT_TRUE(run(o));
    EXPECT_EQ(sim.memory(512 + 5534, 100), Bytes(100, 0x5A));
    std::vector<int> blocks = ProgramBlocks(app, 118);
    EXPECT_EQ(blocks, (std::vector<int>{0, 1, 2, 3, 172, 173, 174, 175, 176}));
    EXPECT_EQ(transferLog().back(), "Verified ! -> OK");
    size_t reads = 0;
    for (const Bytes& r : sim.transcript())
        reads += r[1] == 20 && r[2] == ReadImage;
    EXPECT_EQ(reads, blocks.size());
}

INSTANTIATE_TEST_SUITE_P(Links, DownloadSequenceTest, ::testing::Values(Link::Tcp, Link::Rtu), linkName);

TEST(UsbControllers, AreTheRowsNamedAfterTheTwoUsbModelsWhateverTheBrand) {
    AppContextFixture f;
    for (size_t j = 0; j < f.shell.ModelNames.size(); ++j)
        f.shell.ModelNames[j] = "Brand model " + std::to_string(j);
    InitModelli(f.shell.Models, f.shell.ModelNames);
    std::vector<int> usb;
    for (int row = 0; row < ModelRows; ++row) {
        f.comm.CurrentDevice.ModelIndex = uint8_t(row);
        if (IsUsbController(f.ctx)) usb.push_back(row);
    }
    std::vector<int> expected{5, 8};
    for (int row = 15; row <= 33; ++row)
        expected.push_back(row);
    EXPECT_EQ(usb, expected);
}
