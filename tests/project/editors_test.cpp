// The variables editor's logic (limits, list lines, formats, applying the fields, the preset sets) and the
// lookup-table editor's (validation, insert or update, the table file). How the window shows a
// variable's fields is frm_variabili_test's.
#include <gtest/gtest.h>

#include "core/resource_strings.h"
#include "project/presets.h"
#include "project/table_editor.h"
#include "project/variable_editor.h"
#include "project_fixture.h"

namespace {

// The preset sets write their slots and leave alternate, trigger, mask and swap alone.
VariableTable filled(uint8_t count) {
    VariableTable t;
    t.Count = count;
    for (size_t i = 0; i < t.Variables.size(); ++i)
        t.Variables[i] = {7000 + static_cast<int32_t>(i), 3, "%-9.9e", "old", 11, 12, 13, 1, "oldcsv"};
    return t;
}

VariableRecord preset(int32_t reg, uint8_t type, const char* format, const char* name, const char* csv) {
    return {reg, type, format, name, 11, 12, 13, 1, csv};
}

} // namespace

class VariableEditorTest : public ProjectFixture {
  protected:
    VariableTable& vars() { return project->Variables; }
    int16_t& modified() { return project->ProjectModified; }
};

TEST_F(VariableEditorTest, AddUsesTheModelDefaultsAndStopsAtItsLimit) {
    model().FirstUserRegister = 26;
    model().MaxVariables = 5;
    vars().Count = 4;
    EXPECT_EQ(addVariable(vars(), model(), modified()), 4);
    EXPECT_EQ(vars().Variables[4], (VariableRecord{26, 0, "%+5.0f", "Var4", 26, 0, 1, 0, "Var4"}));
    EXPECT_EQ(modified(), -1);
    EXPECT_EQ(std::tuple(addVariable(vars(), model(), modified()), vars().Count), std::tuple(-1, 5));
}

// Moving up and removing without a selection are the window's (frm_variabili_test).
TEST_F(VariableEditorTest, MoveDownAndRemoveKeepTheRecordsAndTheSelection) {
    for (int i = 0; i < 3; ++i)
        addVariable(vars(), model(), modified());
    EXPECT_EQ(moveVariableDown(vars(), 0, modified()), 1);
    EXPECT_EQ(vars().Variables[1].Name, "Var0");
    EXPECT_EQ(moveVariableDown(vars(), 2, modified()), 2); // the last row stays
    EXPECT_EQ(moveVariableUp(vars(), 0, modified()), -1);
    EXPECT_EQ(removeVariable(vars(), 1, modified()), 0);
    EXPECT_EQ(std::tuple(vars().Variables[1].Name, vars().Count), std::tuple("Var2", 2));
}

TEST_F(VariableEditorTest, ListLinesAndFormats) {
    const std::pair<std::string, std::string> lines[] = {
        {variableListLine(7, {26, 4, "%+5.1f", "Temp", 0, 0, 0, 0, "T"}, "Float"),
         "#007 \t26\tFloat\t%+5.1f\tTemp\t\tT"},
        {variableListLine(12, {300, 13, "", "Msg", 0, 0, 0, 0, "M"}, "String (Ram)"),
         "#012 \t300\tString (Ram)\tMsg\t\tM"},
        {variableListLine(0, {0, 18, "", "D", 0, 0, 0, 0, "Fw"}, "Firmware"), "#000 \t\tFirmware\t\t\t\tFw"},
        {variableListLine(1, {0, 40, "", "", 0, 0, 0, 0, ""}, ""), "#001 \t"},
        {stringListLine(5, "Hello"), "$005\tHello"},
        {blockListLine(9, "Intro"), "*009 Intro"},
        {blockListLine(10, "Next"), "*010 Next"},
        {buildFormat({false, 5, 2, 2}), "% 5.2x"},
    };
    for (const auto& [got, want] : lines)
        EXPECT_EQ(got, want);
    OutputFormat f = parseFormat("%+3.1e", {});
    EXPECT_EQ(std::tuple(f.sign, f.digits, f.decimals, f.kind), std::tuple(true, 3, 1, 1));
    EXPECT_EQ(parseFormat("%", {false, 4, 2, 2}).digits, 4);
}

