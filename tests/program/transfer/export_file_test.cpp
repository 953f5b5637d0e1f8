// The export file: header, section layouts, side areas and its failure paths.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <QTemporaryDir>

#include "program/transfer/export_file.h"
#include "program/transfer/file_output.h"
#include "project/project_save.h"
#include "transfer_fixture.h"

namespace fs = std::filesystem;

namespace {

class ExportTest : public TransferFixture {
  protected:
    ExportTest() {
        fillProject(project, "Date;Time;Var0");
        project.Strings[4].Text = "Last";
        project.Blocks[9].Text = "Block nine";
        model().MaxBlocks = 12;
    }

    Bytes exportWith(bool header, bool areas, const ExportFormat& format = BuildExportFormat()) {
        std::string path = (dir / "out.mlq").string();
        dialogs.files.push_back(path);
        EXPECT_TRUE(EsportaFormat(app, {}, header, areas, format));
        std::string bytes;
        EXPECT_TRUE(ReadWholeFile(path, bytes));
        return Bytes(bytes.begin(), bytes.end());
    }

    static uint32_t u32(const Bytes& b, size_t at) {
        return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24;
    }

    QTemporaryDir tmp;
    fs::path dir = tmp.path().toStdString();
};

} // namespace

TEST_F(ExportTest, PitchOf32KeepsEachVariableWholeInItsSlot) {
    model().VariableRecordSize = 32;
    Bytes file = exportWith(false, true);
    Bytes var1{0x65, 0x00, 0x04, '%', '6', '.', '2', 'f', 0, 0, 'T', 'e', 'm', 'p'};
    var1.resize(32, 0);
    EXPECT_EQ(slice(file, 7712 - 512, 32), var1);
    EXPECT_EQ(slice(file, 7744 - 512, 32), Bytes(32, 0));
}

TEST_F(ExportTest, WithoutHeaderTheFirstByteIsAddress512AndWithoutAreasTheFileEndsAfterTheProgram) {
    Bytes file = exportWith(false, false);
    ASSERT_EQ(file.size(), 5634u);
    EXPECT_EQ(file, image(0, 5634));
    Bytes withHeader = exportWith(true, false);
    ASSERT_EQ(withHeader.size(), 256u + 5634u);
    EXPECT_EQ(slice(withHeader, 256, 5634), file);
    ExportFormat format;
    format.sections = &ExportLayoutA;
    EXPECT_NE(slice(exportWith(true, false, format), 126, 2), slice(withHeader, 126, 2)); // CRC of the bounds
}

TEST_F(ExportTest, LayoutAListsFivePairsTheLastTwoEmptyAndSkipsTheFirstSixteenBlocks) {
    model().MaxBlocks = 32;
    project.Blocks[16].Text = "Sixteen";
    ExportFormat format;
    format.sections = &ExportLayoutA;
    format.layoutA = true;
    format.magic = "ORVIK";
    format.firstTextBlock = 16;
    Bytes file = exportWith(true, true, format);
    EXPECT_EQ(slice(file, 0, 5), (Bytes{'O', 'R', 'V', 'I', 'K'}));
    const uint32_t pairs[5][2] = {{512, 7664}, {7679, 15871}, {53248, 61439}, {0, 0}, {0, 0}};
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(u32(file, 8 + 8 * i), pairs[i][0]);
        EXPECT_EQ(u32(file, 12 + 8 * i), pairs[i][1]);
    }
    ASSERT_EQ(file.size(), 256u + 61439 - 512 + 1);
    EXPECT_EQ(slice(file, 256 + 53248 - 512, 8), (Bytes{'S', 'i', 'x', 't', 'e', 'e', 'n', 0}));
    EXPECT_EQ(slice(file, 256 + 45056 + 512 - 512, 512), Bytes(512, 0)); // block 1: not exported here
    EXPECT_EQ(slice(file, 256 + 35840 - 512, 32), Bytes(32, 0));         // strings: a gap
}

// The whole file of the default layout, header and areas: the magic, the five address pairs least
// significant byte first, the header CRC, then program, variables (pitch 16), strings, CSV headers and
// text blocks each at its address up to the top of memory.
TEST_F(ExportTest, MatchesTheGoldenFile) {
    Bytes file = exportWith(true, true);
    const std::string path = std::string(MELQO_TEST_DATA) + "/golden/export_layout_b.mlq";
    if (std::getenv("MELQO_WRITE_GOLDEN")) WriteWholeFile(path, std::string(file.begin(), file.end()));
    std::string golden;
    ASSERT_TRUE(ReadWholeFile(path, golden));
    EXPECT_EQ(file, Bytes(golden.begin(), golden.end()));
}

TEST_F(ExportTest, StaleMemoryNeverReachesTheFile) {
    std::fill(project.MemoryImage.begin(), project.MemoryImage.end(), uint8_t{0xEE});
    project.Variables.Count = 0;
    Bytes file = exportWith(false, true);
    for (size_t a : {7679u, 7680u, 9727u, 35840u + 5 * 32, 39967u, 40448u + 512, 49152u + 1024})
        EXPECT_EQ(file[a - 512], 0) << "address " << a;
}

