// Every file of the project set, line by line.
#include <gtest/gtest.h>

#include "project/project_files.h"
#include "project/table_file.h"
#include "project_fixture.h"

namespace {

std::unique_ptr<ProgramStore> newStore() {
    return std::make_unique<ProgramStore>();
}

ModelRecord testModel() {
    ModelRecord m;
    m.ModelCode = "9E23";
    m.NumRegisters = 50;
    m.FirstUserRegister = 45;
    m.MaxStrings = 3;
    m.MaxBlocks = 2;
    m.ProjectTextBlocks = -1;
    return m;
}

const SetLayout tagged{true, 0};

} // namespace

TEST(ProgramFile, ReadHoldingRungIsFiftyLinesAndReadsBackToTheSameRecord) {
    auto storeOwner = newStore();
    ProgramStore& store = *storeOwner;
    store.Sections[0].RungCount = 1;
    store.Sections[0].Rungs[1] = readHoldingRung();
    std::string file = writeProgramFile(store.Sections[0], "1.8", "9E23");
    // clang-format off
    std::string expected = crlf({"1.8", "9E23",
                                 "<FUNC>", "Read temps", "L1", " 4 ", " 0 ", " 0 ",
                                 "1", " 1 ", " 0 ", " 0 ", " 0 ",
                                 "100", " 100 ", " 0 ", " 0 ", " 0 ",
                                 "10", " 10 ", " 0 ", " 0 ", " 0 ",
                                 "", " 30 ", " 0 ", " 0 ", " 0 ",
                                 "%R30", " 10 ", " 0 ", " 0 ", " 0 ",
                                 "", " 0 ", " 0 ", " 0 ", " 0 ",
                                 "", " 0 ", " 0 ", " 0 ", " 0 ",
                                 "", " 0 ", " 0 ", " 0 ", " 0 ",
                                 " 0 ", " 0 ", " 0 ", "</FUNC>"});
    // clang-format on
    EXPECT_EQ(file, expected);

    auto loadedOwner = newStore();
    ProgramStore& loaded = *loadedOwner;
    SetLayout layout = tagged;
    std::vector<int16_t> rebuilt;
    LoadReport report;
    readProgramFile(
        file, layout, loaded, [&](int16_t r) { rebuilt.push_back(r); }, report);
    EXPECT_EQ(loaded.Sections[0].RungCount, 1);
    EXPECT_EQ(loaded.Sections[0].Rungs[1], readHoldingRung());
    EXPECT_EQ(rebuilt, std::vector<int16_t>{1});
    EXPECT_TRUE(report.problems.empty());
}

TEST(ProgramFile, EmptySectionIsTwoLinesAndTriggerMaskKeepsItsBits) {
    auto storeOwner = newStore();
    ProgramStore& store = *storeOwner;
    EXPECT_EQ(writeProgramFile(store.Sections[0], "1.8", "9E23"), crlf({"1.8", "9E23"}));

    CommandRecord r;
    r.TriggerFlag = -1;
    r.TriggerMask = 65535;
    r.TriggerRegister = 40000;
    store.Sections[0].RungCount = 1;
    store.Sections[0].Rungs[1] = r;
    std::string file = writeProgramFile(store.Sections[0], "1.8", "9E23");
    EXPECT_NE(file.find("\r\n 1 \r\n-25536 \r\n-1 \r\n</FUNC>"), std::string::npos);
    auto loadedOwner = newStore();
    ProgramStore& loaded = *loadedOwner;
    SetLayout layout = tagged;
    LoadReport report;
    readProgramFile(file, layout, loaded, {}, report);
    EXPECT_EQ(loaded.Sections[0].Rungs[1], r);
}

TEST(ProgramFile, TextsAreReadWholeAndLineBreaksNeverShiftTheBlock) {
    auto storeOwner = newStore();
    ProgramStore& store = *storeOwner;
    CommandRecord r = readHoldingRung();
    r.Description = "  pump, left\r\nside";
    r.ArgTexts[0] = " 1,5";
    store.Sections[0].RungCount = 1;
    store.Sections[0].Rungs[1] = r;
    auto loadedOwner = newStore();
    ProgramStore& loaded = *loadedOwner;
    SetLayout layout = tagged;
    LoadReport report;
    readProgramFile(writeProgramFile(store.Sections[0], "1.8", ""), layout, loaded, {}, report);
    r.Description = "  pump, left  side";
    EXPECT_EQ(loaded.Sections[0].Rungs[1], r);
    EXPECT_TRUE(report.problems.empty());
}

TEST(ProgramFile, ExtraItemsBeforeTheClosingTagAreSkipped) {
    std::string file = crlf({"1.8", "X", "<FUNC>", "d", "", " 3 ", " 0 ", " 6 "});
    for (int i = 0; i < 40; ++i)
        file += crlf({" 0 "});
    file += crlf({" 0 ", " 0 ", " 0 ", "extra", "more", "</FUNC>", "<FUNC>"});
    auto loadedOwner = newStore();
    ProgramStore& loaded = *loadedOwner;
    SetLayout layout = tagged;
    LoadReport report;
    readProgramFile(file, layout, loaded, {}, report);
    EXPECT_EQ(loaded.Sections[0].RungCount, 2);
    EXPECT_EQ(loaded.Sections[0].Rungs[1].Opcode, 6);
    EXPECT_FALSE(report.problems.empty()); // the second block ends early
}