TEST_F(VariableEditorTest, ApplyStoresFieldsWholeOrNothing) {
    addVariable(vars(), model(), modified());
    modified() = 0;
    VariableFields f;
    f.id = "0";
    f.reg = "77";
    f.typeIndex = 7; // a "---" entry stores type 0
    f.format = {true, 3, 1, 0};
    f.name = "Flow";
    f.csvName = "Flow l/s";
    f.trigger = "x"; // not a number: kept
    ASSERT_TRUE(applyVariableFields(vars(), f, model(), dialogs, modified()));
    EXPECT_EQ(vars().Variables[0], (VariableRecord{77, 0, "%+3.1f", "Flow", 45, 0, 0, 0, "Flow l/s"}));
    EXPECT_EQ(modified(), -1);

    // Only variables in use: the slots past the count are not variables. The refused mask is the
    // window's (frm_variabili_test).
    modified() = 0;
    const VariableRecord before = vars().Variables[0];
    for (const char* id : {"1", "400", "x"}) {
        f.id = id;
        EXPECT_FALSE(applyVariableFields(vars(), f, model(), dialogs, modified())) << id;
        EXPECT_EQ(dialogs.shown.back(), "Check values (ID)");
    }
    f.id = "0";
    const std::string oneLine = "Check values (Name): no TAB or line break";
    const std::string tooLong = "Check values (Name): the controller holds 16 characters at most";
    for (const auto& [name, csv, message] : {std::tuple{"a\tb", "", oneLine},
                                             {"a\r\nb", "", oneLine},
                                             {"a", "b\nc", oneLine},
                                             {"seventeen chars!!", "", tooLong}}) {
        f.name = name;
        f.csvName = csv;
        EXPECT_FALSE(applyVariableFields(vars(), f, model(), dialogs, modified())) << name << csv;
        EXPECT_EQ(dialogs.shown.back(), message);
    }
    EXPECT_EQ(vars().Variables[0], before);
    EXPECT_EQ(std::tuple(vars().Variables[1], modified()), std::tuple(VariableRecord{}, 0));
}

