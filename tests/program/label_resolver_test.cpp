// Jump labels, "Call Page" lists and "DISPLAY" resolved into rung-table entry numbers.
#include "compile_fixture.h"

namespace {
constexpr uint16_t If = 129, Goto = 130, Call = 131, IfCall = 139, While = 147;
}

class LabelFixture : public CompileFixture {
protected:
    // A display model whose pages hold the given object counts; section p + 1 gets the page's blocks
    // (objects plus a closing block), the first labelled "PAG" + (p + 1).
    void pages(std::initializer_list<int> objects) {
        useRow(DisplayRow);
        project.Pages.Count = static_cast<uint8_t>(objects.size());
        int p = 0;
        for (int n : objects) {
            project.Pages.Pages[static_cast<size_t>(p)].ObjectCount = static_cast<uint8_t>(n);
            ProgramSection& s = project.Program.Sections[static_cast<size_t>(p + 1)];
            for (int r = 1; r <= n + 1; ++r) s.Rungs[static_cast<size_t>(r)] = operation(3, 1, 10);
            s.Rungs[1].Label = "PAG" + std::to_string(p + 1);
            ++p;
        }
    }
    const CommandRecord& rung(int r, int section = 0) const {
        return project.Program.Sections[static_cast<size_t>(section)].Rungs[static_cast<size_t>(r)];
    }
};

TEST_F(LabelFixture, GotoToTheFirstRungWritesZero) {
    add(labelled(deviceRung(2, {1}), "START"));
    CommandRecord& g = add(flow(Goto, "START"));
    g.ArgBytes[0] = {9, 9, 7, 7};
    EXPECT_GT(compile(), 0);
    EXPECT_EQ(g.ArgBytes[0], (std::array<uint8_t, 4>{0, 0, 7, 7})); // bytes 2-3 left as they were
    EXPECT_EQ(image()[24 + 2], 0);
}

TEST_F(LabelFixture, EachFlowFunctionWritesItsSlots) {
    add(labelled(deviceRung(2, {1}), "A"));
    add(labelled(deviceRung(2, {1}), "B"));
    CommandRecord& i = add(flow(If, "B", "A"));
    CommandRecord& c = add(flow(Call, "B"));
    CommandRecord& ic = add(flow(IfCall, "B"));
    CommandRecord& w = add(flow(While, "B"));
    EXPECT_GT(compile(), 0);
    EXPECT_EQ(slot16(i, 1), 1);
    EXPECT_EQ(slot16(i, 3), 0);
    EXPECT_EQ(slot16(c, 0), 1);
    EXPECT_EQ(slot16(ic, 1), 1);
    EXPECT_EQ(slot16(w, 3), 1);
}

TEST_F(LabelFixture, EmptyRungsBeforeTheTargetDoNotShiftIt) {
    CommandRecord& i = add(flow(If, "END", "END"));
    add(CommandRecord{});             // no entry
    add(deviceRung(15, {1}));          // no entry
    add(deviceRung(2, {1}));
    add(labelled(deviceRung(2, {1}), "END"));
    EXPECT_GT(compile(), 0);
    // Entries: 0 the If, 1 and 2 the device rungs: END is entry 2, not rung 5 - 1.
    EXPECT_EQ(slot16(i, 1), 2);
    EXPECT_EQ(slot16(i, 3), 2);
}

TEST_F(LabelFixture, LabelOnARungWithoutEntryTargetsTheNextEntry) {
    CommandRecord& g = add(flow(Goto, "SKIP"));
    add(labelled(CommandRecord{}, "SKIP"));
    add(deviceRung(2, {1}));
    EXPECT_GT(compile(), 0);
    EXPECT_EQ(slot16(g, 0), 1);
}

TEST_F(LabelFixture, EmptyTargetIsALabelError) {
    add(deviceRung(2, {1}));
    add(flow(Goto, ""));
    EXPECT_EQ(compile(), 0);
    EXPECT_EQ(report().back(), " - Function Block 2 : Label Error");
}

TEST_F(LabelFixture, MissingFirstTargetLeavesTheSecondUnresolved) {
    add(labelled(deviceRung(2, {1}), "THERE"));
    CommandRecord& i = add(flow(If, "NOWHERE", "THERE"));
    i.ArgBytes[3] = {5, 6, 0, 0};
    EXPECT_EQ(compile(), 0);
    EXPECT_EQ(slot16(i, 3), 0x0605);
    EXPECT_EQ(report().back(), " - Function Block 2 : Label Error");
}