TEST(TablesFile, OneTableAndTwoTables) {
    LookupTableArray tables;
    tables.Count = 1;
    tables.Tables[0].Name = "T1";
    tables.Tables[0].PointCount = 2;
    tables.Tables[0].Inputs[1] = 10;
    tables.Tables[0].Outputs[1] = 100;
    EXPECT_EQ(writeTablesFile(tables), crlf({" 1 ", "T1", " 2 ", " 0", " 10", " 0", " 100"}));
    EXPECT_EQ(writeTablesFile(LookupTableArray{}), crlf({" 0 "}));

    tables.Count = 2;
    tables.Tables[1] = tables.Tables[0];
    tables.Tables[1].Name = "T2";
    tables.Tables[1].Inputs[0] = -0.25;
    std::string file = writeTablesFile(tables);
    EXPECT_TRUE(file.starts_with(crlf({" 2 ", "T1"})));
    LookupTableArray loaded;
    LoadReport report;
    readTablesFile(file, ItemMode::Lines, loaded, report);
    EXPECT_EQ(loaded.Count, 2);
    EXPECT_EQ(loaded.Tables[0], tables.Tables[0]);
    EXPECT_EQ(loaded.Tables[1], tables.Tables[1]);
}

TEST(TableFile, PointCountOutsideTwoToTwentySixChangesNothing) {
    LookupTable t;
    t.Name = "keep";
    t.PointCount = 3;
    for (const char* n : {" 1 ", " 27 ", " 40 ", "x"}) {
        LookupTable before = t;
        EXPECT_EQ(readTableFile(crlf({"T9", n, " 1", " 2"}), t), TableFileResult::BadPointCount) << n;
        EXPECT_EQ(t, before);
    }
    EXPECT_EQ(readTableFile("", t), TableFileResult::BadPointCount);
}

TEST(WatchFile, TwoRegisters) {
    WatchList w{};
    w[0] = 2;
    w[1] = 30;
    w[2] = 31;
    std::string file = writeWatchFile(w);
    EXPECT_EQ(file, crlf({" 2 ", " 30 ", " 31 "}));
    WatchList back{};
    LoadReport report;
    readWatchFile(file, ItemMode::Lines, back, report);
    EXPECT_EQ(back, w);
}

TEST(RegisterFile, ModelRegistersKeepTheirNames) {
    ModelRecord m = testModel();
    auto regs = std::make_unique<std::array<RegisterRecord, RegisterCount>>();
    (*regs)[0].Name = "Status";
    (*regs)[45].Name = "Level";
    (*regs)[45].ValueType = 4;
    std::string file = writeRegisterFile(*regs, m);
    EXPECT_TRUE(file.starts_with(crlf({"Status", " 0 "})));
    EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 2 * 51);

    auto back = std::make_unique<std::array<RegisterRecord, RegisterCount>>();
    (*back)[0].Name = "Model";
    LoadReport report;
    readRegisterFile(file, ItemMode::Lines, *back, m, report);
    EXPECT_EQ((*back)[0].Name, "Model");
    EXPECT_EQ((*back)[45].Name, "Level");
    EXPECT_EQ((*back)[45].ValueType, 4);
}

TEST(VariableFile, NewVariableStringVariableAndNamesWithoutTab) {
    VariableTable vars;
    vars.Count = 1;
    // The alternate fields travel only with string variables.
    vars.Variables[0] = {26, 0, "%+5.0f", "Var0", 0, 0, 0, 0, "Var0"};
    EXPECT_EQ(writeVariableFile(vars), crlf({" 1 ", " 26 ", " 0 ", "%+5.0f", "Var0\tVar0"}));

    vars.Count = 2;
    vars.Variables[1] = {7, 14, "300.0.1.0", "Msg", 300, 0, 1, 0, "Message"};
    std::string file = writeVariableFile(vars);
    EXPECT_NE(file.find(crlf({" 14 ", "300.0.1.0", "Msg\tMessage"})), std::string::npos);
    VariableTable back;
    LoadReport report;
    readVariableFile(file, ItemMode::Lines, back, report);
    EXPECT_EQ(back.Count, 2);
    EXPECT_EQ(back.Variables[0], vars.Variables[0]);
    EXPECT_EQ(back.Variables[1], vars.Variables[1]);

    vars.Variables[1].Name = "Msg\tA";
    readVariableFile(writeVariableFile(vars), ItemMode::Lines, back, report);
    EXPECT_EQ(back.Variables[1].Name, "Msg A");
    EXPECT_EQ(back.Variables[1].CsvName, "Message");

    readVariableFile(crlf({" 1 ", " 5 ", " 0 ", "%+5.0f", "Temp"}), ItemMode::Lines, back, report);
    EXPECT_EQ(back.Variables[0].Name, "Temp");
    EXPECT_EQ(back.Variables[0].CsvName, "");
}

