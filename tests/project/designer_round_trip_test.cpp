// Pages, tasks and images edited through the designers, with a rung the editor encoded, survive a save
// and a load byte for byte, and compile to the same program image.
#include <gtest/gtest.h>

#include "designers/display_compiler.h"
#include "designers/display_designer.h"
#include "designers/image_table.h"
#include "designers/scheduler_compiler.h"
#include "designers/scheduler_designer.h"
#include "fbeditor/editor.h"
#include "program/compiler.h"
#include "project/project_files.h"
#include "project/project_load.h"
#include "project/project_save.h"
#include "project_fixture.h"

namespace {

void editDesigners(Project& p, UserDialogs& dialogs) {
    DisplayDesigner display(p.Pages, p.ProjectModified, dialogs);
    const std::vector<std::string> objectTexts[] = {
        {"1", "10",  "20",   "30", "8", "1", "Temp %5.1f", "HOT", "100", "3",
         "4", "1.5", "-.25", "1",  "0", "1", "0",          "1",   "0",   "1"},
        {"7",  "0",     "40", "128", "16", "2", "Level", "",  "-200", "0",
         "15", "1e+20", "0",  "0",   "1",  "0", "1",     "0", "1",    "0"},
    };
    for (int page = 0; page < 2; ++page) {
        if (page > 0) {
            ASSERT_EQ(display.addPage(), page);
        }
        for (int o = 1; o <= 3; ++o) {
            ASSERT_EQ(display.addObject(page), o);
            const std::vector<std::string>& texts = objectTexts[(page + o) % 2];
            for (int f = 0; f < DisplayObjectFields; ++f)
                ASSERT_TRUE(display.setField(page, o, f, "field", texts[size_t(f)]));
        }
    }
    display.moveObject(1, 3, -1);

    SchedulerDesigner scheduler(p.Tasks, p.ProjectModified, dialogs);
    for (int t = 1; t <= 3; ++t) {
        ASSERT_EQ(scheduler.addTask(), t);
        ASSERT_TRUE(scheduler.setType(t, t + 1));
        for (size_t f = 0; f < SchedulerDesigner::fields().size(); ++f) {
            bool text = SchedulerDesigner::fields()[f].field.kind == FieldKind::Text;
            std::string value = text ? "LOG" + std::to_string(t) : std::to_string((t * 7 + int(f)) % 2);
            ASSERT_TRUE(scheduler.setField(t, int(f), "field", value));
        }
        for (int v = 0; v < (t == 3 ? 70 : t * 2); ++v) // more than 64 fields keep their place
            ASSERT_TRUE(scheduler.addField(t, (v * 3) % p.Variables.Count, p.Variables.Count));
    }
    ASSERT_TRUE(scheduler.removeField(3, 1));

    ImageEditor images(p.Images, p.ProjectModified, dialogs);
    for (int i = 0; i < 2; ++i) {
        MonoPicture pic{12 + i, 5, std::vector<uint8_t>(size_t((12 + i) * 5), 0)};
        for (size_t k = 0; k < pic.dark.size(); k += 3 + size_t(i))
            pic.dark[k] = 1;
        ASSERT_EQ(images.addImage("icon" + std::to_string(i), pic), i);
    }
}

} // namespace

using DesignerRoundTrip = ProjectFixture;

TEST_F(DesignerRoundTrip, SavedLoadedAndSavedAgainTheSetIsIdenticalAndCompilesAlike) {
    model().IsProgrammable = -1;
    model().HasDisplay = -1;
    model().HasTrigger = -1;
    model().ProgramBase = 512;
    model().ProgramCapacity = 5634;
    project->Variables.Count = 5;
    for (int v = 0; v < 5; ++v)
        project->Variables.Variables[size_t(v)].CsvName = "C" + std::to_string(v);
    ProgramSection& main = project->Program.Sections[0];
    main.RungCount = 2; // rung 2 stays empty
    main.Rungs[1] = readHoldingRung();
    ASSERT_TRUE(rebuildRung(ctx, 0, 1));
    editDesigners(*project, dialogs);
    ASSERT_TRUE(dialogs.shown.empty()) << dialogs.shown.front();
    dialogs.files.push_back(path("a.prj"));
    ASSERT_TRUE(SalvaProgetto(ctx, true));
    frm_display::CompilaOggetti(project->Pages, project->Program);
    frm_scheduler::CompilaOggetti(project->Tasks);
    int32_t size = CompilaProgramma(ctx);
    ASSERT_GT(size, 0);
    const std::vector<uint8_t> compiled = project->ProgramImage;

    *project = Project{};
    dialogs.files.push_back(path("a.prj"));
    ASSERT_TRUE(CaricaProgetto(ctx)); // the editor rebuilds the rungs, the compiler pages the tables
    EXPECT_TRUE(dialogs.shown.empty()) << dialogs.shown.front();
    EXPECT_EQ(project->Program.Sections[0].Rungs[1].Delay, 10); // not in the file: set by the editor
    EXPECT_EQ(project->Program.Sections[0].Rungs[2].FunctionType, 0);
    // The load compiled the pages into their sections, the tasks into their blocks.
    EXPECT_EQ(project->Program.Sections[2].RungCount, 4);
    EXPECT_EQ(project->Program.Sections[2].Rungs[1].Label, "PAG2");
    EXPECT_EQ(project->Tasks.Tasks[3].TaskBlock.FunctionType, 3);
    EXPECT_EQ(project->Tasks.Tasks[1].EnableMask, 1 << project->Tasks.Tasks[1].EnableBit);
    dialogs.files.push_back(path("b.prj"));
    ASSERT_TRUE(SalvaProgetto(ctx, true));
    for (std::string_view ext : {".prj", ".dsp", ".skd", ".img"})
        EXPECT_EQ(slurp(path("a" + std::string(ext))), slurp(path("b" + std::string(ext)))) << ext;
    EXPECT_EQ(project->Tasks.Tasks[3].FieldCount, 69);
    EXPECT_EQ(CompilaProgramma(ctx), size);
    EXPECT_EQ(project->ProgramImage, compiled);
}
