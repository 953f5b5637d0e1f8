#include <gtest/gtest.h>

#include "editor_fixture.h"

using EditorHandlers = EditorTest;

// The values shown per kind are in every block's record; here what no record shows: the row shown last
// has the focus, a register clicked in the register view goes only into a register row of a loaded
// editor, and a row without a label is hidden whole.
TEST_F(EditorHandlers, ShowArgRegisterClicksAndMissingRows) {
    editor.load();
    ArgumentDescriptor& d = editor.Args[2];
    d.Label = "Reg";
    d.AllowedValueTypes[0] = -1;
    editor.ShowArg(2);
    EXPECT_TRUE(row(2).Value.Visible);
    EXPECT_TRUE(row(2).Type.Visible);
    EXPECT_EQ(editor.ArgCorrente, 2);
    d.IsRegister = -1;
    editor.registerClicked(28, 1);
    EXPECT_EQ(d.Value, 28);
    EXPECT_EQ(d.Kind, 1);
    EXPECT_EQ(row(2).Value.Text, "%R28");
    d.IsRegister = 0; // a number row is left alone
    editor.registerClicked(29, 1);
    editor.Caricato = false; // as is an editor that is not loaded
    d.IsRegister = -1;
    editor.registerClicked(29, 1);
    EXPECT_EQ(d.Value, 28);
    editor.Caricato = true;
    d.Label.clear();
    editor.ShowArg(2);
    EXPECT_FALSE(row(2).Value.Visible);
    EXPECT_FALSE(row(2).CaptionVisible);
    EXPECT_FALSE(row(2).Type.Visible);

    // Rows and entries that do not exist change nothing.
    editor.typeClick(9, 0);
    editor.typeClick(0, 5);
    editor.setRowText(-1, "x");
    editor.setRowText(8, "x");
    editor.ShowArg(8);
    editor.ElencoEtichette(12);
    editor.tablePicked(-3, 0);
    editor.chooseFunction(71);
    editor.chooseFunction(-1);
    EXPECT_EQ(editor.setClick(12).Picker, PickerRequest::None);
    EXPECT_EQ(editor.FunzioneCorrente, 0);
    EXPECT_FALSE(editor.bind(5, 1));
    EXPECT_FALSE(editor.bind(0, 257));
}

TEST_F(EditorHandlers, SetUpsWriteOnlyTheWorkingCopyAndUnlockEveryRow) {
    rung().ArgBytes[0] = {7, 7, 7, 7};
    const CommandRecord before = rung();
    for (int k : {36, 41, 43, 49, 4, 20, 66}) {
        choose(k);
        EXPECT_EQ(rung(), before) << k;
    }
    choose(41);
    EXPECT_EQ(editor.work().ArgBytes[0], (Bytes{0, 1, 2, 127}));
    choose(36);
    EXPECT_EQ(editor.work().SubOp, 13);
    // A K_Long row is locked to its picker; the next function's rows are free again.
    choose(21);
    EXPECT_TRUE(row(5).Value.Locked); // the mask row is a K_Long constant
    choose(4);
    for (int i = 0; i < 8; ++i)
        EXPECT_FALSE(row(i).Value.Locked) << i;
}

// The trigger reaches the record only when it is checked and both its texts are values it can hold.
TEST_F(EditorHandlers, TriggerTextsAndTheStoredTrigger) {
    struct Case {
        bool checked;
        const char* reg;
        const char* mask;
        std::array<int, 3> stored; // flag, register, mask; {1, 1, 1}: refused
    };
    const Case cases[] = {
        {true, "40", "-1", {-1, 40, 65535}}, {true, "40", "65536", {1, 1, 1}},
        {true, "-32769", "1", {1, 1, 1}},    {true, "R40", "1", {1, 1, 1}},
        {true, "1024", "1", {1, 1, 1}},      {true, "4.5", "1", {1, 1, 1}},
        {true, "40", "FF", {1, 1, 1}},       {false, "40", "FF", {0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.reg) + " " + c.mask);
        rung().TriggerFlag = rung().TriggerRegister = rung().TriggerMask = 1;
        choose(15);
        editor.state.TriggerChecked = c.checked;
        editor.state.TriggerRegister.setText(c.reg);
        editor.state.TriggerMask.setText(c.mask);
        EXPECT_EQ(editor.CompilaComando(), c.stored[0] != 1);
        EXPECT_EQ((std::array<int, 3>{rung().TriggerFlag, rung().TriggerRegister, rung().TriggerMask}),
                  c.stored);
        if (c.stored[0] != -1) continue;
        choose(15); // reopened, the stored trigger shows as it was typed
        EXPECT_EQ(editor.state.TriggerMask.Text, "-1");
    }
}

