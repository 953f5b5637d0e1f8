// Jump labels, "Call Page" lists and "DISPLAY" resolved into rung-table entry numbers.
#include "compile_fixture.h"

constexpr uint16_t If = 129, Goto = 130, Call = 131, IfCall = 139, While = 147;

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
    CommandRecord& d = add(flow(Call, "DISPLAY")); // the first entry after the main program
    EXPECT_GT(compile(), 0);
    EXPECT_EQ(cp.ArgBytes[0], (std::array<uint8_t, 4>{253, 0, 0, 9})); // only marks the list
    EXPECT_EQ(cp.DataSize, 6);
    EXPECT_EQ(g.ArgBytes[0], (std::array<uint8_t, 4>{0, 0, 7, 7})); // bytes 2-3 left as they were
    EXPECT_EQ(bytes(104 + 2, 4), (std::vector<uint8_t>{0, 0, 7, 7}));
    EXPECT_EQ((std::vector<int>{slot16(i, 1), slot16(i, 3), slot16(c, 0), slot16(ic, 1), slot16(w, 3)}),
              (std::vector<int>{7, 0, 1, 1, 1}));
    EXPECT_EQ(slot16(d, 0), 9);
    project.Program.Sections[0].Rungs[3].Label = "DISPLAY"; // unless a rung carries it
    EXPECT_GT(compile(), 0);
    EXPECT_EQ(slot16(d, 0), 2);
}

TEST_F(CompileFixture, PageLabelsAndCallPageListTheFirstEntryOfEveryPage) {
    // 10 main rungs and pages of 4 and 6 blocks: "PAG2" is entry 10 + 4 + 1. The page sections' stale
    // rung counts from an earlier compile must not hide or shift it on the first compile.
    pages({3, 5});
    project.Program.Sections[2].Rungs[6].Label = "X";
    add(labelled(deviceRung(2, {1}), "X")); // the last rung carrying a label wins, across sections
    addMany(6, deviceRung(2, {1}));
    CommandRecord& x = add(flow(Goto, "X"));
    CommandRecord& g = add(flow(Goto, "PAG2"));
    CommandRecord& cp = add(operation(3, 253, 6));
    EXPECT_GT(compile(), 0);
    EXPECT_EQ(slot16(x, 0), 19);
    EXPECT_EQ(slot16(g, 0), 14);
    EXPECT_EQ(cp.ArgBytes[0], (std::array<uint8_t, 4>{253, 0, 0, 1}));
    EXPECT_EQ(slot16(cp, 1), 10);
    EXPECT_EQ(slot16(cp, 2), 14);
    EXPECT_EQ(cp.DataSize, 14);
    EXPECT_EQ(image()[4 + 10 * 9 + 7], 14);
    EXPECT_EQ(project.Program.Sections[1].RungCount, 4);
    EXPECT_EQ(project.Program.Sections[2].RungCount, 6);
    EXPECT_EQ(image()[0], 20);
}
