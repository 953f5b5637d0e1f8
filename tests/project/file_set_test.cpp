// Every file of the project set, line by line, and the item forms they are made of. Reading back what
// was written is the whole set's round trip (save_load_test); here are the bytes and what the readers
// must leave alone.
#include <gtest/gtest.h>

#include "project/item_reader.h"
#include "project/item_writer.h"
#include "project/project_files.h"
#include "project_fixture.h"

namespace {

const SetLayout tagged{true, 0};

ModelRecord smallModel() {
    ModelRecord m;
    m.NumRegisters = 2;
    m.FirstUserRegister = 1;
    m.MaxStrings = 3;
    m.MaxBlocks = 1;
    m.ProjectTextBlocks = -1;
    return m;
}

using Registers = std::array<RegisterRecord, RegisterCount>;

} // namespace

TEST(FileSet, EachWriterGivesTheBytesOfItsFile) {
    const ModelRecord m = smallModel();
    auto section = std::make_unique<ProgramSection>();
    const std::string emptyProgram = writeProgramFile(*section, "1.8", "9E23");
    section->RungCount = 1;
    CommandRecord& rung = section->Rungs[1] = readHoldingRung();
    rung.TriggerFlag = -1;
    rung.TriggerRegister = 40000; // unsigned fields are written as the 16-bit numbers they hold
    rung.TriggerMask = 65535;
    LookupTableArray tables;
    tables.Count = 1;
    tables.Tables[0] = {"T1", 2, {0, 10}, {0, 100}, 0, 0};
    auto regs = std::make_unique<Registers>();
    (*regs)[0].Name = "Status";
    (*regs)[1].Name = "Level";
    (*regs)[1].ValueType = 4;
    VariableTable vars;
    vars.Count = 2;
    // The alternate fields travel only with string variables, in place of the format.
    vars.Variables[0] = {26, 0, "%+5.0f", "Var0", 26, 0, 1, 0, "Var0"};
    vars.Variables[1] = {7, 14, "not written", "Msg", 300, 0, 1, 0, "Message"};
    StringTable strings{};
    strings[0].Text = "Hello, world";
    strings[2].Text = "caf\xE9";
    TextBlockTable blocks{};
    blocks[0] = {"A\r\nB", "Intro"};
    DisplayPageArray pages;
    pages.Count = 2; // page 1 empty
    DisplayObject& o = pages.Pages[1].Objects[1];
    pages.Pages[1].ObjectCount = 1;
    o = {2, 9,   10,    0, 0, 0,  0, "%5.1f", "", -3, 0,
         0, 0.5, -0.25, 0, 0, -1, 0, 0,       0,  -1}; // Reserved 9: not saved

    struct Row {
        const char* file;
        std::string written, expected;
    };
    // clang-format off
    const Row rows[] = {
        {".prj empty", emptyProgram, crlf({"1.8", "9E23"})},
        {".prj", writeProgramFile(*section, "1.8", "9E23"),
         crlf({"1.8", "9E23",
               "<FUNC>", "Read temps", "L1", " 4 ", " 0 ", " 0 ",
               "1", " 1 ", " 0 ", " 0 ", " 0 ",
               "100", " 100 ", " 0 ", " 0 ", " 0 ",
               "10", " 10 ", " 0 ", " 0 ", " 0 ",
               "", " 30 ", " 0 ", " 0 ", " 0 ",
               "%R30", " 10 ", " 0 ", " 0 ", " 0 ",
               "", " 0 ", " 0 ", " 0 ", " 0 ",
               "", " 0 ", " 0 ", " 0 ", " 0 ",
               "", " 0 ", " 0 ", " 0 ", " 0 ",
               " 1 ", "-25536 ", "-1 ", "</FUNC>"})},
        {".ptb", writeTablesFile(tables), crlf({" 1 ", "T1", " 2 ", " 0", " 10", " 0", " 100"})},
        {".ptb empty", writeTablesFile(LookupTableArray{}), crlf({" 0 "})},
        {".wtc", writeWatchFile(WatchList{2, 30, 31}), crlf({" 2 ", " 30 ", " 31 "})},
        {".lst", writeRegisterFile(*regs, m), crlf({"Status", " 0 ", "Level", " 4 ", "", " 0 "})},
        {".fmt", writeVariableFile(vars),
         crlf({" 2 ", " 26 ", " 0 ", "%+5.0f", "Var0\tVar0", " 7 ", " 14 ", "300.0.1.0", "Msg\tMessage"})},
        {".str", writeStringFile(strings, m), crlf({"Hello, world", "", "caf\xE9"})},
        {".blk", writeBlockFile(blocks, m), crlf({"<TEXT>Intro", "A", "B", "</TEXT>"})},
        {".dsp", writeDisplayFile(pages),
         crlf({"<PAG>", "</PAG>", "<PAG>", "<OBJ>",
               " 2 ", " 10 ", " 0 ", " 0 ", " 0 ", " 0 ", "%5.1f", "", "-3 ", " 0 ", " 0 ", " .5 ", "-.25 ",
               " 0 ", " 0 ", " 1 ", " 0 ", " 0 ", " 0 ", " 1 ", "</OBJ>", "</PAG>"})},
    };
    // clang-format on
    for (const Row& r : rows)
        EXPECT_EQ(r.written, r.expected) << r.file;

    // A task holds 64 field-list entries however few fields it records.
    TaskArray tasks;
    tasks.Count = 1;
    tasks.Tasks[1].FieldCount = 3;
    const std::string skd = writeTaskFile(tasks);
    EXPECT_EQ(std::count(skd.begin(), skd.end(), '\n'), 1 + 31 + 64 + 5 + 1);
}

