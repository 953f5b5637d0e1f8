// The variables editor's logic: limits, list lines, formats and applying the fields.
#include <gtest/gtest.h>

#include "app/resource_strings.h"
#include "project/variable_editor.h"
#include "project_fixture.h"

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
    const VariableRecord& v = vars().Variables[4];
    EXPECT_EQ(v, (VariableRecord{26, 0, "%+5.0f", "Var4", 26, 0, 1, 0, "Var4"}));
    EXPECT_EQ(modified(), -1);
    EXPECT_EQ(addVariable(vars(), model(), modified()), -1);
    EXPECT_EQ(vars().Count, 5);
}

TEST_F(VariableEditorTest, RemoveAndMoveKeepTheRecordsAndTheSelection) {
    for (int i = 0; i < 3; ++i)
        addVariable(vars(), model(), modified());
    EXPECT_EQ(moveVariableDown(vars(), 0, modified()), 1);
    EXPECT_EQ(vars().Variables[1].Name, "Var0");
    EXPECT_EQ(moveVariableDown(vars(), 2, modified()), 2); // the last row stays
    EXPECT_EQ(moveVariableUp(vars(), 1, modified()), 0);
    EXPECT_EQ(vars().Variables[0].Name, "Var0");
    EXPECT_EQ(moveVariableUp(vars(), 0, modified()), -1);
    EXPECT_EQ(moveVariableUp(vars(), -1, modified()), -1);

    EXPECT_EQ(removeVariable(vars(), 1, modified()), 0);
    EXPECT_EQ(vars().Count, 2);
    EXPECT_EQ(vars().Variables[1].Name, "Var2");
    EXPECT_EQ(removeVariable(vars(), -1, modified()), 0); // no selection: nothing removed
    EXPECT_EQ(vars().Count, 2);
    removeVariable(vars(), 0, modified());
    EXPECT_EQ(removeVariable(vars(), 0, modified()), -1);
    EXPECT_EQ(vars().Count, 0);
    EXPECT_EQ(removeVariable(vars(), 0, modified()), -1);
}

TEST_F(VariableEditorTest, ListLines) {
    VariableRecord num{26, 4, "%+5.1f", "Temp", 0, 0, 0, 0, "T"};
    EXPECT_EQ(variableListLine(7, num, "Float"), "#007 \t26\tFloat\t%+5.1f\tTemp\t\tT");
    VariableRecord str{300, 13, "", "Msg", 0, 0, 0, 0, "M"};
    EXPECT_EQ(variableListLine(12, str, "String (Ram)"), "#012 \t300\tString (Ram)\tMsg\t\tM");
    VariableRecord date{0, 18, "", "D", 0, 0, 0, 0, "Fw"};
    EXPECT_EQ(variableListLine(0, date, "Firmware"), "#000 \t\tFirmware\t\t\t\tFw");
    VariableRecord odd{0, 40, "", "", 0, 0, 0, 0, ""};
    EXPECT_EQ(variableListLine(1, odd, ""), "#001 \t");
    EXPECT_EQ(stringListLine(5, "Hello"), "$005\tHello");
    EXPECT_EQ(blockListLine(9, "Intro"), "*009 Intro");
    EXPECT_EQ(blockListLine(10, "Next"), "*0010 Next");
}

TEST_F(VariableEditorTest, FormatsAreBuiltAndRead) {
    EXPECT_EQ(buildFormat({false, 5, 2, 2}), "% 5.2x");
    OutputFormat f = parseFormat("%+3.1e", {});
    EXPECT_TRUE(f.sign);
    EXPECT_EQ(f.digits, 3);
    EXPECT_EQ(f.decimals, 1);
    EXPECT_EQ(f.kind, 1);
    EXPECT_EQ(parseFormat("%", {false, 4, 2, 2}).digits, 4);
}

TEST_F(VariableEditorTest, ApplyStoresFieldsAndChecksTheMask) {
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
    ASSERT_TRUE(applyVariableFields(vars(), f, dialogs, modified()));
    const VariableRecord& v = vars().Variables[0];
    EXPECT_EQ(v.Register, 77);
    EXPECT_EQ(v.ValueType, 0);
    EXPECT_EQ(v.Format, "%+3.1f");
    EXPECT_EQ(v.Mask, 0);
    EXPECT_EQ(v.CsvName, "Flow l/s");
    EXPECT_EQ(modified(), -1);

    vars().Variables[0].ValueType = 14;
    modified() = 0;
    f.typeIndex = 14;
    f.alternate = "300";
    f.alternateChecked = true;
    f.mask = "0";
    f.swap = true;
    f.csvName = "changed";
    const VariableRecord before = v;
    EXPECT_FALSE(applyVariableFields(vars(), f, dialogs, modified()));
    EXPECT_EQ(dialogs.shown, std::vector<std::string>{"Check values (Mask)"});
    EXPECT_EQ(v, before); // all or nothing
    EXPECT_EQ(modified(), 0);

    // Only variables in use: the slots past the count are not variables.
    f.mask = "1";
    for (const char* id : {"1", "400", "x"}) {
        f.id = id;
        EXPECT_FALSE(applyVariableFields(vars(), f, dialogs, modified())) << id;
    }
    EXPECT_EQ(vars().Variables[1], VariableRecord{});
    EXPECT_EQ(dialogs.shown.back(), "Check values (ID)");
    EXPECT_EQ(modified(), 0);
}

