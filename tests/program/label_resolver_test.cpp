// Jump labels, "Call Page" lists and "DISPLAY" resolved into rung-table entry numbers.
#include "compile_fixture.h"

namespace {
constexpr uint16_t If = 129, Goto = 130, Call = 131, IfCall = 139, While = 147;
}

TEST_F(CompileFixture, FlowFunctionsWriteTheirTargetsEntryIntoTheirSlots) {
    add(labelled(deviceRung(2, {1}), "A"));
    add(labelled(deviceRung(2, {1}), "B"));
    CommandRecord& g = add(flow(Goto, "A"));
    g.ArgBytes[0] = {9, 9, 7, 7};
    CommandRecord& i = add(flow(If, "SKIP", "A"));
    CommandRecord& c = add(flow(Call, "B"));
    CommandRecord& ic = add(flow(IfCall, "B"));
    CommandRecord& w = add(flow(While, "B"));
    add(labelled(CommandRecord{}, "SKIP"));        // no entry: the label names the next one
    CommandRecord& cp = add(operation(3, 253, 6)); // "Call Page" without display pages
    cp.ArgBytes[0][3] = 9;
    EXPECT_GT(compile(), 0);
    EXPECT_EQ(cp.ArgBytes[0], (std::array<uint8_t, 4>{253, 0, 0, 9})); // only marks the list
    EXPECT_EQ(cp.DataSize, 6);
    EXPECT_EQ(g.ArgBytes[0], (std::array<uint8_t, 4>{0, 0, 7, 7})); // bytes 2-3 left as they were
    EXPECT_EQ(bytes(94 + 2, 4), (std::vector<uint8_t>{0, 0, 7, 7}));
    EXPECT_EQ(slot16(i, 1), 7);
    EXPECT_EQ(slot16(i, 3), 0);
    EXPECT_EQ(slot16(c, 0), 1);
    EXPECT_EQ(slot16(ic, 1), 1);
    EXPECT_EQ(slot16(w, 3), 1);
}

TEST_F(CompileFixture, MissingFirstTargetLeavesTheSecondUnresolved) {
    add(labelled(deviceRung(2, {1}), "THERE"));
    CommandRecord& i = add(flow(If, "NOWHERE", "THERE"));
    i.ArgBytes[3] = {5, 6, 0, 0};
    EXPECT_EQ(compile(), 0);
    EXPECT_EQ(slot16(i, 3), 0x0605);
}

TEST_F(CompileFixture, LastRungCarryingTheLabelWinsAcrossPageSections) {
    pages({2});
    project.Program.Sections[1].Rungs[3].Label = "X";
    add(labelled(deviceRung(2, {1}), "X"));
    CommandRecord& g = add(flow(Goto, "X"));
    EXPECT_GT(compile(), 0);
    EXPECT_EQ(slot16(g, 0), 2 + 2); // two main entries, then the third block of page 1
}

TEST_F(CompileFixture, PageLabelsAreFoundOnTheFirstCompile) {
    // The page sections' stale rung counts from an earlier compile must not hide or shift "PAG2".
    pages({1, 1});
    CommandRecord& g = add(flow(Goto, "PAG2"));
    EXPECT_GT(compile(), 0);
    EXPECT_EQ(slot16(g, 0), 3);
}

TEST_F(CompileFixture, CallPageListsTheFirstEntryOfEveryPage) {
    // 10 main rungs and pages of 4 and 6 blocks: "PAG2" is rung 10 + 4 + 1.
    pages({3, 5});
    addMany(9, deviceRung(2, {1}));
    CommandRecord& cp = add(operation(3, 253, 6));
    EXPECT_GT(compile(), 0);
    EXPECT_EQ(cp.ArgBytes[0], (std::array<uint8_t, 4>{253, 0, 0, 1}));
    EXPECT_EQ(slot16(cp, 1), 10);
    EXPECT_EQ(slot16(cp, 2), 14);
    EXPECT_EQ(cp.DataSize, 14);
    EXPECT_EQ(project.Program.Sections[1].RungCount, 4);
    EXPECT_EQ(project.Program.Sections[2].RungCount, 6);
    EXPECT_EQ(image()[0], 20);
}

TEST_F(CompileFixture, CallPageOverFourPagesIsTwentyTwoBytesLong) {
    pages({0, 0, 0, 0});
    CommandRecord& cp = add(operation(3, 253, 34));
    EXPECT_GT(compile(), 0);
    EXPECT_EQ(cp.ArgBytes[0][3], 3);
    for (int p = 1; p <= 4; ++p)
        EXPECT_EQ(slot16(cp, p), p);
    EXPECT_EQ(cp.DataSize, 22);
    EXPECT_EQ(image()[4 + 7], 22);
}

TEST_F(CompileFixture, DisplayNamesTheFirstEntryAfterTheMainProgramUnlessARungCarriesIt) {
    pages({1});
    add(deviceRung(2, {1}));
    add(CommandRecord{});
    CommandRecord& g = add(flow(Call, "DISPLAY"));
    EXPECT_GT(compile(), 0);
    EXPECT_EQ(slot16(g, 0), 2);
    project.Program.Sections[0].Rungs[1].Label = "DISPLAY";
    EXPECT_GT(compile(), 0);
    EXPECT_EQ(slot16(g, 0), 0);
}