TEST(FileSet, ReadersLeaveAloneWhatTheFileDoesNotOwn) {
    ModelRecord m = smallModel();
    LoadReport report;
    // The model's own registers keep the names the model gives them.
    auto regs = std::make_unique<Registers>();
    (*regs)[0].Name = "Model";
    readRegisterFile(crlf({"Status", " 0 ", "Level", " 4 ", "", " 0 "}), ItemMode::Lines, *regs, m, report);
    EXPECT_EQ(std::tuple((*regs)[0].Name, (*regs)[1].Name), std::tuple("Model", "Level"));

    // The first TAB parts name and CSV name: one in the name is written as a blank; none, no CSV name.
    VariableTable vars;
    vars.Count = 1;
    vars.Variables[0] = {5, 0, "%+5.0f", "Msg\tA", 0, 0, 0, 0, "Message"};
    VariableTable back;
    readVariableFile(writeVariableFile(vars), ItemMode::Lines, back, report);
    EXPECT_EQ(std::tuple(back.Variables[0].Name, back.Variables[0].CsvName), std::tuple("Msg A", "Message"));
    readVariableFile(crlf({" 1 ", " 5 ", " 0 ", "%+5.0f", "Temp"}), ItemMode::Lines, back, report);
    EXPECT_EQ(back.Variables[0].CsvName, "");

    // A model without project text blocks keeps its block names; blank lines belong to the text.
    m.ProjectTextBlocks = 0;
    TextBlockTable blocks{};
    blocks[0].Name = "kept";
    readBlockFile(crlf({"<TEXT>Other", "  x, y", "", "</TEXT>"}), tagged, blocks, m, report);
    EXPECT_EQ(blocks[0], (TextBlock{"  x, y\r\n", "kept"}));

    // Field-list entries past the recorded count are written, not read back.
    TaskArray tasks;
    tasks.Count = 1;
    tasks.Tasks[1].FieldCount = 1;
    tasks.Tasks[1].FieldList = {5, 99};
    TaskArray tasksBack;
    readTaskFile(writeTaskFile(tasks), tagged, tasksBack, report);
    EXPECT_EQ(std::tuple(tasksBack.Tasks[1].FieldList[0], tasksBack.Tasks[1].FieldList[1]), std::tuple(5, 0));
    EXPECT_TRUE(report.problems.empty());
}