TEST_F(VariableEditorTest, SelectingAVariableFillsTheFieldsItsTypeUses) {
    VariableRecord& num = vars().Variables[3];
    num = {30, 4, "%+3.1e", "Temp", 77, 5, 6, 1, "T"};
    VariableFields f = fieldsOfVariable(vars(), 3, {});
    EXPECT_EQ(f.id, "3");
    EXPECT_EQ(f.reg, "30");
    EXPECT_EQ(f.typeIndex, 4);
    EXPECT_EQ(f.alternate, "%+3.1e");
    EXPECT_TRUE(f.format.sign);
    EXPECT_EQ(f.format.digits, 3);
    EXPECT_EQ(f.format.decimals, 1);
    EXPECT_EQ(f.format.kind, 1);
    EXPECT_EQ(f.trigger, ""); // not a field of numeric types
    VariableRecord& str = vars().Variables[4];
    str = {2, 14, "9.8", "Site", 9, 8, 0, 1, "S"};
    f = fieldsOfVariable(vars(), 4, f);
    EXPECT_EQ(f.alternate, "9");
    EXPECT_EQ(f.trigger, "8");
    EXPECT_EQ(f.mask, "0");
    EXPECT_TRUE(f.swap);
    EXPECT_EQ(f.name, "Site");
    EXPECT_EQ(f.csvName, "S");
    vars().Variables[5].ValueType = 18; // not offered: the type box keeps its entry
    EXPECT_EQ(fieldsOfVariable(vars(), 5, f).typeIndex, 14);
    EXPECT_EQ(fieldsOfVariable(vars(), 300, f).id, "4"); // outside the table: nothing changes
}

TEST_F(VariableEditorTest, TypeLayoutShowsTheFieldsOfTheType) {
    TypeLayout n = typeLayout(2);
    EXPECT_TRUE(n.reg && n.alternate && n.format && n.label);
    EXPECT_FALSE(n.altFrame || n.swap);
    TypeLayout ram = typeLayout(13);
    EXPECT_TRUE(ram.altFrame && ram.swap && !ram.format);
    EXPECT_EQ(ram.regCaption, "Location Reg (Default)");
    EXPECT_EQ(typeLayout(14).regCaption, "String ID (Default)");
    TypeLayout date = typeLayout(16);
    EXPECT_TRUE(date.label);
    EXPECT_FALSE(date.reg || date.alternate || date.format || date.altFrame);
    EXPECT_TRUE(typeLayout(7).format); // a "---" entry stands for type 0
}

TEST_F(VariableEditorTest, PresetButtonsFollowTheBuildFlagsInOrder) {
    EXPECT_FALSE(presetButtons(0, 0, 0).systemVar || presetButtons(0, 0, 0).nwVar);
    EXPECT_TRUE(presetButtons(0, 0, -1).nwVar);
    EXPECT_TRUE(presetButtons(0, -1, 0).systemVar);
    PresetButtons b1 = presetButtons(-1, 0, -1);
    EXPECT_TRUE(b1.systemVar);
    EXPECT_FALSE(b1.nwVar);
}

TEST_F(VariableEditorTest, StringsAndBlocksChangeOnlyInsideTheirTables) {
    setStringText(project->Strings, 128, "last", modified());
    EXPECT_EQ(project->Strings[128].Text, "last");
    EXPECT_EQ(modified(), -1); // an edited string is not lost by closing without a save
    modified() = 0;
    setStringText(project->Strings, 129, "beyond", modified());
    EXPECT_EQ(modified(), 0);
    setBlock(project->Blocks, 32, "Help", "Line1\r\nLine2", modified());
    EXPECT_EQ(project->Blocks[32], (TextBlock{"Line1\r\nLine2", "Help"}));
    modified() = 0;
    setBlock(project->Blocks, -1, "x", "y", modified());
    EXPECT_EQ(modified(), 0);
}
