// Rung editing over the program view: records and rows move together, the clipboard slot and argument
// slot 8 stay out of it, and every refused command changes nothing.
#include "view_fixture.h"

class RungEditingTest : public ViewFixture {};

using Order = std::vector<int>;

TEST_F(RungEditingTest, InsertBeforeTheFirstAfterTheLastIntoAnEmptyAndIntoAFullSection) {
    projectWith(3);
    view.rowClick(1);
    ASSERT_TRUE(InsertBeforeCommand(editing));
    EXPECT_EQ(order(), (Order{0, 1, 2, 3}));
    EXPECT_EQ(store().CurrentRung, 1);
    EXPECT_EQ(row(4).Content.Summary, "[ 30 ]");
    view.rowClick(4);
    ASSERT_TRUE(InsertAfterCommand(editing));
    EXPECT_EQ(order(), (Order{0, 1, 2, 3, 0}));
    EXPECT_EQ(store().CurrentRung, 5);
    EXPECT_EQ(row(5).FrameColour, row_layout::Red);
    // After deleting the only rung the clipboard slot is never touched.
    projectWith(1);
    CopiaRung(editing, 1);
    DeleteCommand(editing);
    ASSERT_EQ(store().CurrentRung, 0);
    ASSERT_TRUE(InsertBeforeCommand(editing));
    EXPECT_EQ(order(), (Order{0}));
    EXPECT_EQ(store().CurrentRung, 1);
    EXPECT_EQ(rung(0).FunctionType, 1); // the copied rung is still there to paste
    // A full section refuses.
    projectWith(1);
    while (section().RungCount < MaxRungs)
        ASSERT_TRUE(view.RidisegnaRung());
    EXPECT_FALSE(view.RidisegnaRung());
    EXPECT_EQ(view.rows().Rows.size(), size_t(MaxRungs + 1));
    view.rowClick(1);
    EXPECT_FALSE(InsertBeforeCommand(editing));
    EXPECT_EQ(section().RungCount, MaxRungs);
    EXPECT_EQ(rung(1).FunctionType, 1);
    EXPECT_EQ(dialogs.shown.back(), "A program section holds at most 256 rungs.");
}

TEST_F(RungEditingTest, DeleteAsksKeepsTheRungForRestoreAndSelectsTheNewLast) {
    projectWith(3);
    view.rowClick(2);
    dialogs.choices.push_back(MsgChoice::Cancel);
    DeleteCommand(editing);
    EXPECT_EQ(dialogs.shown.back(), "Delete Function Block ?");
    EXPECT_EQ(order(), (Order{1, 2, 3}));
    DeleteCommand(editing);
    EXPECT_EQ(order(), (Order{1, 3}));
    EXPECT_EQ(view.rows().Rows.size(), 3u);
    EXPECT_EQ(store().Buffer.RungNumber, 2);
    EXPECT_EQ(store().Buffer.Record.Description, "desc 2");
    EXPECT_TRUE(key("rung_redo"));
    view.rowClick(2);
    CancellaRung(editing, 2);
    EXPECT_EQ(store().CurrentRung, 1);
    EXPECT_EQ(store().CurrentRungCount, 1);
    ApriRung(editing, 1); // opening makes the rung current and disables the restore
    EXPECT_EQ(store().CurrentRung, 1);
    EXPECT_EQ(opened, std::vector<int16_t>{1});
    EXPECT_FALSE(key("rung_redo"));
    CancellaRung(editing, 1);
    EXPECT_EQ(store().CurrentRung, 0);
}

TEST_F(RungEditingTest, CommandsOnAnEmptySectionOrARungOfAnotherSectionChangeNothing) {
    projectWith(1);
    CancellaRung(editing, 1);
    const ProgramSection before = section();
    const size_t rows = view.rows().Rows.size();
    dialogs.shown.clear();
    DeleteCommand(editing);
    MoveUpCommand(editing);
    MoveDownCommand(editing);
    CopiaRung(editing, store().CurrentRung);
    IncollaRung(editing, store().CurrentRung);
    ApriRung(editing, store().CurrentRung);
    ToggleBreakpoint(editing);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(section().RungCount, before.RungCount);
    EXPECT_EQ(section().Rungs, before.Rungs);
    EXPECT_EQ(view.rows().Rows.size(), rows);
    // Nor do they touch a current rung left from another section.
    projectWith(5);
    view.rowClick(5);
    ASSERT_TRUE(NuovaSub(editing)); // Sub1 with one rung
    store().CurrentRung = 5;        // as a tab change leaves it
    CopiaRung(editing, store().CurrentRung);
    CancellaRung(editing, store().CurrentRung);
    EXPECT_EQ(section().RungCount, 1);
    EXPECT_EQ(store().Sections[0].RungCount, 5);
    EXPECT_FALSE(key("rung_paste"));
}