// Damaged and hostile files: counts beyond the arrays are bounded and said.
TEST(FileSet, CountsBeyondTheArraysAreBoundedAndReported) {
    LoadReport report;
    LookupTableArray tables;
    std::string table = crlf({"T", " 30 "}) + repeat(crlf({" 1"}), 60);
    readTablesFile(crlf({" 12 "}) + repeat(table, 12), ItemMode::Lines, tables, report);
    EXPECT_EQ(tables.Count, MaxLookupTables);
    EXPECT_EQ(tables.Tables[8].PointCount, MaxTablePoints);

    WatchList watch{};
    readWatchFile(crlf({" 150 "}) + repeat(crlf({" 7 "}), 150), ItemMode::Lines, watch, report);
    EXPECT_EQ(watch[0], 100);
    readWatchFile(crlf({"-4 "}), ItemMode::Lines, watch, report);
    EXPECT_EQ(watch[0], 0);

    auto pages = std::make_unique<DisplayPageArray>();
    std::string page =
        "<PAG>\r\n" + repeat("<OBJ>\r\n" + repeat(crlf({" 1 "}), 20) + "</OBJ>\r\n", 40) + "</PAG>\r\n";
    readDisplayFile(repeat(page, 12), tagged, *pages, report);
    EXPECT_EQ(pages->Count, MaxDisplayPages);
    EXPECT_EQ(pages->Pages[8].ObjectCount, MaxPageObjects);

    auto tasks = std::make_unique<TaskArray>();
    readTaskFile(repeat("<TASK>\r\n" + repeat(crlf({" 0 "}), 100) + "</TASK>\r\n", 40), tagged, *tasks,
                 report);
    EXPECT_EQ(tasks->Count, MaxTasks);

    auto store = std::make_unique<ProgramStore>();
    SetLayout layout = tagged;
    readProgramFile(crlf({"1.8", "9E23"}) +
                        repeat("<FUNC>\r\n" + repeat(crlf({" 0 "}), 48) + "</FUNC>\r\n", 300),
                    layout, *store, {}, report);
    EXPECT_EQ(store->Sections[0].RungCount, MaxRungs);

    TextBlockTable blocks{};
    const ModelRecord m = smallModel();
    readBlockFile("stray\r\n" + repeat(crlf({"<TEXT>n", "x", "</TEXT>"}), 40), tagged, blocks, m, report);
    EXPECT_EQ(blocks[32].Text, "x");

    ImageTable images;
    readImageFile(crlf({"<IMG>", "a", " 3 ", " 1 ", " 2 ", " 3 ", "</IMG>", "<IMG>", "b", " 900 ", "</IMG>"}),
                  images, report);
    ASSERT_EQ(images.Count, 2); // the image with an impossible byte count loads empty
    EXPECT_EQ(images.Images[0].Bitmap[2], 3);
    EXPECT_EQ(images.Images[1].ByteCount, 0);

    // Counted layouts: a page count, an object count and a field count beyond their arrays.
    SetLayout counted{false, 0};
    readDisplayFile(crlf({" 200 ", " 250 "}), counted, *pages, report);
    EXPECT_LE(pages->Count, MaxDisplayPages);
    readTaskFile(crlf({" 1 ", " 2 "}) + repeat(crlf({" 200 "}), 40), counted, *tasks, report);
    EXPECT_LE(tasks->Tasks[1].FieldCount, 64);
    // Lines the next tagged save would write as block bounds cannot be kept.
    TextBlockTable plain{};
    readBlockFile(crlf({"one", "</TEXT>", "two"}), counted, plain, m, report);
    EXPECT_EQ(plain[0].Text, "one\r\ntwo\r\n");

    for (const char* expected :
         {".ptb: 3 table(s) beyond 9 dropped", ".wtc: 50 register(s) beyond 100 dropped",
          ".dsp: 3 page(s) beyond 9 dropped", ".skd: 4 task(s) beyond 36 dropped",
          ".prj: 44 rung(s) beyond 256 dropped", ".blk: 39 block(s) beyond 1 dropped",
          ".blk: 1 line(s) outside the blocks dropped",
          ".blk: 1 line(s) beginning with a block marker dropped",
          ".img: image 2 counts 900 bytes, beyond 529; dropped"})
        EXPECT_NE(std::find(report.problems.begin(), report.problems.end(), expected), report.problems.end())
            << expected;
    for (const std::string& problem : report.problems) // what is dropped is said once
        EXPECT_EQ(problem.find("after what the project holds"), std::string::npos) << problem;
}

