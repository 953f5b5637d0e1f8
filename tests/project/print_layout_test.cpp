#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/language.h"
#include "fbeditor/catalogue.h"
#include "project/print_layout.h"
#include "project/project_fixture.h"

namespace {

// One line per command: "T x y size B|- text", "P x y picture w h", "R x y x2 y2", "N".
std::string line(const PrintCommand& c) {
    const std::string at = " " + std::to_string(c.x) + " " + std::to_string(c.y) + " ";
    switch (c.kind) {
    case PrintCommand::Text:
        return "T" + at + std::to_string(c.fontSize) + (c.bold ? " B " : " - ") + c.text;
    case PrintCommand::Picture:
        return "P" + at + std::to_string(c.picture) + " " + std::to_string(c.width) + " " +
               std::to_string(c.height);
    case PrintCommand::Rule:
        return "R" + at + std::to_string(c.x2) + " " + std::to_string(c.y2);
    default:
        return "N";
    }
}

class PrintLayout : public ProjectFixture {
  protected:
    void SetUp() override {
        ProjectFixture::SetUp();
        project->ProjectPath = "Proj";
        model().HighRegisterStart = 960;
        shell->ValueTypeNames[0] = "uInt";
        shell->ValueTypeNames[4] = "Float";
    }
    // Twenty twips per point of font size: size 10 lines are 200 high, size 8 lines 160.
    std::vector<std::string> print(const std::vector<RungRow>& rows, int h = 16000) {
        Stampa s({12000, h, [](const std::string&, int size, bool) { return size * 20; }});
        s.StampaProgetto(ctx, rows);
        pageCount = s.PrintPage;
        commands = s.commands();
        std::vector<std::string> out;
        std::transform(commands.begin(), commands.end(), std::back_inserter(out), line);
        return out;
    }
    void addRungs(int n, const std::string& label = "R", const std::string& description = "d") {
        ProgramSection& s = project->Program.Sections[0];
        for (int i = 0; i < n; ++i) {
            CommandRecord& r = s.Rungs[static_cast<size_t>(++s.RungCount)];
            r.Label = label;
            r.Description = description;
            r.FunctionType = 4;
        }
    }
    static RungRow rowWith(int visible) {
        RungRow row;
        for (int a = 0; a < visible; ++a) {
            row.ArgCaptions[static_cast<size_t>(a)] = "Cap" + std::to_string(a);
            row.ArgValues[static_cast<size_t>(a)] = "V" + std::to_string(a);
            row.CaptionVisible[static_cast<size_t>(a)] = true;
        }
        return row;
    }
    int pageCount = 0;
    std::vector<PrintCommand> commands;
};

} // namespace

TEST_F(PrintLayout, HeaderRungsWithTheirArgumentsAndBlankLinesThenTheRegisterLegend) {
    comm->Registers[30] = {"%R30", "Temp", 0, 4, 0, 0};
    comm->Registers[12] = {"%I12", "Input", 1, 0, 0, 0};    // kind 1: not listed
    comm->Registers[13] = {"%Q13", "Output", 2, 0, 0, 0};   // kind 2: not listed
    comm->Registers[14] = {"%R14", "", 0, 0, 0, 0};         // no name: not listed
    comm->Registers[960] = {"%R960", "High", 0, 0, 0, 0};   // upper block
    comm->Registers[1280] = {"%R1280", "Last", 0, 0, 0, 0}; // NumRegisters itself is listed
    comm->Registers[1281] = {"%R1281", "Beyond", 0, 0, 0, 0};
    const int k = FunzToOpt(4, 0, 0);
    shell->FunctionNames[static_cast<size_t>(k)] = "Read Holding";
    const std::string pic = " " + std::to_string(catalogueEntry(k).Picture) + " 500 600";
    addRungs(1, "START", "<...>");
    addRungs(1, "TWELVE_CHARS", "Pump");
    addRungs(1, "", "five");
    const std::vector<std::string> want = {
        "T 200 200 10 B Melqo", "T 10700 200 10 - Page 1", "R 200 600 11800 600", "T 200 600 10 B Proj",
        "T 200 800 10 - Controller: JXV9787", "R 200 1160 11800 1160", "T 200 1160 8 B MAIN program",
        "R 200 1480 11800 1480",
        // Two arguments and two blank lines.
        "T 200 1480 8 B 1[START     ] ", "T 1700 1640 8 B Read Holding", "P 1700 1800" + pic,
        "T 3200 1800 8 - Cap0", "T 4700 1800 8 - V0", "T 3200 1960 8 - Cap1", "T 4700 1960 8 - V1",
        "T 200 2120 8 - ", "T 200 2280 8 - ",
        // No argument: four blank lines.
        "T 200 2440 8 B 2[TWELVE_CHARS] Pump", "T 1700 2600 8 B Read Holding", "P 1700 2760" + pic,
        "T 200 2760 8 - ", "T 200 2920 8 - ", "T 200 3080 8 - ", "T 200 3240 8 - ",
        // Five arguments: no blank line.
        "T 200 3400 8 B 3[          ] five", "T 1700 3560 8 B Read Holding", "P 1700 3720" + pic,
        "T 3200 3720 8 - Cap0", "T 4700 3720 8 - V0", "T 3200 3880 8 - Cap1", "T 4700 3880 8 - V1",
        "T 3200 4040 8 - Cap2", "T 4700 4040 8 - V2", "T 3200 4200 8 - Cap3", "T 4700 4200 8 - V3",
        "T 3200 4360 8 - Cap4", "T 4700 4360 8 - V4",
        // The legend heading follows at once.
        "R 200 4680 11800 4680", "T 200 4680 8 B Registers", "R 200 5000 11800 5000",
        "T 1700 5000 8 B Register", "T 3200 5000 8 B Label", "T 4700 5000 8 B Type", "T 1700 5160 8 B %R30",
        "T 3200 5160 8 B Temp", "T 4700 5160 8 B Float", "T 1700 5320 8 B %R960(*)", "T 3200 5320 8 B High",
        "T 4700 5320 8 B uInt", "T 1700 5480 8 B %R1280(*)", "T 3200 5480 8 B Last", "T 4700 5480 8 B uInt"};
    EXPECT_EQ(print({rowWith(2), rowWith(0), rowWith(5)}), want);
    // Printing leaves the placeholder description in the rung.
    EXPECT_EQ(project->Program.Sections[0].Rungs[1].Description, "<...>");
}