// A model without the trigger hides it and the compile ignores it: a rung brought from a model with one,
// its trigger register beyond this model's, is encoded at load and on OK, and keeps its trigger.
TEST_F(EditorHandlers, AModelWithoutTheTriggerNeitherChecksNorDropsTheStoredOne) {
    model().HasTrigger = 0;
    choose(15);
    ASSERT_TRUE(editor.CompilaComando());
    std::tie(rung().TriggerFlag, rung().TriggerRegister, rung().TriggerMask) = std::tuple(-1, 2000, 1);
    EXPECT_TRUE(rebuildRung(ctx, 0, 1));
    rung().EncodedFlag = 0; // as the load left it before
    editor.openRung(1);
    EXPECT_TRUE(editor.confirm());
    EXPECT_EQ(std::tuple(rung().TriggerFlag, rung().TriggerRegister, rung().TriggerMask),
              std::tuple(-1, 2000, 1));
}

TEST_F(EditorHandlers, LabelListsOfTheSection) {
    ProgramSection& s = project.Program.Sections[0];
    s.RungCount = 8;
    choose(11);
    EXPECT_TRUE(row(4).Value.Items.empty());
    EXPECT_EQ(row(4).Value.Text, "0");
    EXPECT_FALSE(row(4).Type.Visible);
    s.Rungs[3].Label = "START";
    s.Rungs[7].Label = "LOOP";
    choose(11);
    ASSERT_EQ(row(4).Value.Items.size(), 2u);
    EXPECT_EQ(row(4).Value.Items[1].Data, 7);
    editor.setRowText(4, "LOOP");
    ASSERT_TRUE(editor.CompilaComando());
    EXPECT_EQ(editor.row.Summary, "[ LOOP ]");
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(slot(k), (Bytes{0, 0, 0, 0}));
}

TEST_F(EditorHandlers, ArgumentTextsThatAreNoValueOfTheRowAreRefused) {
    struct Case {
        int function;
        int row;
        const char* type; // nullptr: the set-up's type
        const char* text;
        bool accepted;
        const char* message = nullptr; // the refusal, when the case looks at it
    };
    const Case cases[] = {
        {7, 0, nullptr, "abc!@#", false}, // Move source: neither register nor number
        {7, 0, nullptr, "%R100", true},
        {7, 0, nullptr, "%R1023", true},
        {7, 0, nullptr, "%R1024", false, // past the model's last register
         "Error: Check Values (row 1 \"Source A\": a register from 0 to 1023)"},
        {7, 0, nullptr, "%Rx", false},
        {7, 0, nullptr, "%X100", false},
        {7, 0, nullptr, "100", true}, // a register row takes a plain register number
        {7, 0, nullptr, "2000", false},
        {7, 0, nullptr, "12.5", false},
        {7, 0, "K_Flt", "2.5", true}, // a constant
        {7, 0, "K_Flt", "2.5x", false},
        {7, 0, "K_Flt", "1e999", false},
        {40, 1, nullptr, "12,5", true}, // read as 12.5
        {40, 1, nullptr, "0x10", false},
        {40, 1, nullptr, "", false},
        {11, 4, nullptr, "LATER", true}, // a label: the compile resolves it
        {11, 4, nullptr, "", false},
        {2, 0, nullptr, "No such device", false},
        // What a Modbus request can carry: slave addresses and counts by function.
        {40, 0, nullptr, "247", true},
        {40, 0, nullptr, "248", false, "Error: Check Values (row 1 \"Address\": from 0 to 247)"},
        {40, 2, nullptr, "125", true},
        {40, 2, nullptr, "126", false, "Error: Check Values (row 3 \"Number\": from 1 to 125)"},
        {40, 2, nullptr, "0", false},
        {1, 2, nullptr, "123", true},
        {1, 2, nullptr, "124", false, "Error: Check Values (row 3 \"Number\": from 1 to 123)"},
        {60, 2, nullptr, "2000", true},
        {61, 2, nullptr, "1969", false},
        {2, 1, nullptr, "300", false, "Error: Check Values (row 2 \"Address\": from 0 to 247)"},
        // Every row names itself and what it holds; row -1 is the delay box.
        {40, -1, nullptr, "abc", false, "Error: Check Values (Delay: a whole number from -32768 to 65535)"},
        {40, -1, nullptr, "99999999", false,
         "Error: Check Values (Delay: a whole number from -32768 to 65535)"},
        {13, 1, nullptr, "16", false,
         "Error: Check Values (row 2 \"Bit [0\xF7"
         "15]\": from 0 to 15)"},
        {20, 5, nullptr, "256", false, "Error: Check Values (row 6 \"Timer\": from 0 to 255)"},
        {16, 1, nullptr, "70000", false, "Error: Check Values (row 2 \"mSec\": from -32768 to 65535)"},
    };
    int handedOver = 0;
    editor.rowWritten = [&](int16_t, int16_t, const RungRow&) { ++handedOver; };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.function) + " row " + std::to_string(c.row) + " '" + c.text + "'");
        rung() = CommandRecord{};
        dialogs.shown.clear();
        project.ProjectModified = 0;
        handedOver = 0;
        choose(c.function);
        if (c.type) pickType(c.row, c.type);
        editor.state.Label = "NEW";
        c.row < 0 ? static_cast<void>(editor.state.Delay = c.text) : editor.setRowText(c.row, c.text);
        EXPECT_EQ(editor.confirm(), c.accepted);
        EXPECT_EQ(handedOver, c.accepted ? 1 : 0);
        EXPECT_EQ(project.ProjectModified, c.accepted ? -1 : 0);
        EXPECT_EQ(editor.Caricato, !c.accepted); // a refused value keeps the editor on its rung
        if (c.accepted)
            EXPECT_EQ(rung().Label, "NEW");
        else
            EXPECT_EQ(rung(), CommandRecord{}); // nothing of the refused encoding is stored
        ASSERT_EQ(dialogs.shown.size(), c.accepted ? 0u : 1u);
        if (!c.accepted) {
            EXPECT_TRUE(dialogs.shown[0].starts_with("Error: Check Values")) << dialogs.shown[0];
        }
        if (c.message) {
            EXPECT_EQ(dialogs.shown[0], c.message);
        }
    }
}

