// The store operations shared by the editors.
#include <gtest/gtest.h>

#include "program/program_store_ops.h"

TEST(ProgramStore, ClearingTheCurrentSectionEmptiesItsRungsOnly) {
    ProgramStore store;
    store.CurrentSection = 1;
    ProgramSection& s = store.Sections[1];
    s.RungCount = 2;
    for (int r = 0; r <= 3; ++r) {
        CommandRecord& rec = s.Rungs[static_cast<size_t>(r)];
        rec.Description = "rung";
        rec.Label = "L";
        rec.FunctionType = 3;
        rec.Opcode = 130;
        rec.BreakFlag = -1;
        rec.ArgBytes[0] = {1, 2, 3, 4};
        rec.ArgBytes[8] = {5, 6, 7, 8};
        rec.ArgTexts[4] = "L";
        rec.TriggerFlag = -1;
    }
    store.Sections[0].RungCount = 4;
    store.CurrentRung = 2;
    store.CurrentRungCount = 2;
    ClearCurrentSection(store);

    const CommandRecord& cleared = s.Rungs[1];
    EXPECT_EQ(cleared.Description, "<...>");
    EXPECT_TRUE(cleared.Label.empty());
    EXPECT_TRUE(isEmptyRung(cleared));
    EXPECT_EQ(cleared.BreakFlag, 0);
    EXPECT_EQ(cleared.ArgBytes[0], (std::array<uint8_t, 4>{0, 0, 0, 0}));
    EXPECT_EQ(cleared.ArgBytes[8], (std::array<uint8_t, 4>{5, 6, 7, 8})); // slot 8 is never touched
    EXPECT_EQ(cleared.ArgTexts[4], "L");
    EXPECT_EQ(cleared.TriggerFlag, -1);
    EXPECT_EQ(s.Rungs[0].Description, "rung"); // the clipboard slot is not a rung
    EXPECT_EQ(s.Rungs[3].Description, "rung"); // beyond the count
    EXPECT_EQ(s.RungCount, 0);
    EXPECT_EQ(store.CurrentRung, 0);
    EXPECT_EQ(store.CurrentRungCount, 0);
    EXPECT_EQ(store.CurrentSection, 1);
    EXPECT_EQ(store.Sections[0].RungCount, 4);
}

TEST(ProgramStore, AppendingStopsAtTheLastSlot) {
    ProgramStore store;
    for (int i = 1; i <= MaxRungs; ++i) EXPECT_EQ(AppendRung(store), i);
    EXPECT_EQ(AppendRung(store), 0);
    EXPECT_EQ(store.current().RungCount, MaxRungs);
    EXPECT_EQ(store.CurrentRungCount, MaxRungs);
}