// A register the model does not have would reach the controller as another one (70000 as 4464, -5 as
// 65531): the editor refuses it with the model's range and stores nothing. The type as now chosen decides
// whether the alternate box is a number; a stored variable shows back the fields it was given.
TEST_F(VariableEditorTest, RegistersAndStringNumbersTheModelHasNotAreRefusedWithItsRange) {
    model().StringsBase = 35840;
    addVariable(vars(), model(), modified());
    const std::string regs = ": the model's registers are 0 to 1279";
    const struct {
        uint8_t stored;
        int chosen;
        const char* reg;
        const char *alternate = nullptr, *trigger = nullptr, *mask = nullptr; // nullptr: as shown
        std::string refusal{};                                                // empty: stored
    } rows[] = {
        {0, 0, "1279"},
        {0, 0, "1280", {}, {}, {}, "Input Reg 1280" + regs},
        {0, 0, "-5", {}, {}, {}, "Input Reg -5" + regs},
        {0, 0, "4O", {}, {}, {}, "Input Reg \"4O\"" + regs}, // typed, not a number: never dropped
        {0, 0, "", {}, {}, {}, "Input Reg \"\"" + regs},
        {0, 0, "\u0436", {}, {}, {}, "Input Reg \"\u0436\"" + regs}, // quoted as typed
        {14, 14, "927"}, // its 32-byte slot ends at the last address
        {14, 14, "928", {}, {}, {}, "String ID (Default) 928: the model's string numbers are 0 to 927"},
        {0, 13, "30", "31", "32", "3"}, // a numeric variable made a string in one Apply
        {0, 14, "2", "5", "32", "1"},
        {0, 13, "30", "3l", "32", "3", "Location Reg (Alt) \"3l\"" + regs},
        {13, 0, "30"},                        // and back: the format is built, never the alternate's text
        {13, 13, "30", {}, {}, "00", "Mask"}, // every spelling of 0 is no alternate
        {13, 13, "30", {}, {}, "-0", "Mask"},
        {13, 13, "30", {}, {}, "0.0", "Mask"},
        {13, 13, "30", {}, {}, "0.4", "Mask"},
        {13, 13, "30", {}, {}, ".5", "Mask"},
    };
    for (const auto& row : rows) {
        vars().Variables[0].ValueType = row.stored;
        const VariableRecord before = vars().Variables[0];
        VariableFields f = fieldsOfVariable(vars(), 0, {});
        f.typeIndex = row.chosen;
        f.reg = row.reg;
        for (auto [typed, field] :
             {std::pair{row.alternate, &f.alternate}, {row.trigger, &f.trigger}, {row.mask, &f.mask}})
            if (typed) *field = typed;
        f.alternateChecked = f.mask != "0"; // as the window ticks "Set Altern."
        const bool stored = applyVariableFields(vars(), f, model(), dialogs, modified());
        EXPECT_EQ(stored, row.refusal.empty()) << row.reg << " " << f.alternate << " " << f.mask;
        if (!row.refusal.empty()) {
            EXPECT_EQ(std::tuple(dialogs.shown.back(), vars().Variables[0]),
                      std::tuple("Check values (" + row.refusal + ")", before));
        } else {
            const VariableFields back = fieldsOfVariable(vars(), 0, f);
            EXPECT_EQ(std::tuple(back.reg, back.typeIndex, back.alternate, back.trigger, back.mask),
                      std::tuple(f.reg, f.typeIndex, f.alternate, f.trigger, f.mask));
        }
    }
}

TEST_F(VariableEditorTest, FieldsLayoutAndButtonsOfATypeOrASelection) {
    vars().Variables[3] = {30, 4, "%+3.1e", "Temp", 77, 5, 6, 1, "T"};
    VariableFields f = fieldsOfVariable(vars(), 3, {});
    EXPECT_EQ(std::tuple(f.alternate, f.trigger, f.format.kind), std::tuple("%+3.1e", "", 1));
    vars().Variables[5].ValueType = 18; // not offered: the type box keeps its entry
    EXPECT_EQ(fieldsOfVariable(vars(), 5, f).typeIndex, 4);
    EXPECT_EQ(fieldsOfVariable(vars(), 300, f).id, "3"); // outside the table: nothing changes
    EXPECT_TRUE(typeLayout(7).format);                   // a "---" entry stands for type 0
    EXPECT_EQ(typeLayout(14).regCaption, "String ID (Default)");
    // The first brand flag shows the system preset alone, whatever the variant.
    for (auto [b1, b2, variant, system, meter] : {std::tuple{0, 0, 0, false, false},
                                                  {0, 0, -1, false, true},
                                                  {0, -1, 0, true, false},
                                                  {-1, 0, -1, true, false}}) {
        PresetButtons b = presetButtons(int16_t(b1), int16_t(b2), int16_t(variant));
        EXPECT_EQ(std::pair(b.systemVar, b.nwVar), std::pair(system, meter)) << b1 << b2 << variant;
    }
}

TEST_F(VariableEditorTest, StringsAndBlocksChangeOnlyInsideTheirTables) {
    ModelRecord model;
    model.BlockSize = 512;
    EXPECT_TRUE(setStringText(project->Strings, 128, {"last"}, dialogs, modified()));
    EXPECT_EQ(project->Strings[128].Text, "last");
    EXPECT_EQ(modified(), -1); // an edited string is not lost by closing without a save
    modified() = 0;
    EXPECT_FALSE(setStringText(project->Strings, 129, {"beyond"}, dialogs, modified()));
    EXPECT_FALSE(setBlock(project->Blocks, -1, {"x"}, {"y"}, model, dialogs, modified()));
    EXPECT_EQ(modified(), 0);
    EXPECT_TRUE(setBlock(project->Blocks, 32, {"Help"}, {"Line1\r\nLine2"}, model, dialogs, modified()));
    EXPECT_EQ(project->Blocks[32], (TextBlock{"Line1\r\nLine2", "Help"}));
    EXPECT_TRUE(dialogs.shown.empty());
}

