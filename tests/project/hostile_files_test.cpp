// Damaged and hostile project files: the load never crashes, keeps what it could read and says what it
// could not.
#include <gtest/gtest.h>

#include "project/project_files.h"
#include "project/project_load.h"
#include "project/project_save.h"
#include "project_fixture.h"

namespace {

const SetLayout tagged{true, 0};

} // namespace

class HostileFiles : public ProjectFixture {
  protected:
    ProjectLoadHooks hooks{[](AppContext&, int16_t, int16_t) { return true; }, {}};

    // Everything the set holds, in file form.
    std::string contents() {
        const Project& p = *project;
        return writeProgramFile(p.Program.Sections[0], "1.8", "") +
               writeRegisterFile(comm->Registers, model()) + writeWatchFile(p.Watch) +
               writeTablesFile(p.Tables) + writeDisplayFile(p.Pages) + writeTaskFile(p.Tasks) +
               writeVariableFile(p.Variables) + writeStringFile(p.Strings, model()) +
               writeBlockFile(p.Blocks, model());
    }

    void saveSmallProject() {
        Project& p = *project;
        p.Program.Sections[0].RungCount = 2;
        p.Program.Sections[0].Rungs[1].Description = "one";
        p.Tables.Count = 1;
        p.Tables.Tables[0] = {"T", 2, {}, {}, 0, 0};
        p.Pages.Count = 1;
        p.Pages.Pages[0].ObjectCount = 1;
        p.Tasks.Count = 1;
        p.Tasks.Tasks[1].FieldCount = 2;
        p.Variables.Count = 2;
        p.Variables.Variables[1].ValueType = 13;
        p.Watch[0] = 1;
        model().NumRegisters = 60;
        model().MaxStrings = 2;
        model().MaxBlocks = 2;
        p.Blocks[0].Text = "a\r\nb";
        dialogs.files.push_back(path("h.prj"));
        ASSERT_TRUE(SalvaProgetto(ctx, true));
    }
};

TEST_F(HostileFiles, EveryFileCutAtEveryLineLoadsAndReports) {
    saveSmallProject();
    dialogs.files.push_back(path("h.prj"));
    ASSERT_TRUE(CaricaProgetto(ctx, hooks));
    const std::string whole = contents();
    std::vector<std::string> exts{".prj"};
    for (auto e : SideFileExtensions)
        exts.emplace_back(e);
    for (const auto& e : exts) {
        const std::string saved = slurp(path("h" + e));
        // Cut after 0, 1, 2 ... whole lines; lineStart is where the last kept line starts.
        for (size_t end = 0, lineStart = 0, keep = 0; end < saved.size();
             lineStart = end, end = saved.find("\r\n", end) + 2, ++keep) {
            spit(path("h" + e), saved.substr(0, end));
            dialogs.shown.clear();
            dialogs.files.push_back(path("h.prj"));
            project->ProjectModified = -1;
            dialogs.choices.push_back(MsgChoice::No); // do not save the modified project
            CaricaProgetto(ctx, hooks);
            EXPECT_EQ(project->ProjectModified, 0);
            // A set cut after a whole record looks complete; any other cut that lost data is reported.
            bool afterRecord = keep > 0
                                   ? saved.compare(lineStart, 2, "</") == 0 || (e == ".prj" && keep == 2)
                                   : e == ".dsp" || e == ".skd" || e == ".blk"; // no pages, tasks or blocks
            size_t expected = contents() == whole || afterRecord ? dialogs.shown.size() : 2u;
            EXPECT_EQ(dialogs.shown.size(), expected) << e << " cut after " << keep << " lines";
        }
        spit(path("h" + e), saved);
    }
}

