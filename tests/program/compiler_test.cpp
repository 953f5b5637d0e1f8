// The compile driver, rung and task entries, data blocks and display images: table-driven sizes and
// report lines, then the byte layouts the golden images do not show.
#include "compile_fixture.h"
#include "program/display_compiler.h"
#include "program/scheduler_compiler.h"

using Bytes = std::vector<uint8_t>;
using Lines = std::vector<std::string>;

namespace {

Lines failed(const std::string& reason) {
    return {"Compiling", "Error check : Error", "Impossible to compile", " - " + reason};
}
const Lines ImagesFailed = failed("the display images do not fit the program area");

void displayWithImages(CompileFixture& f, std::initializer_list<int> sizes) {
    f.useRow(CompileFixture::DisplayRow);
    f.project.Pages.Count = 0;
    f.add(deviceRung(2, {1}));
    for (int bytes : sizes)
        f.displayImage(bytes, 1);
}

SchedulerTask& task(CompileFixture& f, int t, uint16_t opcode, uint16_t dataSize) {
    f.project.Tasks.Count = static_cast<uint8_t>(std::max<int>(f.project.Tasks.Count, t));
    SchedulerTask& k = f.project.Tasks.Tasks[static_cast<size_t>(t)];
    k.TaskBlock.Opcode = opcode;
    k.TaskBlock.DataSize = dataSize;
    for (size_t i = 0; i < k.TaskParameters.size(); ++i)
        k.TaskParameters[i] = static_cast<uint8_t>(i + 1);
    return k;
}

// 6 entries (data from 64) and 1170 data bytes: 1234 in use.
void use1234(CompileFixture& f) {
    f.add(deviceRung(1, {1}));
    f.addMany(4, operation(20, 0, 250));
    f.add(operation(20, 0, 170));
}

// Images down to 5634 - 5288 = 346 and a data area from 34 ending at 284 + lastBlock.
void imagesOverData(CompileFixture& f, uint16_t lastBlock) {
    displayWithImages(f, {529, 529, 529, 529, 529, 529, 529, 529, 529, 527});
    f.add(operation(20, 0, 250));
    f.add(operation(20, 0, lastBlock));
}

} // namespace

TEST_F(CompileFixture, SizeAndReportLines) {
    expectCompile("empty main program", 0,
                  {"Compiling", "Error check : The application must contain at least 1 function block",
                   "Impossible to compile"});
    add(deviceRung(2, {1}));
    expectCompile(
        "one device rung", 14,
        {"Compiling", "Error check : OK", "Resource usage :", "  14 / 5634 Bytes (0%)", "Compiled"});
    use1234(*this);
    expectCompile(
        "whole percent", 1234,
        {"Compiling", "Error check : OK", "Resource usage :", "  1234 / 5634 Bytes (21%)", "Compiled"});
    use1234(*this);
    model().ProgramCapacity = 1233;
    expectCompile("one byte beyond the capacity", 0,
                  {"Compiling", "Error check : OK", "Resource usage :", "  1234 / 1233 Bytes (100%)",
                   "Error check : Error", "Impossible to compile",
                   " - the program is larger than the controller's program area"});
    use1234(*this);
    model().ProgramCapacity = 1234;
    expectCompile("at the capacity", 1234);
    shell.UiText[49] = "Compilazione in corso"; // the capacity is still 1234
    shell.UiText[44] = "Controllo errori";
    shell.UiText[50] = "Compilato";
    shell.UiText[46] = "Utilizzo Risorse";
    add(deviceRung(2, {1}));
    expectCompile("language texts", 14,
                  {"Compilazione in corso", "Controllo errori : OK",
                   "Utilizzo Risorse :", "  14 / 1234 Bytes (1%)", "Compilato"});
    shell.UiText[45] = "Errore"; // a failure keeps the verdict in the language, the reason on its own line
    useRow(DisplayRow);
    project.Pages.Count = 5;
    add(deviceRung(2, {1}));
    expectCompile("failure texts", 0,
                  {"Compilazione in corso", "Controllo errori : Errore", "Impossible to compile",
                   " - more than 4 display pages"});
}

