// Display pages and tasks compiled into the blocks the program compiler reads.
#include <gtest/gtest.h>

#include <memory>

#include "designers/display_compiler.h"
#include "designers/scheduler_compiler.h"

TEST(DisplayCompile, EachPageBecomesItsSectionWithAClosingBlockAndPagesPastFourAreCounted) {
    auto pages = std::make_unique<DisplayPageArray>();
    auto program = std::make_unique<ProgramStore>();
    pages->Count = 6;
    pages->Pages[0].ObjectCount = 2;
    pages->Pages[1].ObjectCount = 0;   // a page without objects still closes
    pages->Pages[3].ObjectCount = 200; // beyond the page's 32 slots
    program->Sections[2].RungCount = 9;
    EXPECT_EQ(frm_display::CompilaOggetti(*pages, *program), 2);

    const ProgramSection& first = program->Sections[1];
    ASSERT_EQ(first.RungCount, 3);
    EXPECT_EQ(first.Rungs[1].Label, "PAG1");
    for (const CommandRecord& r : {first.Rungs[1], first.Rungs[2], first.Rungs[3]})
        EXPECT_EQ(std::tuple(r.FunctionType, r.Opcode, r.DataSize), std::tuple(3, 3, 34));
    EXPECT_EQ(first.Rungs[3].SubOp, 254);
    const ProgramSection& second = program->Sections[2];
    ASSERT_EQ(second.RungCount, 1);
    EXPECT_EQ(second.Rungs[1].SubOp, 254);
    EXPECT_EQ(program->Sections[4].RungCount, 33);
    EXPECT_EQ(program->Sections[4].Rungs[1].Label, "PAG4");
    EXPECT_EQ(program->Sections[0].RungCount, 0);
}

TEST(TaskCompile, TypeThreeRunsOpcode143AndEveryBlockIsRebuilt) {
    auto tasks = std::make_unique<TaskArray>();
    tasks->Count = 2;
    tasks->Tasks[1].TaskType = 3;
    tasks->Tasks[2].TaskType = 1;
    tasks->Tasks[2].TaskBlock.Description = "stale";
    frm_scheduler::CompilaOggetti(*tasks);
    EXPECT_EQ(tasks->Tasks[1].TaskBlock.Opcode, 143);
    EXPECT_EQ(tasks->Tasks[2].TaskBlock.FunctionType, 3);
    EXPECT_EQ(tasks->Tasks[2].TaskBlock.Description, "<...>");
}