// A text the controller or the ".blk" file cannot hold is refused with the limit, and nothing changes.
TEST_F(VariableEditorTest, TextsTheControllerOrTheFileCannotHoldAreRefused) {
    ModelRecord model;
    model.BlockSize = 64;
    const struct {
        const char* what;
        bool block;
        EditedText text;
        std::string message;
    } cases[] = {
        {"72-character string",
         false,
         {std::string(72, 's')},
         "The string is 72 characters long; the controller holds 31 at most"},
        {"euro sign",
         false,
         {"5 ?", 1},
         "The string holds 1 character(s) the controller cannot show: only Latin-1 characters are allowed"},
        {"closing marker",
         true,
         {"one\r\n</TEXT>\r\nthree"},
         "Line 2 of the block text begins with \"<TEXT>\" or \"</TEXT\", which the project file keeps as "
         "block "
         "bounds"},
        {"opening marker after a lone CR", true, {"one\r<TEXT>x"}, ""},
        {"line break in a string",
         false,
         {"one\ntwo"},
         "The string holds a line break: it must be a single line"},
        {"block beyond the model's block",
         true,
         {std::string(64, 'b')},
         "The block text is 64 characters long; the controller holds 63 at most"},
    };
    project->Strings[1].Text = "kept";
    project->Blocks[1] = {"kept", "name"};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        dialogs.shown.clear();
        modified() = 0;
        EXPECT_FALSE(c.block ? setBlock(project->Blocks, 1, {"name"}, c.text, model, dialogs, modified())
                             : setStringText(project->Strings, 1, c.text, dialogs, modified()));
        ASSERT_EQ(dialogs.shown.size(), 1u);
        if (!c.message.empty()) {
            EXPECT_EQ(dialogs.shown[0], c.message);
        }
        EXPECT_EQ(std::tuple(project->Strings[1].Text, project->Blocks[1].Text, modified()),
                  std::tuple("kept", "kept", 0));
    }
    EXPECT_FALSE(setBlock(project->Blocks, 1, {"two\r\nlines"}, {"text"}, model, dialogs, modified()));
    EXPECT_EQ(dialogs.shown.back(), "The block name holds a line break: it must be a single line");
    EXPECT_TRUE(setStringText(project->Strings, 1, {std::string(31, 's')}, dialogs, modified()));
}

TEST(PresetVariables, SystemSetWritesItsSlotsAndMeterSetTheWholeTableInOrder) {
    VariableTable system = filled(10);
    SetSystemVar(system);
    EXPECT_EQ(system.Count, 10); // fewer than 25 variables: the written slots stay unlisted
    VariableTable meter = filled(3);
    SetNWVar(meter);
    EXPECT_EQ(meter.Count, 165);
    const VariableTable old = filled(0);
    const std::tuple<const VariableTable&, size_t, VariableRecord> rows[] = {
        {system, 24, preset(1024, 0, "%+5.0f", "ddnsSta", "oldcsv")},
        {system, 26, preset(1220, 13, "%-9.9e", "storDir", "oldcsv")},
        {system, 28, preset(7028, 16, "%-9.9e", "Date", "oldcsv")},
        {system, 38, preset(3, 14, "%-9.9e", "Country", "Country")},
        {meter, 0, preset(7000, 16, "%-9.9e", "Date", "oldcsv")},
        {meter, 2, preset(500, 2, "%+5.0f", "Ea+[kWh]", "oldcsv")},
        {meter, 27, preset(600, 2, "%+5.0f", "EAd[0]", "Ea+")},
        {meter, 45, preset(320, 4, "%+5.0f", "HI1r3", "HARM0")},
        {meter, 164, preset(558, 4, "%+5.0f", "HV3r25", "HARM119")},
    };
    for (const auto& [table, i, want] : rows)
        EXPECT_EQ(table.Variables[i], want) << i;
    for (size_t i : {0, 23, 27, 30, 31, 32, 33, 34, 39, 256})
        EXPECT_EQ(system.Variables[i], old.Variables[i]) << i;
    EXPECT_EQ(meter.Variables[165], old.Variables[165]);
}

