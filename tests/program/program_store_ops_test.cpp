// The store operations shared by the editors.
#include <gtest/gtest.h>

#include "program/program_store_ops.h"

TEST(ProgramStore, ClearingTheCurrentSectionEmptiesItsRungsOnly) {
    ProgramStore store;
    store.CurrentSection = 1;
    ProgramSection& s = store.Sections[1];
    s.RungCount = 2;
    const CommandRecord rung{.Description = "rung",
                             .Label = "L",
                             .FunctionType = 3,
                             .Opcode = 130,
                             .ArgBytes = {{{1, 2, 3, 4}, {}, {}, {}, {}, {}, {}, {}, {5, 6, 7, 8}}},
                             .ArgTexts = {"", "", "", "", "L"},
                             .BreakFlag = -1,
                             .TriggerFlag = -1};
    s.Rungs.fill(rung);
    store.Sections[0].RungCount = 4;
    store.CurrentRung = 2;
    store.CurrentRungCount = 2;
    ClearCurrentSection(store);

    // Slot 8, the argument texts and the trigger are never touched.
    const CommandRecord cleared{.ArgBytes = {{{}, {}, {}, {}, {}, {}, {}, {}, {5, 6, 7, 8}}},
                                .ArgTexts = {"", "", "", "", "L"},
                                .TriggerFlag = -1};
    EXPECT_EQ(s.Rungs[1], cleared);
    EXPECT_TRUE(isEmptyRung(s.Rungs[2]));
    EXPECT_EQ(s.Rungs[0], rung); // the clipboard slot is not a rung
    EXPECT_EQ(s.Rungs[3], rung); // beyond the count
    EXPECT_EQ(s.RungCount, 0);
    EXPECT_EQ(store.CurrentRung, 0);
    EXPECT_EQ(store.CurrentRungCount, 0);
    EXPECT_EQ(store.CurrentSection, 1);
    EXPECT_EQ(store.Sections[0].RungCount, 4);
}

TEST(ProgramStore, AppendingStopsAtTheLastSlot) {
    ProgramStore store;
    for (int i = 1; i <= MaxRungs; ++i)
        EXPECT_EQ(AppendRung(store), i);
    EXPECT_EQ(AppendRung(store), 0);
    EXPECT_EQ(store.current().RungCount, MaxRungs);
    EXPECT_EQ(store.CurrentRungCount, MaxRungs);
}