TEST_F(CompileFixture, DisplayImagesAndTablePagesMustFitTheProgramArea) {
    imagesOverData(*this, 66);
    expectCompile("data area reaching the images", 0,
                  {"Compiling", "Error check : OK", "Resource usage :", "  350 / 5634 Bytes (6%)",
                   "Error check : Error", "Impossible to compile",
                   " - the program reaches the display images"});
    imagesOverData(*this, 62);
    expectCompile("data area right below the images", 346);
    displayWithImages(*this, {530});
    expectCompile("image over one bitmap", 0, ImagesFailed);
    displayWithImages(*this, {529, 529, 529, 529, 529, 529, 529, 529, 529, 529, 529});
    expectCompile("5819 bytes of images", 0, ImagesFailed);
    // With a table the top lies below the data start (14 + (-21 - 1) * 34 - 1): nothing may go there.
    displayWithImages(*this, {});
    project.Tables.Count = 1;
    project.Tables.Tables[0].StartPage = -21;
    expectCompile("table pages without images", 14);
    displayWithImages(*this, {10});
    project.Tables.Count = 1;
    project.Tables.Tables[0].PointCount = 5;
    project.Tables.Tables[0].StartPage = -21;
    expectCompile("image below the table pages", 0, ImagesFailed);
}

TEST_F(CompileFixture, EntryAndPageLimits) {
    addMany(256, deviceRung(2, {1}));
    expectCompile("256 main rungs", 0, failed("256 rungs, page objects and tasks, more than 255"));
    addMany(250, deviceRung(2, {1}));
    project.Tasks.Count = 6;
    expectCompile("256 planned entries", 0, failed("256 rungs, page objects and tasks, more than 255"));
    addMany(250, deviceRung(2, {1}));
    for (int t = 1; t <= 5; ++t)
        task(*this, t, 136, 2);
    expectCompile("255 planned entries", 255 * 10 + 4 + 5 * 46);
    pages({0, 0, 0, 0});
    project.Pages.Count = 5;
    add(deviceRung(2, {1}));
    expectCompile("five pages", 0, failed("more than 4 display pages"));
    add(deviceRung(2, {1}));
    task(*this, 1, 136, 212); // 212 + 44 > 255
    expectCompile("task beyond the entry size", 0, failed("task 1 does not fit the program image"));
    add(deviceRung(2, {1}));
    task(*this, 1, 136, 211);
    expectCompile("task at the entry size", 24 + 258); // the size byte 255 counts up to 2 + 4k
    add(deviceRung(2, {1}));
    task(*this, 1, 136, 6).EnableFlag = -1;
    expectCompile("enable condition without triggers", 24 + 50);
    CommandRecord& b = add(operation(21, 0, 6));
    b.TriggerFlag = -1;
    b.TriggerRegister = 7;
    expectCompile("trigger without triggers", 14 + 6);
}