TEST_F(LabelFixture, LastRungCarryingTheLabelWinsAcrossPageSections) {
    pages({2});
    project.Program.Sections[1].Rungs[3].Label = "X";
    add(labelled(deviceRung(2, {1}), "X"));
    CommandRecord& g = add(flow(Goto, "X"));
    EXPECT_GT(compile(), 0);
    EXPECT_EQ(slot16(g, 0), 2 + 2); // two main entries, then the third block of page 1
}

TEST_F(LabelFixture, CallPageListsTheFirstEntryOfEveryPage) {
    // 10 main rungs and pages of 4 and 6 blocks: "PAG2" is rung 10 + 4 + 1.
    pages({3, 5});
    for (int r = 1; r < 10; ++r) add(deviceRung(2, {1}));
    CommandRecord& cp = add(operation(3, 253, 6));
    EXPECT_GT(compile(), 0);
    EXPECT_EQ(cp.ArgBytes[0][0], 253);
    EXPECT_EQ(cp.ArgBytes[0][3], 1);
    EXPECT_EQ(slot16(cp, 1), 10);
    EXPECT_EQ(slot16(cp, 2), 14);
    EXPECT_EQ(cp.DataSize, 14);
    EXPECT_EQ(project.Program.Sections[1].RungCount, 4);
    EXPECT_EQ(project.Program.Sections[2].RungCount, 6);
    EXPECT_EQ(image()[0], 20);
}

TEST_F(LabelFixture, CallPageWithoutDisplayPagesOnlyMarksTheList) {
    CommandRecord& cp = add(operation(3, 253, 6));
    cp.ArgBytes[0][3] = 9;
    EXPECT_GT(compile(), 0);
    EXPECT_EQ(cp.ArgBytes[0][0], 253);
    EXPECT_EQ(cp.ArgBytes[0][3], 9);
    EXPECT_EQ(cp.DataSize, 6);
}

TEST_F(LabelFixture, DisplayNamesTheFirstEntryAfterTheMainProgram) {
    pages({1});
    add(deviceRung(2, {1}));
    add(CommandRecord{});
    CommandRecord& g = add(flow(Call, "DISPLAY"));
    EXPECT_GT(compile(), 0);
    EXPECT_EQ(slot16(g, 0), 2);
}

TEST_F(LabelFixture, RungLabelledDisplayTakesPrecedence) {
    add(labelled(deviceRung(2, {1}), "DISPLAY"));
    CommandRecord& g = add(flow(Call, "DISPLAY"));
    EXPECT_GT(compile(), 0);
    EXPECT_EQ(slot16(g, 0), 0);
}

TEST_F(LabelFixture, SubroutineSectionsAreNotSearchedOnModelsWithoutDisplay) {
    project.Program.Sections[1].RungCount = 1;
    project.Program.Sections[1].Rungs[1] = labelled(deviceRung(2, {1}), "SUB");
    add(deviceRung(2, {1}));
    add(flow(Call, "SUB"));
    EXPECT_EQ(compile(), 0);
    EXPECT_EQ(report().back(), " - Function Block 2 : Label Error");
}

TEST_F(LabelFixture, PageLabelsAreFoundOnTheFirstCompile) {
    // The page sections' stale rung counts from an earlier compile must not hide or shift "PAG2".
    pages({1, 1});
    project.Program.Sections[1].RungCount = 0;
    project.Program.Sections[2].RungCount = 0;
    CommandRecord& g = add(flow(Goto, "PAG2"));
    EXPECT_GT(compile(), 0);
    EXPECT_EQ(slot16(g, 0), 3);
}

TEST_F(LabelFixture, PageSectionErrorsCarryTheRungNumberWithinThePage) {
    pages({2});
    project.Program.Sections[1].Rungs[2] = flow(Goto, "NONE");
    add(deviceRung(2, {1}));
    EXPECT_EQ(compile(), 0);
    EXPECT_EQ(report().back(), " - Function Block 2 : Label Error");
}

TEST_F(LabelFixture, MoreThanFourPagesFail) {
    pages({0, 0, 0, 0});
    project.Pages.Count = 5;
    add(deviceRung(2, {1}));
    EXPECT_EQ(compile(), 0);
    EXPECT_EQ(report(), (std::vector<std::string>{"Error check : Error", "Impossible to compile"}));
}

TEST_F(LabelFixture, CallPageOverFourPagesIsTwentyTwoBytesLong) {
    pages({0, 0, 0, 0});
    CommandRecord& cp = add(operation(3, 253, 34));
    EXPECT_GT(compile(), 0);
    EXPECT_EQ(cp.ArgBytes[0][3], 3);
    for (int p = 1; p <= 4; ++p) EXPECT_EQ(slot16(cp, p), p);
    EXPECT_EQ(cp.DataSize, 22);
    EXPECT_EQ(image()[4 + 7], 22);
}
