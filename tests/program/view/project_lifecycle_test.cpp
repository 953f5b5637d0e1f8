#include "view_fixture.h"

class LifecycleTest : public ViewFixture {};

TEST_F(LifecycleTest, NewProjectGivesTheModelDefaultsOneSelectedEmptyRungAndNothingOfTheOldOne) {
    project.Strings[3].Text = "old";
    NuovoProgetto(life);
    EXPECT_EQ(project.ProjectPath, "Project");
    EXPECT_EQ(project.Variables.Count, 32);
    for (int i = 0; i < 32; ++i) {
        const VariableRecord& v = project.Variables.Variables[static_cast<size_t>(i)];
        EXPECT_EQ(v.Name, "Var" + std::to_string(i));
        EXPECT_EQ(v.CsvName, v.Name);
        EXPECT_EQ(v.Register, 100);
        EXPECT_EQ(v.Format, "%+5.0f");
    }
    EXPECT_EQ(project.Strings[3].Text, "");
    EXPECT_EQ(project.Pages.Count, 1);
    EXPECT_EQ(section().RungCount, 1);
    EXPECT_EQ(store().CurrentRung, 1);
    EXPECT_EQ(row(1).FrameColour, row_layout::Red);
    EXPECT_TRUE(view.Caricato);
    EXPECT_TRUE(key("rung_mod"));
    EXPECT_TRUE(key("proj_comp"));
    EXPECT_EQ(project.ProjectModified, 0);
    shell.Models[DefaultModelIndex].MaxVariables = 0; // a model without variables touches none
    project.Variables.Variables[0].Name = "kept";
    NuovoProgramma(life);
    NuovoProgetto(life);
    EXPECT_EQ(project.Variables.Count, 0);
    EXPECT_EQ(project.Variables.Variables[0].Name, "kept");
    // A new project keeps nothing of the old one.
    projectWith(2);
    ASSERT_TRUE(NuovaSub(editing));
    ASSERT_TRUE(NuovaSub(editing));
    store().Sections[4].RungCount = 3; // a compiled display page
    store().Sections[4].Rungs[1].FunctionType = 3;
    project.Tables.Count = 2;
    project.Blocks[1].Text = "old";
    project.Images.Count = 1;
    project.Images.Images.resize(1);
    project.Watch[0] = 4;
    NuovoProgramma(life); // clears the shown section, Sub2
    NuovoProgetto(life);
    NuovoProgramma(life);
    NuovoProgetto(life);
    EXPECT_EQ(store().CurrentSection, 0);
    EXPECT_EQ(view.Tabs, std::vector<std::string>{"Main"});
    EXPECT_TRUE(view.section(0).Visible);
    EXPECT_EQ(view.rows().Rows.size(), 2u); // exactly one empty rung
    EXPECT_EQ(row(1).Content.Description, "<...>");
    EXPECT_EQ(store().SubroutineCount, 0);
    for (int s = 0; s < SectionCount; ++s) {
        EXPECT_EQ(store().Sections[static_cast<size_t>(s)].RungCount, s == 0) << s;
        EXPECT_EQ(store().Sections[static_cast<size_t>(s)].Rungs[1].FunctionType, 0) << s;
    }
    EXPECT_EQ(project.Tables.Count, 0);
    EXPECT_EQ(project.Blocks[1].Text, "");
    EXPECT_EQ(project.Images.Count, 0);
    EXPECT_TRUE(project.Images.Images.empty());
    EXPECT_EQ(project.Watch[0], 0);
    // Four new subroutines fit again, the first in section 1.
    ASSERT_TRUE(NuovaSub(editing));
    EXPECT_EQ(store().CurrentSection, 1);
}

TEST_F(LifecycleTest, CloseSavesOnYesEmptiesTheCurrentSectionAndClosesTheWindows) {
    // The save question itself is the shell's; closing hands it the project's save.
    projectWith(2);
    project.ProjectModified = -1;
    dialogs.choices.push_back(MsgChoice::Yes);
    NuovoProgramma(life);
    EXPECT_EQ(saves, 1);
    projectWith(1);
    project.ProjectModified = -1;
    dialogs.choices.push_back(MsgChoice::No);
    NuovoProgramma(life);
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(project.ProjectModified, 0);
    // Closing empties the current section only and closes the windows.
    projectWith(3);
    store().Sections[2].RungCount = 4;
    project.Tasks.Count = 3;
    editorsClosed = 0;
    NuovoProgramma(life);
    EXPECT_EQ(section().RungCount, 0);
    EXPECT_EQ(store().CurrentRung, 0);
    EXPECT_EQ(store().CurrentRungCount, 0);
    EXPECT_EQ(rung(2).FunctionType, 0);
    EXPECT_EQ(rung(2).Description, "<...>");
    EXPECT_EQ(store().Sections[2].RungCount, 4);
    EXPECT_EQ(project.Tasks.Count, 0);
    EXPECT_FALSE(view.Caricato);
    EXPECT_EQ(editorsClosed, 1);
    EXPECT_FALSE(key("rung_mod"));
    EXPECT_FALSE(key("proj_comp"));
}