TEST_F(PrintLayout, PagesBreakBelowTheLimitUnderANewHeaderOnShortAndTallPaper) {
    addRungs(6);
    // H - 200 = 2800: the line that crosses it stays, the next starts on page 2.
    const std::vector<std::string> got = print(std::vector<RungRow>(6), 3000);
    EXPECT_EQ(pageCount, 4);
    auto brk = std::find(got.begin(), got.end(), "N");
    ASSERT_NE(brk, got.end());
    EXPECT_EQ(*(brk - 1), "T 200 2760 8 - "); // ends at 2920, below 2800
    const std::vector<std::string> header(brk + 1, brk + 4);
    EXPECT_EQ(header, (std::vector<std::string>{"T 200 200 10 B Melqo", "T 10700 200 10 - Page 2",
                                                "R 200 600 11800 600"}));
    // The size in force before the break (8) is restored after the header.
    EXPECT_EQ(*(brk + 4), "T 200 600 8 - ");
    // A page too short for its header still ends.
    const std::vector<std::string> tooShort = print(std::vector<RungRow>(6), 300);
    EXPECT_GT(std::count(tooShort.begin(), tooShort.end(), "N"), 0);

    model().NumRegisters = 60000; // beyond the register table: the legend stops at its end
    comm->Registers[RegisterCount - 1] = {"%R2048", "End", 0, 0, 0, 0};
    addRungs(194);
    print(std::vector<RungRow>(200), 40000);
    int lastY = 0, pages = 1;
    for (const PrintCommand& c : commands) {
        if (c.kind == PrintCommand::NewPage) {
            ++pages;
            lastY = 0;
            continue;
        }
        EXPECT_GE(c.y, lastY); // positions past 32767 twips do not wrap
        EXPECT_LE(c.y, 40000);
        lastY = c.y;
    }
    EXPECT_EQ(pages, pageCount);
    EXPECT_GT(pages, 1);
    EXPECT_EQ(commands.back().text, "uInt"); // the last register of the table was listed
}

TEST_F(PrintLayout, RowsComeFromTheEditorAndLeaveTheProjectUnchanged) {
    CaricaRisorse(*shell, 1); // the row captions are interface texts
    ProgramSection& s = project->Program.Sections[0];
    s.RungCount = 1;
    s.Rungs[1] = readHoldingRung();
    project->Program.CurrentSection = 2;
    const CommandRecord before = s.Rungs[1];
    const std::vector<RungRow> rows = printRows(ctx);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(std::tuple(rows[0].CaptionVisible[0], rows[0].ArgValues[0]), std::tuple(true, "1"));
    EXPECT_EQ(std::tuple(project->Program.CurrentSection, project->ProjectModified), std::tuple(2, 0));
    EXPECT_EQ(s.Rungs[1], before);
}