// Numbers carry the sign place; file items end in a blank, table values do not.
TEST(ItemForms, NumbersAreWrittenInTheSetsFormAndReadBackExactly) {
    const std::pair<std::string, std::string> forms[] = {
        {integerText(5), " 5 "},        {integerText(-5), "-5 "},     {integerText(0), " 0 "},
        {doubleText(0.5), " .5 "},      {doubleText(-0.25), "-.25 "}, {doubleText(1.5), " 1.5 "},
        {doubleText(100), " 100 "},     {doubleText(0), " 0 "},       {doubleText(1e20), " 1E+20 "},
        {doubleText(-1e-5), "-1E-05 "}, {tableValueText(-2), "-2"},   {tableValueText(0.25), " .25"},
        {tableValueText(0), " 0"},
        {tableValueText(123456789012345), " 123456789012345"}, {tableValueText(.0001), " .0001"}, // plain
    };
    for (const auto& [got, want] : forms)
        EXPECT_EQ(got, want);
    for (double v :
         {1.0 / 3, -2.0 / 3, 123456.789, 1e20, 1e-300, -1.7976931348623157e308, 0.1, 5e-324, 65535.0}) {
        EXPECT_EQ(parseNumber(doubleText(v)), v) << doubleText(v);
        EXPECT_EQ(parseNumber(tableValueText(v)), v);
    }
}

TEST(ItemForms, NumberReaderTakesEveryWrittenFormAndNothingElse) {
    EXPECT_EQ(parseNumber("+3"), 3);
    EXPECT_EQ(parseNumber("\t7\t"), 7);
    for (const char* bad : {"", " ", "abc", "inf", "nan", "1.5x", "--1", "1,5", "."})
        EXPECT_FALSE(parseNumber(bad)) << bad;
}

TEST(ItemForms, WriterFlattensLineBreaksOfSingleLineTexts) {
    ItemWriter out;
    out.text("a\r\nb\nc");
    out.flag(-1);
    out.flag(0);
    out.multiLineText("A\r\nB\nC");
    EXPECT_EQ(out.contents(), "a  b c\r\n 1 \r\n 0 \r\nA\r\nB\r\nC\r\n");
}

TEST(ItemReader, FieldsThatDoNotConvertOrAreMissingKeepTheirValues) {
    ItemReader in(" 300 \r\nabc\r\n-1 \r\n 5 \r\n 1 \r\n 2.5 \r\n", ItemMode::Lines);
    uint8_t b = 7;
    uint16_t u = 0;
    int16_t i = 9, f1 = -1, f2 = 0, rounded = 0;
    in.byte(b);
    in.integer(i);
    in.integer(u);
    in.flag(f1);
    in.flag(f2);
    in.integer(rounded);
    // 2.5 rounds half to even.
    EXPECT_EQ(std::tuple(b, i, u, f1, f2, rounded), std::tuple(7, 9, 65535, 0, -1, 2));
    EXPECT_EQ(in.unconvertible, 2);
    EXPECT_FALSE(in.truncated);
    std::string t = "kept";
    in.text(t);
    EXPECT_EQ(t, "kept");
    EXPECT_TRUE(in.truncated);
}
