// The compile driver: layout, header, used size and the report lines.
#include "compile_fixture.h"

using Bytes = std::vector<uint8_t>;
using Lines = std::vector<std::string>;

TEST_F(CompileFixture, OneDeviceRungGivesHeaderEntryAndSizeReport) {
    add(deviceRung(2, {10, 300, 4, 100, 0, 0}));
    EXPECT_EQ(compile(), 14);
    EXPECT_EQ(bytes(0, 4), (Bytes{1, 0, 0, 0}));
    EXPECT_EQ(bytes(4, 10), (Bytes{2, 10, 1, 44, 4, 0, 100, 0, 0, 0}));
    EXPECT_EQ(state().DataStart, 14);
    EXPECT_EQ(state().CompileErrorCount, 0);
    EXPECT_EQ(shell.log.lines().front().rfind("-- ", 0), 0u);
    EXPECT_EQ(report(), (Lines{"Compiling", "Error check : OK", "Resource usage :", "  14 / 5634 Bytes (0%)", "Compiled"}));
}

TEST_F(CompileFixture, EmptyMainProgramFailsWithoutCompilingLine) {
    EXPECT_EQ(compile(), 0);
    EXPECT_EQ(shell.log.lines().size(), 2u); // no date line either
    EXPECT_EQ(report(), (Lines{"Error check : The application must contain at least 1 function block",
                               "Impossible to compile"}));
}

TEST_F(CompileFixture, UsageIsTheWholePercentAndOneByteBeyondCapacityFailsAfterTheSizeLine) {
    // 6 entries (data from 64) and 1170 data bytes: 1234 in use.
    add(deviceRung(1, {1}));
    for (int i = 0; i < 4; ++i) add(operation(20, 0, 250));
    add(operation(20, 0, 170));
    EXPECT_EQ(compile(), 1234);
    EXPECT_EQ(report()[3], "  1234 / 5634 Bytes (21%)");
    model().ProgramCapacity = 1234;
    EXPECT_EQ(compile(), 1234);
    EXPECT_EQ(report().back(), "Compiled");

    model().ProgramCapacity = 1233;
    EXPECT_EQ(compile(), 0);
    EXPECT_EQ(report(), (Lines{"Compiling", "Error check : OK", "Resource usage :", "  1234 / 1233 Bytes (100%)",
                               "Error check : Error", "Impossible to compile"}));
}

TEST_F(CompileFixture, RungsWithoutEntryKeepThePlannedTableAndTheGapStaysZero) {
    add(deviceRung(4, {1, 2, 3, 4}));
    add(CommandRecord{});                 // empty rung
    add(deviceRung(15, {1, 2, 3, 4}));    // "Write (pointer)" compiles to nothing
    add(deviceRung(5, {1}));
    CommandRecord& op = add(operation(20, 0, 6));
    op.ArgBytes[0] = {7, 0, 0, 0};
    EXPECT_EQ(compile(), 54 + 6);
    EXPECT_EQ(image()[0], 2);
    EXPECT_EQ(state().DataStart, 54);
    EXPECT_EQ(bytes(14, 10), (Bytes{3, 1, 0, 54, 0, 0, 0, 6, 0, 0}));
    EXPECT_EQ(bytes(24, 30), Bytes(30, 0));
    EXPECT_EQ(bytes(54, 3), (Bytes{20, 0, 7}));
    // The program counter counts entries: the debugger finds rungs 1 and 5 behind entries 0 and 1.
    std::vector<std::pair<int, int>> sources;
    for (const EntryRung& e : state().EntryRungs)
        sources.emplace_back(e.Section, e.Rung);
    EXPECT_EQ(sources, (std::vector<std::pair<int, int>>{{0, 1}, {0, 5}}));
}

TEST_F(CompileFixture, WholeImageIsClearedSoNoStaleBytesReachADownload) {
    project.ProgramImage.assign(MemoryImageSize, 0xAA);
    add(deviceRung(2, {1}));
    compile();
    EXPECT_EQ(std::count(image().begin() + 14, image().end(), 0), MemoryImageSize - 14);
}

TEST_F(CompileFixture, TwoHundredFiftySixMainRungsAreAnErrorNotAnEmptyProgram) {
    for (int i = 0; i < 256; ++i) add(deviceRung(2, {1}));
    EXPECT_EQ(compile(), 0);
    EXPECT_EQ(report(), (Lines{"Error check : Error", "Impossible to compile"}));
    EXPECT_EQ(image()[0], 0);
}

TEST_F(CompileFixture, MoreThan255PlannedEntriesWithTasksFail) {
    for (int i = 0; i < 250; ++i) add(deviceRung(2, {1}));
    project.Tasks.Count = 6;
    EXPECT_EQ(compile(), 0);
    EXPECT_EQ(report(), (Lines{"Error check : Error", "Impossible to compile"}));
    project.Tasks.Count = 5;
    for (int t = 1; t <= 5; ++t) project.Tasks.Tasks[static_cast<size_t>(t)].TaskBlock.DataSize = 2;
    EXPECT_GT(compile(), 0);
    EXPECT_EQ(image()[0], 250);
    EXPECT_EQ(image()[2], 5);
}

TEST_F(CompileFixture, TwentySecondErrorStopsTheCompileWithTwentyOneListed) {
    for (int i = 0; i < 25; ++i) add(flow(130, "NOWHERE"));
    EXPECT_EQ(compile(), 0);
    Lines lines = report();
    ASSERT_EQ(lines.size(), 2u + 21u);
    EXPECT_EQ(lines[0], "Error check : Error");
    EXPECT_EQ(lines[1], "Impossible to compile");
    EXPECT_EQ(lines[2], " - Function Block 1 : Label Error");
    EXPECT_EQ(lines[22], " - Function Block 21 : Label Error");
    EXPECT_EQ(state().CompileErrorCount, 21);
    EXPECT_EQ(state().EntryCount, 22); // the 22nd rung was encoded, then the compile ended
}

TEST_F(CompileFixture, LabelErrorsAreListedAfterTheWholeProgramCompiled) {
    add(deviceRung(2, {1}));
    add(flow(130, "MISSING"));
    add(labelled(deviceRung(2, {1}), "HERE"));
    add(flow(131, "HERE"));
    EXPECT_EQ(compile(), 0);
    EXPECT_EQ(report(), (Lines{"Compiling", "Error check : Error", "Impossible to compile",
                               " - Function Block 2 : Label Error"}));
    EXPECT_EQ(state().EntryCount, 4);
    EXPECT_EQ(state().CompileErrorCount, 1);
}

TEST_F(CompileFixture, CompileLeavesTheMainSectionCurrent) {
    add(deviceRung(2, {1}));
    project.Program.CurrentSection = 2;
    compile();
    EXPECT_EQ(project.Program.CurrentSection, 0);
}

TEST_F(CompileFixture, ReportFollowsTheLanguageTexts) {
    shell.UiText[49] = "Compilazione in corso";
    shell.UiText[44] = "Controllo errori";
    shell.UiText[50] = "Compilato";
    shell.UiText[46] = "Utilizzo Risorse";
    add(deviceRung(2, {1}));
    compile();
    EXPECT_EQ(report(), (Lines{"Compilazione in corso", "Controllo errori : OK", "Utilizzo Risorse :",
                               "  14 / 5634 Bytes (0%)", "Compilato"}));
}