TEST_F(HostileFiles, CountsBeyondTheArraysAreBoundedAndReported) {
    LoadReport report;
    LookupTableArray tables;
    std::string table = crlf({"T", " 30 "}) + repeat(crlf({" 1"}), 60);
    readTablesFile(crlf({" 12 "}) + repeat(table, 12), ItemMode::Lines, tables, report);
    EXPECT_EQ(tables.Count, MaxLookupTables);
    EXPECT_EQ(tables.Tables[8].PointCount, MaxTablePoints);

    WatchList watch{};
    readWatchFile(crlf({" 150 "}) + repeat(crlf({" 7 "}), 150), ItemMode::Lines, watch, report);
    EXPECT_EQ(watch[0], 100);
    readWatchFile(crlf({"-4 "}), ItemMode::Lines, watch, report);
    EXPECT_EQ(watch[0], 0);

    auto pages = std::make_unique<DisplayPageArray>();
    std::string page =
        "<PAG>\r\n" + repeat("<OBJ>\r\n" + repeat(crlf({" 1 "}), 20) + "</OBJ>\r\n", 40) + "</PAG>\r\n";
    readDisplayFile(repeat(page, 12), tagged, *pages, report);
    EXPECT_EQ(pages->Count, MaxDisplayPages);
    EXPECT_EQ(pages->Pages[8].ObjectCount, MaxPageObjects);

    auto tasks = std::make_unique<TaskArray>();
    readTaskFile(repeat("<TASK>\r\n" + repeat(crlf({" 0 "}), 100) + "</TASK>\r\n", 40), tagged, *tasks,
                 report);
    EXPECT_EQ(tasks->Count, MaxTasks);

    auto store = std::make_unique<ProgramStore>();
    SetLayout layout = tagged;
    readProgramFile(crlf({"1.8", "9E23"}) +
                        repeat("<FUNC>\r\n" + repeat(crlf({" 0 "}), 48) + "</FUNC>\r\n", 300),
                    layout, *store, {}, report);
    EXPECT_EQ(store->Sections[0].RungCount, MaxRungs);

    TextBlockTable blocks{};
    ModelRecord m;
    m.ProjectTextBlocks = -1;
    readBlockFile("stray\r\n" + repeat(crlf({"<TEXT>n", "x", "</TEXT>"}), 40), tagged, blocks, m, report);
    EXPECT_EQ(blocks[32].Text, "x");

    ImageTable images;
    readImageFile(crlf({"<IMG>", "a", " 3 ", " 1 ", " 2 ", " 3 ", "</IMG>", "<IMG>", "b", " 900 ", "</IMG>"}),
                  images, report);
    ASSERT_EQ(images.Count, 2); // the image with an impossible byte count loads empty
    EXPECT_EQ(images.Images[0].Bitmap[2], 3);
    EXPECT_EQ(images.Images[1].ByteCount, 0);

    // Counted layouts: a page count, an object count and a field count beyond their arrays.
    SetLayout counted{false, 0};
    readDisplayFile(crlf({" 200 ", " 250 "}), counted, *pages, report);
    EXPECT_LE(pages->Count, MaxDisplayPages);
    readTaskFile(crlf({" 1 ", " 2 "}) + repeat(crlf({" 200 "}), 40), counted, *tasks, report);
    EXPECT_LE(tasks->Tasks[1].FieldCount, 64);

    for (const char* expected :
         {".ptb: 3 table(s) beyond 9 dropped", ".wtc: 50 register(s) beyond 100 dropped",
          ".dsp: 3 page(s) beyond 9 dropped", ".skd: 4 task(s) beyond 36 dropped",
          ".prj: 44 rung(s) beyond 256 dropped", ".blk: 7 block(s) beyond 33 dropped",
          ".blk: 1 line(s) before the first block dropped",
          ".img: image 2 counts 900 bytes, beyond 529; dropped"})
        EXPECT_NE(std::find(report.problems.begin(), report.problems.end(), expected), report.problems.end())
            << expected;
}

TEST_F(HostileFiles, LfOnlyFilesUnknownModelAndDamagedItemsStillLoad) {
    saveSmallProject();
    for (const std::string ext : {".prj", ".fmt", ".blk"}) {
        std::string data = slurp(path("h" + ext));
        std::erase(data, '\r');
        spit(path("h" + ext), data);
    }
    std::string prj = slurp(path("h.prj"));
    prj.replace(prj.find("9E23"), 4, "ZZZZ");
    prj.replace(prj.find("\n 0 \n"), 5, "\nbad\n");
    spit(path("h.prj"), prj);
    dialogs.files.push_back(path("h.prj"));
    ASSERT_TRUE(CaricaProgetto(ctx, hooks));
    EXPECT_EQ(project->Program.Sections[0].RungCount, 2);
    EXPECT_EQ(project->Program.Sections[0].Rungs[1].Description, "one");
    EXPECT_EQ(project->Blocks[0].Text, "a\r\nb");
    EXPECT_EQ(project->Variables.Count, 2);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(shell->log.lines().back().find(".prj: 1 item(s) could not be converted"), 0u);
}
