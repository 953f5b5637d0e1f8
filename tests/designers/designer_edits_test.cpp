// The designers' edits: refusals leave the records and the modified mark as they were; pictures become
// the controller's bitmap bytes; pages compile into the blocks the program compiler reads.
#include <gtest/gtest.h>

#include <memory>

#include "designers/display_designer.h"
#include "designers/image_table.h"
#include "designers/scheduler_designer.h"
#include "program/display_compiler.h"
#include "support/fake_dialogs.h"

namespace {

struct Designers {
    std::unique_ptr<DisplayPageArray> pages = std::make_unique<DisplayPageArray>();
    std::unique_ptr<TaskArray> tasks = std::make_unique<TaskArray>();
    ImageTable images;
    int16_t modified = 0;
    FakeDialogs dialogs;
    DisplayDesigner display{*pages, modified, dialogs};
    SchedulerDesigner scheduler{*tasks, modified, dialogs};
    ImageEditor imageEditor{images, modified, dialogs};
};

MonoPicture picture(int width, int height) {
    return {width, height, std::vector<uint8_t>(size_t(width * height), 0)};
}

} // namespace

TEST(DesignerEdits, LimitsAndOutOfRangeInputAreRefusedAndChangeNothing) {
    Designers d;
    for (int o = 1; o <= MaxPageObjects; ++o)
        ASSERT_EQ(d.display.addObject(0), o);
    for (int t = 1; t <= MaxTasks; ++t)
        ASSERT_EQ(d.scheduler.addTask(), t);
    for (int p = 1; p < MaxDisplayPages; ++p)
        ASSERT_EQ(d.display.addPage(), p);
    ASSERT_TRUE(d.display.setField(0, 5, 6, "Label", "Tank"));
    const auto objectsBefore = d.pages->Pages[0].Objects;
    d.modified = 0;

    struct Case {
        std::function<bool()> edit;
        std::string message;
    };
    const Case cases[] = {
        {[&] { return d.display.addObject(0) > 0; }, "A page holds at most 32 objects."},
        {[&] { return d.scheduler.addTask() > 0; }, "The scheduler holds at most 36 tasks."},
        {[&] { return d.display.addPage() >= 0; }, "A project holds at most 9 display pages."},
        {[&] { return d.display.setField(0, 5, 1, "Position X", "256"); },
         "Position X: enter a whole number from 0 to 255."},
        {[&] { return d.display.setField(0, 5, 6, "Label", "a,b"); },
         "Label: the text may not hold a comma or a line break."},
        {[&] { return d.display.setField(0, 5, 11, "Max", "1e999"); },
         "Max: enter a number (point as decimal separator)."},
        {[&] {
             return d.scheduler.setField(2, int(SchedulerDesigner::fields().size()) - 1, "Enable Bit", "16");
         },
         "Enable Bit: enter a whole number from 0 to 15."},
        {[&] { return d.scheduler.setType(2, 7); }, "Type: enter a whole number from 0 to 6."},
        // Date-time fields 0 and 1 are the day and the month of the first date.
        {[&] { return d.scheduler.setField(2, 0, "DD 1", "32"); },
         "DD 1: enter a whole number from 1 to 31."},
        {[&] { return d.scheduler.setField(2, 1, "MM 1", "0"); }, "MM 1: enter a whole number from 1 to 12."},
        {[&] { return d.imageEditor.addImage("big", picture(64, 66)) >= 0; },
         "The image needs 530 bytes; an image may hold at most 529 bytes."},
    };
    for (const Case& c : cases) {
        d.dialogs.shown.clear();
        EXPECT_FALSE(c.edit()) << c.message;
        ASSERT_EQ(d.dialogs.shown.size(), 1u) << c.message;
        EXPECT_EQ(d.dialogs.shown[0], c.message);
    }
    EXPECT_EQ(d.pages->Pages[0].Objects, objectsBefore);
    EXPECT_EQ(
        std::tuple(d.pages->Count, d.tasks->Count, d.tasks->Tasks[2].EnableBit, d.images.Count, d.modified),
        std::tuple(MaxDisplayPages, MaxTasks, 0, 0, 0));
}

TEST(DesignerEdits, ObjectsMoveAndRemoveInPlace) {
    Designers d;
    for (int o = 1; o <= 3; ++o) {
        d.display.addObject(0);
        d.display.setField(0, o, 0, "Type", std::to_string(o));
    }
    EXPECT_EQ(d.display.moveObject(0, 3, -1), 2);
    EXPECT_EQ(d.display.removeObject(0, 1), 1);
    ASSERT_EQ(d.pages->Pages[0].ObjectCount, 2);
    EXPECT_EQ(d.pages->Pages[0].Objects[1].TypeCode, 3);
    EXPECT_EQ(d.pages->Pages[0].Objects[2].TypeCode, 2);
    EXPECT_EQ(d.pages->Pages[0].Objects[3], DisplayObject{}); // the freed slot is empty again
    EXPECT_EQ(d.modified, -1);
}

TEST(ImageTable, PictureBecomesRowsOfBitsAfterWidthAndHeight) {
    // 10 x 3, dark at row * 10 + column: the first row, a diagonal and the last column.
    MonoPicture p = picture(10, 3);
    for (size_t i : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 19, 22, 29})
        p.dark[i] = 1;
    const std::vector<uint8_t> expected = {10, 3, 0xFF, 0xC0, 0x40, 0x40, 0x20, 0x40};
    EXPECT_EQ(monochromeBitmap(p), expected);

    Designers d;
    ASSERT_EQ(d.imageEditor.addImage("lo,go", p), 0);
    const DisplayImage& im = d.images.Images[0];
    EXPECT_EQ(std::tuple(im.Name, im.ByteCount), std::tuple("logo", 8));
    EXPECT_EQ(bitmapPicture(im), p);
    // The largest picture that fits: 2 + 8 x 65 bytes.
    EXPECT_EQ(d.imageEditor.addImage("full", picture(64, 65)), 1);
    EXPECT_EQ(d.images.Images[1].ByteCount, 522);
    EXPECT_EQ(d.imageEditor.removeImage(0), 0);
    EXPECT_EQ(std::tuple(d.images.Count, d.images.Images[0].Name), std::tuple(1, "full"));
}

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
    for (const CommandRecord& r : {first.Rungs[1], first.Rungs[2], first.Rungs[3]})
        EXPECT_EQ(std::tuple(r.FunctionType, r.Opcode, r.DataSize), std::tuple(3, 3, 34));
    EXPECT_EQ(first.Rungs[3].SubOp, 254);
    const ProgramSection& second = program->Sections[2];
    ASSERT_EQ(second.RungCount, 1);
    EXPECT_EQ(second.Rungs[1].SubOp, 254);
    EXPECT_EQ(program->Sections[4].RungCount, 33);
    EXPECT_EQ(program->Sections[4].Rungs[1].Label, "PAG4");
}