TEST_F(RungEditingTest, MovesSwapThroughSlotZeroLeaveSlotEightDisablePasteAndCarryTheBreakpoint) {
    projectWith(3);
    const auto slot8 = rung(1).ArgBytes[8];
    view.rowClick(2);
    CopiaRung(editing, 2);
    EXPECT_TRUE(key("rung_paste"));
    MoveUpCommand(editing);
    EXPECT_EQ(order(), (Order{2, 1, 3}));
    EXPECT_EQ(store().CurrentRung, 1);
    EXPECT_FALSE(key("rung_paste"));
    EXPECT_EQ(rung(0).FunctionType, 1); // slot 0 holds the rung that passed through it
    EXPECT_FALSE(row(0).Shown);
    EXPECT_EQ(rung(1).ArgBytes[8], slot8);
    EXPECT_EQ(rung(1).ArgTexts[8], "18");
    EXPECT_EQ(rung(1).ArgBytes[7], (std::array<uint8_t, 4>{2, 7, 0, 0}));
    MoveUpCommand(editing); // at rung 1: nothing
    view.rowClick(3);
    MoveDownCommand(editing); // at the last rung: nothing
    EXPECT_EQ(order(), (Order{2, 1, 3}));
    view.rowClick(2);
    MoveDownCommand(editing);
    EXPECT_EQ(order(), (Order{2, 3, 1}));
    EXPECT_EQ(store().CurrentRung, 3);
    // The breakpoint mark moves with its rung.
    projectWith(2);
    view.rowClick(2);
    ToggleBreakpoint(editing);
    EXPECT_EQ(rung(2).BreakFlag, -1);
    EXPECT_TRUE(row(2).BreakVisible);
    EXPECT_EQ(project.ProjectModified, -1);
    SpostaSu(editing, 2);
    EXPECT_TRUE(row(1).BreakVisible);
    EXPECT_FALSE(row(2).BreakVisible);
    ToggleBreakpoint(editing);
    EXPECT_EQ(rung(1).BreakFlag, 0);
    EXPECT_FALSE(row(1).BreakVisible);
}

TEST_F(RungEditingTest, PasteOverwritesAndRestoreBringsTheOverwrittenRungBackOrAppendsIt) {
    projectWith(3);
    CopiaRung(editing, 1);
    view.rowClick(3);
    IncollaRung(editing, 3);
    EXPECT_EQ(order(), (Order{1, 2, 1}));
    EXPECT_EQ(rung(3).Description, "desc 1");
    EXPECT_EQ(store().Buffer.RungNumber, 3);
    ASSERT_TRUE(RipristinaRung(editing));
    // The restored rung goes in at 3 and the pasted one moves down: no rung is lost.
    EXPECT_EQ(order(), (Order{1, 2, 3, 1}));
    EXPECT_EQ(rung(3).Description, "desc 3");
    EXPECT_EQ(rung(3).ArgTexts[0], "30");
    EXPECT_EQ(opened, std::vector<int16_t>{3});
    EXPECT_EQ(adds, 1);
    EXPECT_FALSE(key("rung_redo"));
    EXPECT_EQ(project.ProjectModified, 0); // the procedures leave the flag to their callers
    store().Buffer = RungBuffer{};
    EXPECT_FALSE(RipristinaRung(editing)); // nothing deleted
    EXPECT_EQ(adds, 1);
    // A restore beyond the end appends the rung.
    projectWith(4);
    CancellaRung(editing, 1);
    CancellaRung(editing, 2);      // the buffer holds rung "3", taken from position 2
    store().Buffer.RungNumber = 7; // further than the section now reaches
    ASSERT_TRUE(RipristinaRung(editing));
    EXPECT_EQ(order(), (Order{2, 4, 3}));
}

TEST_F(RungEditingTest, NewSubroutinesUpToFourEachWithOneEmptyRung) {
    projectWith(2);
    const int mainTop = row(1).Top;
    CommandRecord page;
    page.FunctionType = 3;
    page.Label = "PAG1";
    store().Sections[1].Rungs[1] = page; // left there by an earlier display-page compile
    for (int n = 1; n <= 4; ++n) {
        ASSERT_TRUE(NuovaSub(editing));
        EXPECT_EQ(store().CurrentSection, n);
        EXPECT_EQ(section().RungCount, 1);
        EXPECT_EQ(store().CurrentRung, 1);
        EXPECT_EQ(view.Tabs.back(), "Sub" + std::to_string(n));
        EXPECT_EQ(view.SelectedTab, n + 1);
        EXPECT_TRUE(view.section(n).Visible);
        EXPECT_FALSE(view.section(0).Visible);
    }
    EXPECT_EQ(store().Sections[1].Rungs[1].FunctionType, 0);
    EXPECT_EQ(store().Sections[1].Rungs[1].Label, "");
    EXPECT_FALSE(NuovaSub(editing));
    EXPECT_EQ(store().SubroutineCount, 4);
    EXPECT_EQ(dialogs.shown.back(), "A program holds at most 4 subroutines.");
    EXPECT_EQ(view.section(0).Rows[1].Top, mainTop);
    view.tabClick(1);
    EXPECT_EQ(store().CurrentSection, 0);
    EXPECT_TRUE(view.section(0).Visible);
    EXPECT_FALSE(view.section(2).Visible);
}

TEST_F(RungEditingTest, EveryCommandThatChangesTheProgramMarksTheProjectModified) {
    const std::pair<const char*, std::function<void()>> commands[] = {
        {"delete", [&] { DeleteCommand(editing); }},
        {"insert before", [&] { InsertBeforeCommand(editing); }},
        {"insert after", [&] { InsertAfterCommand(editing); }},
        {"move up", [&] { MoveUpCommand(editing); }},
        {"move down", [&] { MoveDownCommand(editing); }},
        {"paste", [&] { PasteCommand(editing); }},
        {"new subroutine", [&] { NewSubCommand(editing); }},
    };
    for (const auto& [name, command] : commands) {
        projectWith(3);
        view.rowClick(2);
        command();
        EXPECT_EQ(project.ProjectModified, -1) << name;
    }
    projectWith(3);
    view.rowClick(1);
    MoveUpCommand(editing); // nothing moves: nothing changed
    EXPECT_EQ(project.ProjectModified, 0);
}