// The controller looks a Linearization input up between neighbouring points of its table.
TEST_F(EditorHandlers, LinearizationRefusesATableWhoseInputsDoNotAscend) {
    addTable("Oven", 4);
    project.Tables.Tables[0].Inputs[2] = 1; // equal to point 2
    choose(30);
    editor.setRowText(0, "%R100");
    editor.setRowText(1, "Oven");
    EXPECT_FALSE(editor.confirm());
    EXPECT_EQ(dialogs.shown,
              (std::vector<std::string>{"Error: Check Values (row 2 \"Function\": a table whose "
                                        "inputs ascend (point 3 does not))"}));
    project.Tables.Tables[0].Inputs[2] = 2;
    EXPECT_TRUE(editor.confirm());
}

// A jump goes to the label typed and a table is the one picked: in names a "," is no decimal point.
TEST_F(EditorHandlers, CommasInTargetsLabelsAndTableNamesAreNeverTurnedIntoPoints) {
    project.Program.Sections[0].RungCount = 3;
    project.Program.Sections[0].Rungs[3].Label = "L.3";
    choose(11);                  // Goto
    editor.setRowText(4, "L,3"); // once read as "L.3", a jump to rung 3
    EXPECT_FALSE(editor.confirm());
    editor.setRowText(4, "L.3");
    editor.state.Label = "L,1";
    EXPECT_FALSE(editor.confirm());
    EXPECT_EQ(dialogs.shown.back(), "Error: Check Values (Label: no \",\")");
    EXPECT_EQ(rung(), CommandRecord{});
    // Tables named by an older version: one with a comma, two of one name. Each rung keeps its own.
    addTable("A,B", 2);
    addTable("T", 2);
    addTable("T", 3);
    choose(30);
    editor.setRowText(0, "%R100");
    editor.setRowText(1, "A,B");
    ASSERT_TRUE(editor.CompilaComando());
    rung().ArgTexts[1] = "T";
    rung().ArgBytes[2][0] = 2;
    ASSERT_TRUE(rebuildRung(ctx, 0, 1));
    EXPECT_EQ(std::tuple(slot(2)[0], slot(5)[0]), std::tuple(2, 3));
}