TEST_F(CompileFixture, RungErrorsAreListedAfterTheWholeProgram) {
    const Lines labelFailed{"Compiling", "Error check : Error", "Impossible to compile",
                            " - Function Block 2 : Label Error"};
    add(deviceRung(2, {1}));
    CommandRecord& i = add(flow(129, "MISSING", "HERE")); // If(bit): the second target stays unresolved
    i.ArgBytes[3] = {5, 6, 0, 0};
    add(labelled(deviceRung(2, {1}), "HERE"));
    add(flow(131, "HERE"));
    EXPECT_EQ(compile(), 0);
    EXPECT_EQ(state().EntryCount, 4);
    EXPECT_EQ(slot16(i, 3), 0x0605);
    expectCompile("missing label", 0, labelFailed);
    add(deviceRung(2, {1}));
    add(flow(130, ""));
    expectCompile("empty target", 0, labelFailed);
    project.Program.Sections[1].RungCount = 1;
    project.Program.Sections[1].Rungs[1] = labelled(deviceRung(2, {1}), "SUB");
    add(deviceRung(2, {1}));
    add(flow(131, "SUB"));
    expectCompile("subroutine label without display", 0, labelFailed);
    pages({2});
    project.Program.Sections[1].Rungs[2] = flow(130, "NONE");
    add(deviceRung(2, {1}));
    Lines pageFailed = labelFailed;
    pageFailed.back() = " - Page 1, Function Block 2 : Label Error";
    expectCompile("numbered within the page", 0, pageFailed);

    project.Tables.Count = 1;
    project.Tables.Tables[0].PointCount = 26;
    add(operation(300, 0, 6));                           // opcode beyond a byte
    add(operation(20, 0, 256));                          // size byte beyond 255
    add(operation(1, 8, 34)).ArgBytes[2] = {1, 0, 0, 0}; // 34 + 208 fits, table 1 does not exist
    add(operation(1, 8, 50));                            // 50 + 208 > 255
    add(deviceRung(2, {1}));
    EXPECT_EQ(compile(), 0);
    EXPECT_EQ(state().EntryCount, 1); // the rungs in error wrote no entry
    expectCompile("format limits", 0,
                  {"Compiling", "Error check : Error", "Impossible to compile", " - Function Block 1 : Error",
                   " - Function Block 2 : Error", " - Function Block 3 : Error",
                   " - Function Block 4 : Error"});

    addMany(255, operation(20, 0, 255));
    EXPECT_EQ(compile(), 0);
    // Blocks of 255 bytes from 2554: the 247th would end at 2554 + 247 * 255 = 65539, past the image.
    EXPECT_EQ(state().EntryCount, 246);
    EXPECT_EQ(report().back(), " - Function Block 255 : Error");
    project = Project{};
    addMany(25, flow(130, "NOWHERE"));
    EXPECT_EQ(compile(), 0);
    const Lines lines = report();
    ASSERT_EQ(lines.size(), 4u + 21u);
    EXPECT_EQ(Lines(lines.begin(), lines.begin() + 5),
              (Lines{"Compiling", "Error check : Error", "Impossible to compile", " - more than 21 errors",
                     " - Function Block 1 : Label Error"}));
    EXPECT_EQ(lines[24], " - Function Block 21 : Label Error");
    EXPECT_EQ(state().EntryCount, 22); // the 22nd rung was encoded, then the compile ended
}

TEST_F(CompileFixture, RungsWithoutEntryKeepThePlannedTableAndTheGapStaysZero) {
    project.ProgramImage.assign(MemoryImageSize, 0xAA); // no stale byte may reach a download
    project.Program.CurrentSection = 2;                 // the compile leaves the main section current
    add(deviceRung(4, {1, 2, 3, 4}));
    add(CommandRecord{});              // empty rung
    add(deviceRung(15, {1, 2, 3, 4})); // "Write (pointer)" compiles to nothing
    add(deviceRung(5, {1}));
    add(operation(20, 0, 6)).ArgBytes[0] = {7, 0, 0, 0};
    EXPECT_EQ(compile(), 54 + 6);
    EXPECT_EQ(image()[0], 2);
    EXPECT_EQ(bytes(14, 10), (Bytes{3, 1, 0, 54, 0, 0, 0, 6, 0, 0}));
    EXPECT_EQ(std::count(image().begin() + 24, image().begin() + 54, 0), 30);
    EXPECT_EQ(bytes(54, 3), (Bytes{20, 0, 7}));
    EXPECT_EQ(std::count(image().begin() + 60, image().end(), 0), MemoryImageSize - 60);
    EXPECT_EQ(project.Program.CurrentSection, 0);
    // The program counter counts entries: the debugger finds rungs 1 and 5 behind entries 0 and 1.
    std::vector<std::pair<int, int>> sources;
    for (const EntryRung& e : state().EntryRungs)
        sources.emplace_back(e.Section, e.Rung);
    EXPECT_EQ(sources, (std::vector<std::pair<int, int>>{{0, 1}, {0, 5}}));
}