TEST(BlockFile, TwoLineBlockAndNames) {
    ModelRecord m = testModel();
    m.MaxBlocks = 1;
    TextBlockTable blocks{};
    blocks[0] = {"A\r\nB", "Intro"};
    std::string file = writeBlockFile(blocks, m);
    EXPECT_EQ(file, crlf({"<TEXT>Intro", "A", "B", "</TEXT>"}));
    TextBlockTable back{};
    LoadReport report;
    readBlockFile(file, tagged, back, m, report);
    EXPECT_EQ(back[0].Text, "A\r\nB");
    EXPECT_EQ(back[0].Name, "Intro");

    m.ProjectTextBlocks = 0;
    back[0].Name = "kept";
    readBlockFile(crlf({"<TEXT>Other", "  x, y", "", "</TEXT>"}), tagged, back, m, report);
    EXPECT_EQ(back[0].Name, "kept");
    EXPECT_EQ(back[0].Text, "  x, y\r\n");
    EXPECT_TRUE(report.problems.empty());
}

TEST(StringFile, OneLinePerModelString) {
    ModelRecord m = testModel();
    StringTable s{};
    s[0].Text = "Hello, world";
    s[2].Text = "caf\xE9";
    std::string file = writeStringFile(s, m);
    EXPECT_EQ(file, crlf({"Hello, world", "", "caf\xE9"}));
    StringTable back{};
    LoadReport report;
    readStringFile(file, ItemMode::Lines, back, m, report);
    EXPECT_EQ(back, s);
}

TEST(DisplayFile, ObjectItemsFlagsAndEmptyPages) {
    DisplayPageArray pages;
    pages.Count = 2;
    DisplayObject& o = pages.Pages[1].Objects[1];
    o = {};
    o.TypeCode = 2;
    o.Reserved = 9; // not in the file
    o.X = 10;
    o.Text = "%5.1f";
    o.Register = -3;
    o.Maximum = 0.5;
    o.Minimum = -0.25;
    o.Reverse = -1;
    o.AltTextFlag = -1;
    pages.Pages[1].ObjectCount = 1;
    std::string file = writeDisplayFile(pages);
    EXPECT_TRUE(file.starts_with(crlf({"<PAG>", "</PAG>", "<PAG>", "<OBJ>", " 2 "})));
    EXPECT_NE(file.find(crlf({"%5.1f", "", "-3 ", " 0 ", " 0 ", " .5 ", "-.25 ", " 0 ", " 0 ", " 1 ", " 0 ",
                              " 0 ", " 0 ", " 1 ", "</OBJ>", "</PAG>"})),
              std::string::npos);

    DisplayPageArray back;
    LoadReport report;
    readDisplayFile(file, tagged, back, report);
    EXPECT_EQ(back.Count, 2);
    EXPECT_EQ(back.Pages[0].ObjectCount, 0);
    EXPECT_EQ(back.Pages[1].ObjectCount, 1);
    o.Reserved = 0;
    EXPECT_EQ(back.Pages[1].Objects[1], o);
    EXPECT_TRUE(report.problems.empty());

    std::string five = file;
    five.replace(five.rfind(" 1 \r\n</OBJ>"), 3, " 5 ");
    readDisplayFile(five, tagged, back, report);
    EXPECT_EQ(back.Pages[1].Objects[1].AltTextFlag, 0);
}

TEST(TaskFile, ThreeFieldsAreWrittenAsSixtyFourAndMoreThanSixtyFourKeepTheirPlace) {
    TaskArray tasks;
    tasks.Count = 2;
    SchedulerTask& a = tasks.Tasks[1];
    a.TaskType = 3;
    a.DateTime[0] = 24;
    a.Directory = "LOG";
    a.FieldCount = 3;
    a.FieldList[0] = 5;
    a.FieldList[1] = 6;
    a.FieldList[2] = 7;
    a.FieldList[3] = 99; // beyond the count: written, not read back
    a.EnableFlag = -1;
    a.EnableRegister = 60000;
    a.ActionValue = -4;
    SchedulerTask& b = tasks.Tasks[2];
    b.FieldCount = 100;
    for (int k = 0; k < 100; ++k)
        b.FieldList[static_cast<size_t>(k)] = static_cast<uint8_t>(k + 1);
    b.EnableFlag = -1;
    b.EnableBit = 3;
    b.ActionRegister = 77;

    std::string file = writeTaskFile(tasks);
    std::string firstTask = file.substr(0, file.find("</TASK>"));
    EXPECT_EQ(std::count(firstTask.begin(), firstTask.end(), '\n'), 1 + 31 + 64 + 5);

    TaskArray back;
    LoadReport report;
    readTaskFile(file, tagged, back, report);
    EXPECT_EQ(back.Count, 2);
    EXPECT_EQ(storedFields(back.Tasks[1]), storedFields(a));
    EXPECT_EQ(back.Tasks[1].FieldList[3], 0); // beyond the count: not read back
    EXPECT_EQ(storedFields(back.Tasks[2]), storedFields(b));
    EXPECT_TRUE(report.problems.empty());
}