TEST_F(VariableEditorTest, PresetButtonsAskBeforeTheSystemSetAndMarkTheProjectModified) {
    VariableTable& t = vars() = filled(30);
    dialogs.choices = {MsgChoice::No};
    EXPECT_FALSE(presetSystemVariables(t, dialogs, modified()));
    EXPECT_EQ(dialogs.shown, std::vector<std::string>{"Overwrite system variables?"});
    EXPECT_EQ(modified(), 0);
    EXPECT_EQ(t.Variables[24], filled(0).Variables[24]); // declining changes nothing
    EXPECT_TRUE(presetSystemVariables(t, dialogs, modified()));
    EXPECT_EQ(t.Variables[24].Name, "ddnsSta");
    EXPECT_EQ(modified(), -1);
    modified() = 0;
    presetMeterVariables(t, modified()); // no question
    EXPECT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(modified(), -1);
}

class TableEditorTest : public ProjectFixture {
  protected:
    TableEditor editor{project->Tables, project->ProjectModified, dialogs, &project->Program};

    void type(const std::string& name, const std::string& n,
              std::initializer_list<std::pair<const char*, const char*>> points) {
        editor.fields.name = name;
        editor.fields.pointCount = n;
        size_t i = 0;
        for (auto [in, out] : points) {
            editor.fields.inputs[i] = in;
            editor.fields.outputs[i++] = out;
        }
    }
};

TEST_F(TableEditorTest, ValidationMessages) {
    type("", "2", {});
    EXPECT_FALSE(editor.insertOrUpdate());
    type("T\r\n1", "2", {});
    EXPECT_FALSE(editor.insertOrUpdate());
    type("T1", "27", {});
    EXPECT_FALSE(editor.pointCountChanged());
    EXPECT_FALSE(editor.insertOrUpdate());
    EXPECT_EQ(dialogs.shown, (std::vector<std::string>{"Check Table Name", "Check Table Name", "N = 2 to 26",
                                                       "Check N points"}));
    type("T1", "2", {{"0", "0"}, {"ten", "100"}});
    EXPECT_FALSE(editor.insertOrUpdate());
    EXPECT_EQ(std::tuple(project->Tables.Count, project->ProjectModified), std::tuple(0, 0));
    type("T1", "2.9", {});
    EXPECT_EQ(editor.pointCountChanged(), 2);
}

TEST_F(TableEditorTest, SameNameReplacesAnotherAddsNineAtMostAndConfirmHandsBackThePosition) {
    type("T1", "2", {{"0", "0"}, {"10", "100"}});
    ASSERT_TRUE(editor.insertOrUpdate());
    EXPECT_EQ(project->Tables.Tables[0].Outputs[1], 100);
    EXPECT_EQ(project->ProjectModified, -1);
    editor.selectTable(0);
    EXPECT_EQ(editor.fields.inputs[1], "10");
    editor.fields.outputs[1] = "-0.5";
    ASSERT_TRUE(editor.insertOrUpdate());
    EXPECT_EQ(project->Tables.Count, 1);
    EXPECT_EQ(project->Tables.Tables[0].Outputs[1], -0.5);

    for (int t = 2; t <= 9; ++t) { // a typed new name adds a table, it does not rename the shown one
        type("T" + std::to_string(t), "2", {});
        ASSERT_TRUE(editor.insertOrUpdate());
    }
    EXPECT_EQ(project->Tables.Tables[0].Name, "T1");
    type("T10", "2", {});
    int allocated = 0;
    EXPECT_FALSE(editor.confirm([&](LookupTableArray&) { ++allocated; }).has_value());
    EXPECT_EQ(dialogs.shown.back(), "Nine tables at most: the table was not added");
    EXPECT_EQ(project->Tables.Count, 9);
    EXPECT_EQ(allocated, 0);

    editor.selectTable(2);
    EXPECT_EQ(editor.confirm([&](LookupTableArray&) { ++allocated; }), 2);
    EXPECT_EQ(allocated, 1);
}