TEST_F(CompileFixture, OperationBlockWithBreakAndTrigger) {
    useRow(TriggerRow);
    addMany(2, deviceRung(2, {1}));
    add(operation(20, 0, 246)); // data 54..299
    add(deviceRung(2, {1}));
    CommandRecord& r = add(operation(141, 2, 14));
    r.ArgBytes = {{{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}, {}, {}, {}, {}, {13, 14, 15, 16}}};
    r.BreakFlag = -1;
    r.TriggerFlag = -1;
    r.TriggerRegister = 0x0102;
    r.TriggerMask = 0x8000;
    EXPECT_EQ(compile(), 318);
    EXPECT_EQ(bytes(44, 10), (Bytes{3, 2, 0, 44, 1, 0, 0, 18, 0, 3}));
    EXPECT_EQ(bytes(300, 18), (Bytes{141, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 2, 1, 0, 0x80}));
    // The block head is always written whole: its tail lies beyond the used size.
    EXPECT_EQ(bytes(330, 4), (Bytes{13, 14, 15, 16}));
}

TEST_F(CompileFixture, DeviceAndPointerEntriesCarryTheirSlotsHighByteFirstAndDisplayRefreshWrites254) {
    add(deviceRung(9, {17, 300, 5, 0x1234, 8, 9})).BreakFlag = -1;
    add(deviceRung(14, {0x0A0B, 0xFFFF, 0xFFFF, 0x0102, 3, 4}));
    add(deviceRung(11, {0x0A0B}));
    add(deviceRung(12, {0x0A0B}));
    CommandRecord& refresh = add(operation(3, 254, 34));
    refresh.ArgBytes.fill({1, 2, 3, 4});
    EXPECT_EQ(compile(), 54 + 34);
    EXPECT_EQ(bytes(4, 10), (Bytes{9, 17, 1, 44, 5, 0x12, 0x34, 8, 9, 1}));
    EXPECT_EQ(bytes(14, 10), (Bytes{14, 0, 0x0A, 0x0B, 0, 0x01, 0x02, 3, 4, 0}));
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(bytes(54 + 2 + 4 * i, 2), (Bytes{254, 2})) << i;
}

TEST_F(CompileFixture, LinearizationOfTheLargestTableOverwritesTheBlockTail) {
    LookupTable& t = project.Tables.Tables[1];
    project.Tables.Count = 2;
    t.PointCount = 26;
    t.Outputs[25] = -25;
    add(operation(1, 8, 26)).ArgBytes[2] = {1, 0, 0, 0};
    EXPECT_EQ(compile(), 14 + 234);
    EXPECT_EQ(bytes(4, 10), (Bytes{3, 1, 0, 14, 0, 0, 0, 234, 0, 0}));
    // Inputs at image 14 + 26 = 40, controller 552 = 0x228; outputs 104 bytes later, 656 = 0x290.
    EXPECT_EQ(bytes(14 + 18, 6), (Bytes{0x28, 0x02, 0, 0, 26, 1}));
    EXPECT_EQ(bytes(14 + 26, 4), (Bytes{0, 0, 0, 0})); // input 0 overwrote slot 6 of the block head
    EXPECT_EQ(slot16(project.Program.Sections[0].Rungs[1], 6), 656);
    EXPECT_EQ(bytes(144 + 100, 4), (Bytes{0, 0, 0xC8, 0xC1})); // output 25: -25.0
}

TEST_F(CompileFixture, TasksFollowTheRungsInTableAndDataArea) {
    addMany(19, deviceRung(2, {1}));
    add(operation(20, 0, 6)); // rung entry 19, data 224..229
    task(*this, 1, 136, 6);
    task(*this, 2, 137, 2);
    EXPECT_EQ(compile(), 224 + 6 + 50 + 46);
    EXPECT_EQ(bytes(0, 4), (Bytes{20, 0, 2, 0}));
    EXPECT_EQ(bytes(4 + 200, 10), (Bytes{3, 2, 0, 230, 0, 0, 0, 50, 0, 0}));
    EXPECT_EQ(bytes(4 + 210, 10), (Bytes{3, 3, 0, 24, 1, 0, 0, 46, 0, 0}));
    // Opcode, 0, then DataSize + 42 parameter bytes.
    EXPECT_EQ(bytes(230, 4), (Bytes{136, 0, 1, 2}));
    EXPECT_EQ(image()[230 + 49], 48);
    EXPECT_EQ(bytes(280, 3), (Bytes{137, 0, 1}));
}