TEST_F(ExportTest, CancelledDialogWriteErrorCompileFailureOrOverlongCsvLineWriteNothing) {
    EXPECT_FALSE(EsportaFormat(app, {}, true, true, BuildExportFormat())); // cancelled: no further line
    EXPECT_EQ(transferLog(), (std::vector<std::string>{"Exporting ..."}));
    EXPECT_TRUE(project.CurrentFilePath.empty());
    // A folder that cannot take the file: one result with the reason, before the compile and the encoders.
    const std::string missing = (dir / "missing" / "out.mlq").string();
    dialogs.files.push_back(missing);
    EXPECT_FALSE(EsportaFormat(app, {}, true, true, BuildExportFormat()));
    const std::string told = "Export Failed: " + missing + ": No such file or directory";
    EXPECT_EQ(transferLog(), (std::vector<std::string>{"Exporting ...", "Exporting ...", told}));
    EXPECT_EQ(dialogs.shown, std::vector<std::string>{told});
    EXPECT_TRUE(fs::is_empty(dir));

    // A file that cannot be replaced keeps its old content.
    std::string kept = (dir / "kept.mlq").string();
    ASSERT_TRUE(WriteWholeFile(kept, "old"));
    fs::create_directory(kept + ".tmp~"); // the temporary cannot be created
    dialogs.files.push_back(kept);
    EXPECT_FALSE(EsportaFormat(app, {}, true, true, BuildExportFormat()));
    std::string content;
    ASSERT_TRUE(ReadWholeFile(kept, content));
    EXPECT_EQ(content, "old");

    project.Tasks.Tasks[1].CsvHeaderLine = std::string(512, 'x');
    std::string path = (dir / "csv.mlq").string();
    dialogs.files = {path, path};
    EXPECT_FALSE(EsportaFormat(app, {}, true, true, BuildExportFormat()));
    EXPECT_EQ(transferLog().back(), "Export Failed");
    project.Tasks.Tasks[1].CsvHeaderLine.clear();
    // A string or block that would lose its terminator, as a set saved by hand or by an older release holds.
    for (auto [text, why] : {std::pair{&project.Strings[4].Text, "String 4 is longer than 31 characters"},
                             {&project.Blocks[9].Text, "Text block 9 is longer than 511 characters"}}) {
        const std::string kept = *text;
        *text = std::string(model().BlockSize, 's');
        dialogs.files.push_back(path);
        EXPECT_FALSE(EsportaFormat(app, {}, true, true, BuildExportFormat()));
        EXPECT_EQ(transferLog().back(), "Export Failed");
        EXPECT_EQ(transferLog().end()[-2], why);
        *text = kept;
    }
    project.Program.Sections[0].RungCount = 0;
    EXPECT_FALSE(EsportaFormat(app, {}, true, true, BuildExportFormat()));
    EXPECT_EQ(shell.log.lines().back(), "Export Failed  ");
    EXPECT_FALSE(fs::exists(path));
}

// The export adds its extension to a name without it, and leaves the project's name and path alone: a
// Save afterwards writes the project's own set and never touches the export.
TEST_F(ExportTest, AddsTheExtensionAndSaveAfterwardsWritesTheProjectsOwnSet) {
    const std::string own = (dir / "plant.prj").string();
    dialogs.files.push_back(own);
    ASSERT_TRUE(SalvaProgetto(app, true));
    for (const char* name : {"out", "OUT.MLQ"}) {
        dialogs.files.push_back((dir / name).string());
        ASSERT_TRUE(EsportaFormat(app, {}, true, true, BuildExportFormat()));
    }
    // Success is told once per file written, never by the encoders before the file is there.
    EXPECT_EQ(std::ranges::count(transferLog(), "Export Successful"), 2);
    EXPECT_TRUE(fs::exists(dir / "out.mlq"));
    EXPECT_FALSE(fs::exists(dir / "OUT.MLQ.mlq"));
    EXPECT_EQ(std::tuple(project.CurrentFilePath, project.ProjectPath),
              std::tuple(own, (dir / "plant").string()));

    std::string exported, before;
    ASSERT_TRUE(ReadWholeFile((dir / "out.mlq").string(), exported));
    project.Program.Sections[0].Rungs[1].Description = "changed";
    project.ProjectModified = -1;
    ASSERT_TRUE(SalvaProgetto(app, false));
    std::string saved, after;
    ASSERT_TRUE(ReadWholeFile(own, saved));
    EXPECT_NE(saved.find("changed"), std::string::npos);
    ASSERT_TRUE(ReadWholeFile((dir / "out.mlq").string(), after));
    EXPECT_EQ(after, exported);
    EXPECT_FALSE(fs::exists(dir / "out.mlq.prj"));
    EXPECT_EQ(project.ProjectModified, 0);
}