// Names pick tables: a second "T1" would make a Linearization find the first after every reload. A table
// a Linearization uses keeps ascending inputs, or the rung could not be encoded when the project is opened.
TEST_F(TableEditorTest, ANameInUseACommaAndDescendingInputsOfATableInUseAreRefused) {
    for (const char* name : {"T1", "T2"}) {
        type(name, "2", {{"0", "0"}, {"10", "0"}});
        ASSERT_TRUE(editor.insertOrUpdate());
    }
    project->Program.Sections[0].RungCount = 3;
    CommandRecord& lin = project->Program.Sections[0].Rungs[3];
    std::tie(lin.FunctionType, lin.Opcode, lin.SubOp, lin.ArgBytes[2][0]) = std::tuple(3, 1, 8, 1); // on T2
    for (const char* name : {"T1", "A,B"}) { // with T2 shown, another name adds a table
        type(name, "2", {});
        EXPECT_FALSE(editor.insertOrUpdate());
    }
    type("T2", "2", {{"0", "0"}, {"-1", "0"}});
    EXPECT_FALSE(editor.insertOrUpdate());
    EXPECT_EQ(dialogs.shown,
              (std::vector<std::string>{
                  "Check Table Name: table 1 is named \"T1\" already",
                  "Check Table Name: a table name holds no \",\"",
                  "Check point 2: the Linearization of rung 3 uses this table, so its inputs must ascend"}));
    EXPECT_EQ(project->Tables.Count, 2);
    editor.selectTable(0); // no Linearization uses T1
    editor.fields.inputs[1] = "-1";
    EXPECT_TRUE(editor.insertOrUpdate());
}

TEST_F(TableEditorTest, TableFileSavesAndLoadsAndRefusesBadCounts) {
    type("T1", "2", {{"0", "0"}, {"10", "100"}});
    dialogs.files.push_back(path("t1.csv"));
    ASSERT_TRUE(editor.saveToFile());
    EXPECT_EQ(slurp(path("t1.csv")), crlf({"T1", " 2 ", " 0", " 10", " 0", " 100"}));

    TableEditor other(project->Tables, project->ProjectModified, dialogs);
    dialogs.files.push_back(path("t1.csv"));
    ASSERT_TRUE(other.loadFromFile());
    EXPECT_EQ(std::tuple(other.fields.name, other.fields.pointCount, other.fields.outputs[1]),
              std::tuple("T1", "2", "100"));
    EXPECT_EQ(project->Tables.Count, 0); // loading a file changes no table

    // A point count outside 2 to 26, or none at all, changes nothing.
    const LookupTable before = other.work;
    for (const std::string& bad :
         {crlf({"T9", " 1 ", " 1", " 2"}), crlf({"T9", " 27 "}), crlf({"T9", "x"}), std::string()}) {
        spit(path("bad.csv"), bad);
        dialogs.files.push_back(path("bad.csv"));
        EXPECT_FALSE(other.loadFromFile()) << bad;
        EXPECT_EQ(dialogs.shown.back(), "N = 2 to 26");
        EXPECT_EQ(other.fields.name, "T1");
        EXPECT_EQ(other.work, before);
    }

    dialogs.files.push_back(path("typed"));
    ASSERT_TRUE(editor.saveToFile());
    EXPECT_EQ(slurp(path("typed.csv")), slurp(path("t1.csv")));

    dialogs.files.push_back(path("missing/dir/t.csv"));
    EXPECT_FALSE(editor.saveToFile());
    EXPECT_EQ(dialogs.shown.back(),
              "Cannot write " + path("missing/dir/t.csv") + ": No such file or directory");
}