TEST_F(CompileFixture, CsvLoggerGetsItsHeaderLineOnCsvModelsOnly) {
    useRow(CsvRow);
    add(deviceRung(2, {1}));
    project.Variables.Variables[3].CsvName = "Temp";
    project.Variables.Variables[0].CsvName = "Flow";
    SchedulerTask& logger = task(*this, 1, 138, 6);
    logger.FieldCount = 2;
    logger.FieldList[0] = 3;
    task(*this, 2, 138, 6).CsvHeaderLine = "old";
    task(*this, 3, 136, 6).CsvHeaderLine = "kept";
    EXPECT_GT(compile(), 0);
    EXPECT_EQ(logger.CsvHeaderLine, "Temp;Flow;");
    EXPECT_EQ(project.Tasks.Tasks[2].CsvHeaderLine, "");
    EXPECT_EQ(project.Tasks.Tasks[3].CsvHeaderLine, "kept");
    useRow(0);
    logger.CsvHeaderLine = "left";
    compile();
    EXPECT_EQ(logger.CsvHeaderLine, "left");
}

TEST_F(CompileFixture, ImagesStackDownFromTheTopOfTheProgramAreaOnDisplayModelsOnly) {
    displayWithImages(*this, {});
    displayImage(100, 1);
    displayImage(50, 2);
    displayImage(20, 3);
    EXPECT_EQ(compile(), 14);
    const auto& ims = project.Images.Images;
    EXPECT_EQ(ims[0].DeviceAddress, 5634 - 100);
    EXPECT_EQ(ims[1].DeviceAddress, 5634 - 150);
    EXPECT_EQ(ims[2].DeviceAddress, 5634 - 170);
    EXPECT_EQ(bytes(5634 - 151, 3), (Bytes{3, 2, 2}));
    EXPECT_EQ(bytes(5633, 2), (Bytes{1, 0}));
    useRow(0);
    project.Images.Images[0].DeviceAddress = 0;
    EXPECT_EQ(compile(), 14);
    EXPECT_EQ(ims[0].DeviceAddress, 0);
    EXPECT_EQ(image()[5633], 0);
}

// The toolbar compile rebuilds the pages and tasks as the designer windows' own Compile does, so the
// image never depends on a designer window having been opened.
TEST_F(CompileFixture, DisplayPagesAndTasksAreCompiledAsEditedWithoutTheDesigners) {
    useRow(DisplayRow);
    add(deviceRung(2, {1}));
    project.Pages.Count = 1;
    project.Program.Sections[1].RungCount = 1; // compiled before two objects were added
    project.Pages.Pages[0].ObjectCount = 2;
    project.Tasks.Count = 2;
    SchedulerTask& typeThree = project.Tasks.Tasks[1];
    typeThree.TaskType = 3;
    typeThree.EnableBit = 3;
    project.Tasks.Tasks[2].TaskType = 1;
    shell.log.LogClear();
    const int32_t size = CompilaProgramma(ctx);
    const Lines lines = report();
    const std::vector<uint8_t> built = image();

    EXPECT_EQ(bytes(0, 4), (Bytes{4, 0, 2, 0})); // the main rung, two objects and the closing block
    EXPECT_EQ(std::tuple(typeThree.TaskBlock.Opcode, typeThree.EnableMask), std::tuple(143, 0x0008));
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[1], "Warning: task 2 (type 1) has no known block layout: sent with opcode 0");
    EXPECT_EQ(lines.back(), "Compiled");

    frm_display::CompilaOggetti(project.Pages, project.Program);
    frm_scheduler::CompilaOggetti(project.Tasks);
    EXPECT_EQ(compile(), size);
    EXPECT_EQ(image(), built);

    // On a model without a display, sections 1 to 4 are the user's and stay as they are.
    useRow(0);
    project.Program.Sections[1].Rungs[1] = labelled(deviceRung(2, {1}), "SUB");
    CompilaProgramma(ctx);
    EXPECT_EQ(project.Program.Sections[1].Rungs[1].Label, "SUB");
}
