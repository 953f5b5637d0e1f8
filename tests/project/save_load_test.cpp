// Saving and loading whole projects through files in a temporary folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>

#include <sys/stat.h>
#include <unistd.h>

#include "comm/register_map.h"
#include "core/durable_file.h"
#include "core/language.h"
#include "core/save_leftovers.h"
#include "designers/display_designer.h"
#include "designers/image_table.h"
#include "designers/scheduler_designer.h"
#include "fbeditor/editor.h"
#include "program/compiler.h"
#include "program/display_compiler.h"
#include "program/scheduler_compiler.h"
#include "project/cut_off_save.h"
#include "project/file_io.h"
#include "project/project_files.h"
#include "project/project_load.h"
#include "project/project_path.h"
#include "project/project_save.h"
#include "project/project_texts.h"
#include "project_fixture.h"

namespace {

// A project that fills every file of the set, every stored field with its own value. Pages, tasks and
// images are filled through their designers (editDesigners).
void fillProject(Project& p, CommState& comm, const ModelRecord& m) {
    ProgramSection& main = p.Program.Sections[0];
    main.RungCount = 40;
    for (int r = 1; r <= main.RungCount; ++r) {
        CommandRecord& c = main.Rungs[static_cast<size_t>(r)];
        c = {};
        c.Description = " Rung " + std::to_string(r) + ", caf\xE9 \xE0"; // whole lines: blanks and commas
        c.Label = r % 5 == 0 ? "L" + std::to_string(r) : "";
        c.FunctionType = static_cast<uint16_t>(r % 16);
        c.SubOp = uint8_t(r * 7);
        c.Opcode = static_cast<uint16_t>(r % 3 == 0 ? 128 + r % 20 : r % 8);
        for (int k = 0; k < 8; ++k) {
            c.ArgTexts[static_cast<size_t>(k)] =
                k % 2 ? "%R" + std::to_string(45 + k) : std::to_string(r * k);
            c.ArgBytes[static_cast<size_t>(k)] = {uint8_t(r), uint8_t(k), 255, 0};
        }
        c.TriggerFlag = r % 2 ? -1 : 0;
        c.TriggerRegister = static_cast<uint16_t>(r + 100);
        c.TriggerMask = static_cast<uint16_t>(r % 4 ? 1 << (r % 16) : 65535);
    }
    p.Tables.Count = 3;
    for (int t = 0; t < 3; ++t) {
        LookupTable& lt = p.Tables.Tables[static_cast<size_t>(t)];
        lt = {"T" + std::to_string(t), uint8_t(2 + t * 12), {}, {}, 0, 0};
        for (int i = 0; i < lt.PointCount; ++i) {
            lt.Inputs[static_cast<size_t>(i)] = i * 0.5 - 3;
            lt.Outputs[static_cast<size_t>(i)] = i * i / 7.0;
        }
    }
    // Values whose shortest text has an exponent are still written in the print form.
    p.Tables.Tables[1].Inputs[13] = 100000;
    p.Tables.Tables[1].Outputs[13] = 1e15;
    p.Tables.Tables[2].Outputs[25] = -0.00015;
    p.Variables.Count = 19;
    for (int i = 0; i < 19; ++i) {
        VariableRecord& v = p.Variables.Variables[static_cast<size_t>(i)];
        v = {45 + i, uint8_t(i), "%+5." + std::to_string(i % 10) + "f",     "V" + std::to_string(i), 0, 0,
             0,      0,          i % 2 ? "Column " + std::to_string(i) : ""};
        if (i >= 13 && i <= 15) { // string variables keep their alternate fields in the format's place
            v.AltRegister = 300 + i;
            v.TriggerRegister = i - 20;
            v.Mask = 1;
            v.Swap = 1;
        }
    }
    for (int i = 0; i < m.MaxStrings; ++i)
        p.Strings[static_cast<size_t>(i)].Text = i % 3 ? "S" + std::to_string(i) + ", \xC0" : "";
    for (int i = 0; i < m.MaxBlocks; ++i)
        p.Blocks[static_cast<size_t>(i)] = {i % 2 ? "Line one\r\n  indented, with comma\r\n" : "",
                                            "Block " + std::to_string(i)};
    p.Watch = {3, 30, 31, -2};
    for (int r = m.FirstUserRegister; r <= m.NumRegisters; ++r) {
        comm.Registers[static_cast<size_t>(r)].Name = r % 4 ? "R" + std::to_string(r) : "";
        comm.Registers[static_cast<size_t>(r)].ValueType = uint8_t(r % 19);
    }
}

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
            bool date = SchedulerDesigner::fields()[f].group == TaskFieldGroup::DateTime; // days from 1
            std::string value =
                text ? "LOG" + std::to_string(t) : std::to_string((t * 7 + int(f)) % 2 + date);
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

std::vector<std::string> setNames(const std::string& base) {
    std::vector<std::string> names{base + ".prj"};
    for (auto ext : SideFileExtensions)
        names.push_back(base + std::string(ext));
    return names;
}

} // namespace

class SaveLoad : public ProjectFixture {
  protected:
    std::vector<std::pair<int16_t, int16_t>> rebuilt;
    int allocations = 0;
    ProjectLoadHooks hooks{
        [this](AppContext& c, int16_t section, int16_t rung) {
            rebuilt.emplace_back(section, rung);
            return c.project.Program.Sections[0].Rungs[static_cast<size_t>(rung)].EncodedFlag == -1;
        },
        [this](LookupTableArray&) { ++allocations; }};

    void saveFilled(const std::string& name) {
        MappaRegistri(ctx, true); // as start-up names the model's registers before any project
        fillProject(*project, *comm, model());
        dialogs.files.push_back(path(name));
        ASSERT_TRUE(SalvaProgetto(ctx, true));
    }
    // Loads into fresh data, as a new run of the program would.
    bool loadFresh(const std::string& name) {
        *project = Project{};
        *comm = CommState{};
        dialogs.files.push_back(path(name));
        return CaricaProgetto(ctx, hooks);
    }
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
    bool logged(const std::string& start) const {
        const auto& log = shell->log.lines();
        return std::any_of(log.begin(), log.end(),
                           [&](const std::string& l) { return l.starts_with(start); });
    }
};

// Every stored field has its own value, so a field the load loses or misplaces changes the second save.
TEST_F(SaveLoad, LoadedAndSavedAgainTheSetIsIdenticalByteForByte) {
    saveFilled("a.prj");
    EXPECT_EQ(project->ProjectPath, path("a"));
    EXPECT_EQ(pump.calls, 0); // nothing else runs while the files are written

    ASSERT_TRUE(loadFresh("a.prj"));
    EXPECT_TRUE(dialogs.shown.empty()) << dialogs.shown.front();
    EXPECT_EQ(rebuilt.back(), (std::pair<int16_t, int16_t>{0, 40}));
    EXPECT_EQ(std::tuple(rebuilt.size(), allocations, project->Program.CurrentRung), std::tuple(40u, 1, 40));

    dialogs.files.push_back(path("b.prj"));
    ASSERT_TRUE(SalvaProgetto(ctx, true));
    auto a = setNames(path("a")), b = setNames(path("b"));
    for (size_t i = 0; i < a.size(); ++i)
        EXPECT_EQ(slurp(a[i]), slurp(b[i])) << a[i];
    EXPECT_NE(slurp(path("a.prj")).find(", caf\xE9 \xE0"), std::string::npos);
    for (const char* form : {"\r\n 100000\r\n", "\r\n 1E+15\r\n", "\r\n-.00015\r\n"})
        EXPECT_NE(slurp(path("a.ptb")).find(form), std::string::npos) << form;
}

TEST_F(SaveLoad, NamesAndCancelledDialogs) {
    project->ProjectModified = -1;
    EXPECT_FALSE(SalvaProgetto(ctx, false)); // no name yet: the dialog asks, and is cancelled
    EXPECT_EQ(std::tuple(project->ProjectModified, project->ProjectPath), std::tuple(-1, "Project"));

    dialogs.files.push_back(path("plant"));
    ASSERT_TRUE(SalvaProgetto(ctx, false));
    EXPECT_EQ(std::tuple(project->ProjectModified, project->ProjectPath), std::tuple(0, path("plant")));

    project->ProjectModified = -1;
    EXPECT_FALSE(CaricaProgetto(ctx, hooks)); // the Open dialog is cancelled
    EXPECT_EQ(std::tuple(project->ProjectModified, project->ProjectPath), std::tuple(-1, path("plant")));
}

TEST_F(SaveLoad, FailedSaveNamesTheFileAndChangesNoFileOfTheSet) {
    saveFilled("plant.prj");
    std::string before = slurp(path("plant.prj"));
    std::filesystem::remove(path("plant.skd"));
    std::filesystem::create_directory(path("plant.skd")); // cannot be replaced by a file
    project->Program.Sections[0].RungCount = 1;
    project->ProjectModified = -1;
    EXPECT_FALSE(SalvaProgetto(ctx, false));
    EXPECT_EQ(dialogs.shown, std::vector<std::string>{"The project could not be saved: cannot write " +
                                                      path("plant.skd") + ": Is a directory"});
    EXPECT_EQ(project->ProjectModified, -1);
    EXPECT_EQ(slurp(path("plant.prj")), before);
    for (const auto& e : std::filesystem::directory_iterator(dir))
        EXPECT_EQ(e.path().string().find(".tmp~"), std::string::npos) << e.path();
    dialogs.files.push_back(path("missing/other.prj")); // a Save As that fails keeps the project's name
    EXPECT_FALSE(SalvaProgetto(ctx, true));
    EXPECT_EQ(std::tuple(project->ProjectPath, project->CurrentFilePath),
              std::tuple(path("plant"), path("plant.prj")));
}

namespace {

// The program killed at a call of one kind ("": any) that changes the disk, counted from 0, or, with
// refuse, that one removal refused and the program going on; links refused, as on FAT. The files it had
// open close with it.
struct KillingFileSystem : FileSystem {
    KillingFileSystem(std::string kind, int killAt, bool noLinks)
        : kind(std::move(kind)), killAt(killAt), noLinks(noLinks) {}
    ~KillingFileSystem() override {
        for (const int fd : open)
            ::close(fd);
    }
    struct Killed {};
    bool step(const std::string& call) {
        if ((!kind.empty() && kind != call) || killAt-- != 0) return true;
        if (!refuse) throw Killed{};
        errno = EPERM;
        return false;
    }
    int create(const std::string& path, const std::string& modeOf) override {
        step("create");
        const int fd = FileSystem::create(path, modeOf);
        open.insert(fd);
        return fd;
    }
    bool writeAll(int fd, std::string_view bytes) override {
        return step("write"), FileSystem::writeAll(fd, bytes);
    }
    // A kill cannot tell whether the disk was flushed: the flushes are counted, not made, to keep it quick.
    bool syncFile(int) override { return step("sync"), true; }
    bool closeFile(int fd) override { return step("close"), open.erase(fd), FileSystem::closeFile(fd); }
    bool rename(const std::string& from, const std::string& to) override {
        return step("rename"), FileSystem::rename(from, to);
    }
    bool link(const std::string& from, const std::string& to) override {
        step("link");
        errno = EPERM;
        return !noLinks && FileSystem::link(from, to);
    }
    bool syncFolder(const std::string&) override { return step("syncFolder"), true; }
    bool remove(const std::string& path) override { return step("remove") && FileSystem::remove(path); }

    std::string kind;
    int killAt;
    bool noLinks;
    bool refuse = false;
    std::set<int> open;
};

// The files a message names as kept beside the set (lists of names), and the journal.
std::set<std::string> namedKept(const CutOffSaveKept& kept) {
    std::set<std::string> names;
    for (const std::string& list : {kept.keptCopies, kept.newCopies, kept.changedCopies, kept.journal}) {
        std::istringstream in(list);
        for (std::string name; std::getline(in >> std::ws, name, ',');)
            names.insert(name);
    }
    return names;
}

} // namespace

// A save killed half way through renaming its files: the next open finishes it, says so, and loads the
// new set whole (the changed first and last files both), never a mix of the two saves. Where the user
// edited a file after the kill, the open touches none of the files and names the edited one; a save then
// stops after the same message. Both leave the files, the copies it names and the journal with them. Once
// the user has removed every copy it names but one changed since, the Save stops naming that one; once
// none is left, the Save saves.
// Killed at any step before its journal (with links and without), the save leaves nothing that may be the
// only copy of a file: the open says the files in place are the project as last saved whole and removes
// what that save left, and the saves after it succeed.
TEST_F(SaveLoad, ASetWhoseSaveWasCutOffIsMadeWholeAndTheUserToldBeforeItIsOpened) {
    const CutOffSaveKept blkEdited = {"h.prj.old~", "h.blk.tmp~", "", "h.prj.saving~"};
    const struct {
        const char* kind;
        int killAt; // -1: at every step until the journal is there
        bool noLinks;
        const char* edited = ""; // changed by the user after the kill
        bool saved = false;      // a Save, not an Open, meets the set
        CutOffSaveKept kept = {};
        bool cleared = false; // then the user removes what the message names as kept but changed copies
    } rows[] = {
        {"rename", 3, false}, // the journal, .prj and .lst are renamed; .wtc is not
        {"rename", 3, false, "h.blk", false, blkEdited},
        {"rename", 3, false, "h.blk", true, blkEdited},
        {"rename", 3, false, "h.blk", false, blkEdited, true},
        // Killed before the .prj's rename.
        {"rename",
         1,
         false,
         "h.wtc.tmp~",
         false,
         {"", "h.prj.tmp~, h.blk.tmp~", "h.wtc.tmp~", "h.prj.saving~"},
         true},
        {"", -1, false},
        {"", -1, true},
    };
    auto besideTheFiles = [&] {
        std::set<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(dir))
            if (e.path().string().ends_with('~')) names.insert(e.path().filename().string());
        return names;
    };
    FileContents setA;
    for (const auto& row : rows)
        for (int kill = std::max(row.killAt, 0);; ++kill) {
            SCOPED_TRACE(::testing::Message()
                         << row.kind << " " << kill << (row.noLinks ? " copies" : " links") << " "
                         << row.edited << (row.saved ? " saved" : "") << (row.cleared ? " cleared" : ""));
            // The project saved (only once: each save flushes every file to the disk), then put back as
            // saved.
            if (setA.empty()) {
                saveSmallProject();
                for (const std::string& name : projectFileNames(path("h")))
                    setA.emplace_back(name, slurp(name));
            }
            std::filesystem::remove_all(dir);
            std::filesystem::create_directories(dir);
            for (const auto& [name, bytes] : setA)
                spit(name, bytes);
            FileContents next = setA;
            next.front().second.replace(next.front().second.find("one"), 3, "two");
            std::string& blk = next[8].second;
            const std::string userBlk =
                std::string(blk).replace(blk.find("\r\na\r\nb\r\n"), 8, "\r\nq\r\nb\r\n");
            blk.replace(blk.find("\r\na\r\nb\r\n"), 8, "\r\nz\r\nb\r\n");
            KillingFileSystem disk(row.kind, kill, row.noLinks);
            EXPECT_THROW(SaveFilesDurably(next, disk), KillingFileSystem::Killed);
            if (*row.edited) std::ofstream(path(row.edited), std::ios::binary) << userBlk;
            const bool journaled = FileExists(path("h.prj.saving~"));
            const bool leftovers = !besideTheFiles().empty();
            dialogs.shown.clear();
            if (row.killAt < 0 && journaled) break; // every step before the journal was a kill point
            if (row.killAt < 0) {
                ASSERT_TRUE(loadFresh("h.prj"));
                EXPECT_EQ(dialogs.shown, leftovers ? std::vector<std::string>{unfinishedSaveRemovedText(
                                                         {.mainFile = path("h.prj"), .nonePlaced = true})}
                                                   : std::vector<std::string>{});
                EXPECT_EQ(project->Program.Sections[0].Rungs[1].Description, "one");
                for (const auto& [name, bytes] : setA)
                    EXPECT_EQ(slurp(name), bytes) << name;
                // The save redone: whole, and again.
                project->Program.Sections[0].Rungs[1].Description = "two";
                project->Blocks[0].Text = "z\r\nb";
                for (const int save : {1, 2}) {
                    ASSERT_TRUE(SalvaProgetto(ctx, false)) << save;
                    if (kill % 4) break; // the files are as after the first: each save flushes them all
                }
                EXPECT_EQ(std::pair(slurp(path("h.prj")), slurp(path("h.blk"))),
                          std::pair(next.front().second, blk));
                EXPECT_EQ(dialogs.shown.size(), leftovers ? 1u : 0u);
                for (const auto& e : std::filesystem::directory_iterator(dir))
                    EXPECT_FALSE(e.path().string().ends_with('~')) << e.path();
                continue;
            }
            if (row.saved)
                ASSERT_FALSE(SalvaProgetto(ctx, false));
            else
                ASSERT_TRUE(loadFresh("h.prj"));
            const bool placed = row.killAt > 1, blkEdited = row.edited == std::string("h.blk");
            EXPECT_EQ(dialogs.shown,
                      std::vector<std::string>{
                          *row.edited
                              ? cutOffSaveLeftText(path("h.prj"), row.edited, row.kept,
                                                   row.saved ? FoundAt::StoppedSave : FoundAt::Open, "")
                              : cutOffSaveText(path("h.prj"), true, "")});
            EXPECT_EQ(slurp(path("h.blk")), blkEdited ? userBlk : placed ? blk : setA[8].second);
            if (!row.saved) {
                EXPECT_EQ(project->Program.Sections[0].Rungs[1].Description, placed ? "two" : "one");
                EXPECT_EQ(project->Blocks[0].Text, blkEdited ? "q\r\nb" : placed ? "z\r\nb" : "a\r\nb");
            }
            // Kept: what the files held before that save, what it was writing and what was changed after
            // it, where no file in place holds it, and the journal with them.
            EXPECT_EQ(besideTheFiles(), namedKept(row.kept));
            if (!row.cleared) break;
            // The user removes the earlier contents and what that save was writing, and saves: while a
            // changed copy stays, the Save stops, naming it with the journal; once none is left, it saves.
            const CutOffSaveKept stays = {"", "", row.kept.changedCopies, row.kept.journal};
            for (const std::string& name : namedKept(row.kept))
                if (!namedKept(stays).contains(name)) std::filesystem::remove(path(name));
            dialogs.shown.clear();
            const bool changedStays = !stays.changedCopies.empty();
            EXPECT_EQ(SalvaProgetto(ctx, false), !changedStays);
            EXPECT_EQ(dialogs.shown, std::vector<std::string>{cutOffSaveLeftText(
                                         path("h.prj"), row.edited, changedStays ? stays : CutOffSaveKept{},
                                         changedStays ? FoundAt::StoppedSave : FoundAt::Save, "")});
            EXPECT_EQ(besideTheFiles(), changedStays ? namedKept(stays) : std::set<std::string>{});
            break;
        }
}

// An earlier version's save, cut off where links fail, left every old file only as its kept copy and the
// new ones as temporary files, with no journal. The Open names them; a Save refuses, twice, removing none.
TEST_F(SaveLoad, FilesASaveLeftWithoutAJournalAreNamedAtOpenAndNeverSavedOver) {
    saveSmallProject();
    std::string names, missing;
    for (const std::string& file : projectFileNames(path("h"))) {
        std::filesystem::rename(file, file + ".old~");
        spit(file + ".tmp~", "newer");
        const std::string leaf = std::filesystem::path(file).filename().string();
        names += (names.empty() ? "" : ", ") + leaf + ".old~, " + leaf + ".tmp~";
        missing += (missing.empty() ? "" : ", ") + leaf;
    }
    ASSERT_TRUE(loadFresh("h.prj"));
    EXPECT_EQ(dialogs.shown.front(),
              strayLeftoversText(path("h.prj"), names, earlierSetInPlaceText(missing, true), false, false));
    for (const int save : {1, 2}) {
        dialogs.shown.clear();
        EXPECT_FALSE(SalvaProgetto(ctx, false)) << save;
        EXPECT_EQ(dialogs.shown,
                  std::vector<std::string>{strayLeftoversText(
                      path("h.prj"), names, earlierSetInPlaceText(missing, true), true, false)});
    }
    for (const std::string& file : projectFileNames(path("h")))
        EXPECT_TRUE(FileExists(file + ".old~") && slurp(file + ".tmp~") == "newer" && !FileExists(file))
            << file;
    // A save that placed its files but could not remove a kept copy: the Open names it, and cannot tell
    // from it which set is in place.
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    saveSmallProject();
    spit(path("h.blk.old~"), "older");
    ASSERT_TRUE(loadFresh("h.prj"));
    EXPECT_EQ(dialogs.shown.back(),
              strayLeftoversText(path("h.prj"), "h.blk.old~", unknownSetInPlaceText(""), false, true));
    EXPECT_EQ(dialogs.shown.back().find("cut off"), std::string::npos);
    // A first save cut off before its journal: its files, all there is of the project, stay and are named.
    std::string temporaries;
    for (const std::string& file : projectFileNames(path("h"))) {
        std::filesystem::rename(file, file + ".tmp~");
        temporaries +=
            (temporaries.empty() ? "" : ", ") + std::filesystem::path(file).filename().string() + ".tmp~";
    }
    std::filesystem::remove(path("h.blk.old~"));
    dialogs.shown.clear();
    EXPECT_FALSE(SalvaProgetto(ctx, false));
    EXPECT_EQ(dialogs.shown, std::vector<std::string>{strayLeftoversText(
                                 path("h.prj"), temporaries, noSetInPlaceText("h.prj"), true, false)});
    EXPECT_EQ(dialogs.shown.front().find("the files in place as one set"), std::string::npos);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 10);
    // Only the main file moved aside: the box names it as one file.
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    saveSmallProject();
    for (const std::string& file : projectFileNames(path("h")))
        spit(file + ".tmp~", "newer");
    std::filesystem::rename(path("h.prj"), path("h.prj.old~"));
    dialogs.shown.clear();
    EXPECT_FALSE(SalvaProgetto(ctx, false));
    EXPECT_NE(
        dialogs.shown.front().find("but for h.prj, which is not in place: to keep it, rename the \".old~\" "
                                   "file of each to its name"),
        std::string::npos);
}

// This version's save cut off before its journal, two of whose temporary files cannot be removed (folders
// stand in their place): the Open names them and the main file's temporary file, which all stay; a Save
// stops, saying so, and the one after the folders are gone saves and leaves nothing beside the files.
TEST_F(SaveLoad, ARemovalRefusedAfterACutOffSaveStopsTheSaveUntilItCanBeMade) {
    saveSmallProject();
    const std::string before = slurp(path("h.lst"));
    spit(path("h.prj.tmp~"), "newer");
    for (const char* folder : {"h.lst.tmp~/inside", "h.wtc.tmp~/inside"})
        std::filesystem::create_directories(path(folder));
    const std::string refused = unfinishedSaveRemovedText(
        {path("h.prj"), true, "h.wtc.tmp~", std::strerror(EISDIR), "h.lst.tmp~", "h.prj.tmp~"});
    ASSERT_TRUE(loadFresh("h.prj"));
    EXPECT_EQ(dialogs.shown, std::vector<std::string>{refused});
    EXPECT_NE(refused.find("except h.wtc.tmp~ (Is a directory), h.lst.tmp~ and h.prj.tmp~"),
              std::string::npos);
    dialogs.shown.clear();
    EXPECT_FALSE(SalvaProgetto(ctx, false));
    EXPECT_EQ(dialogs.shown, std::vector<std::string>{NotSavedText + refused});
    EXPECT_TRUE(FileExists(path("h.prj.tmp~")) && slurp(path("h.lst")) == before);
    for (const char* folder : {"h.lst.tmp~", "h.wtc.tmp~"})
        std::filesystem::remove_all(path(folder));
    dialogs.shown.clear();
    EXPECT_TRUE(SalvaProgetto(ctx, false));
    EXPECT_TRUE(dialogs.shown.empty());
    for (const auto& e : std::filesystem::directory_iterator(dir))
        EXPECT_FALSE(e.path().string().ends_with('~')) << e.path();
}

namespace {

// One step an earlier version's save took on the disk: a file written (to bytes), renamed (while a journal
// names the set, or not), linked or removed.
struct DiskStep {
    enum Kind { Write, Rename, Link, Remove, JournaledRename } kind;
    std::string from, to, bytes = {};
};

// The steps of an earlier version's save of next over the files of old (names to bytes): 1 kept no old
// files; 2 kept them by a link, or moved them aside where links fail, and removed the kept copies once
// every file was placed; 4 linked or copied them, wrote a journal before placing the files and removed it
// before the kept copies.
std::vector<DiskStep> earlierSave(int version, const std::map<std::string, std::string>& old,
                                  const FileContents& next, bool noLinks) {
    std::vector<DiskStep> steps;
    for (const auto& [name, bytes] : next)
        steps.insert(steps.end(),
                     {{DiskStep::Write, "", name + ".tmp~"}, {DiskStep::Write, "", name + ".tmp~", bytes}});
    for (const auto& [name, bytes] : next) {
        if (version == 1 || !old.contains(name)) continue;
        if (!noLinks)
            steps.push_back({DiskStep::Link, name, name + ".old~"});
        else if (version == 2)
            steps.push_back({DiskStep::Rename, name, name + ".old~"});
        else
            steps.insert(steps.end(), {{DiskStep::Write, "", name + ".old~"},
                                       {DiskStep::Write, "", name + ".old~", old.at(name)}});
    }
    for (const auto& [name, bytes] : next)
        steps.push_back({version == 4 ? DiskStep::JournaledRename : DiskStep::Rename, name + ".tmp~", name});
    for (const auto& [name, bytes] : next)
        if (version > 1 && old.contains(name)) steps.push_back({DiskStep::Remove, "", name + ".old~"});
    return steps;
}

void take(const DiskStep& step) {
    if (step.kind == DiskStep::Write)
        std::ofstream(step.to, std::ios::binary | std::ios::trunc) << step.bytes;
    if (step.kind == DiskStep::Rename || step.kind == DiskStep::JournaledRename)
        std::filesystem::rename(step.from, step.to);
    if (step.kind == DiskStep::Link) std::filesystem::create_hard_link(step.from, step.to);
    if (step.kind == DiskStep::Remove) std::filesystem::remove(step.to);
}

} // namespace

// What each earlier version's save left, killed at every step (with links and where they fail, over a set
// with and without .img, with a file changed by hand after the kill and the main file's kept copy removed
// where it is not in place, or every file restored from a backup, and the Open killed, or refused, at each
// of its removals): the Open removes nothing that may be the only copy of a file (each set that could be
// made whole from the files still can), names a set only where the files hold it (a mix only where either
// set can be made from the files as it says, what that save was writing only where the ".tmp~" files make
// it whole), and the Save after it succeeds unless a file may be the only copy, also after a refusal.
TEST_F(SaveLoad, EveryEarlierVersionsCutOffSaveKeepsEveryOnlyCopyAndNamesNoMixAWholeSet) {
    saveSmallProject();
    std::map<std::string, std::string> setA;
    for (const std::string& name : projectFileNames(path("h")))
        setA[name] = slurp(name);
    const std::string edited = path("h.fmt");
    using Folder = std::map<std::string, std::string>;
    auto folder = [&] {
        Folder all;
        for (const auto& e : std::filesystem::directory_iterator(dir))
            all[e.path().string()] = slurp(e.path().string());
        return all;
    };
    // The set as made from the files: each file's kept copy (or temporary file) where there is one, or only
    // where the file is missing.
    auto made = [&](const Folder& files, const std::string& beside, bool onlyMissing = false) {
        Folder set;
        for (const std::string& name : projectFileNames(path("h"))) {
            const bool there = files.contains(name),
                       taken = files.contains(name + beside) && !(onlyMissing && there);
            if (name != edited && (taken || there)) set[name] = files.at(taken ? name + beside : name);
        }
        return set;
    };
    auto without = [&](Folder set) { return set.erase(edited), set; };
    std::map<std::string, int> counts;
    for (const int version : {1, 2, 4})
        for (const size_t same : {0, 3}) // files at the front the later save left as they were
            for (const bool noLinks : {false, true})
                for (const bool withImage : {true, false})
                    for (const int byHand : {0, 1, 2}) { // 1: a file edited; 2: every file restored
                        const bool edit = byHand == 1;
                        if (byHand && same) continue;
                        FileContents setB;
                        for (const auto& name : projectFileNames(path("h")))
                            setB.emplace_back(name, setA[name] + (setB.size() < same ? "" : "later\r\n"));
                        Folder earlier = setA;
                        if (!withImage) earlier.erase(path("h.img"));
                        FileContents later = setB;
                        if (version == 1) later.pop_back(); // the earliest versions wrote no .img
                        const std::vector<DiskStep> steps = earlierSave(version, earlier, later, noLinks);
                        Folder setBefore = without(earlier), setAfter;
                        for (const auto& [name, bytes] : later)
                            if (name != edited) setAfter[name] = bytes;
                        if (version == 1 && withImage) setAfter[path("h.img")] = setA[path("h.img")];
                        for (size_t kill = 0; kill <= steps.size(); ++kill) {
                            if (kill > 0 && steps[kill - 1].kind == DiskStep::JournaledRename)
                                continue; // settled by its journal
                            bool namedFirst = false;
                            for (const bool refuse : {false, true})
                                for (int openKill = 0;; ++openKill) {
                                    SCOPED_TRACE(::testing::Message()
                                                 << "version " << version << (noLinks ? " copies" : " links")
                                                 << (withImage ? "" : " no .img") << " by hand " << byHand
                                                 << " killed at " << kill << ", its Open "
                                                 << (refuse ? "refused" : "killed") << " at " << openKill);
                                    const bool first = openKill == 0 && !refuse;
                                    // Each Open killed or refused at each removal: over one set of each
                                    // version, which is enough.
                                    if (refuse && (byHand || !withImage || same)) break;
                                    std::filesystem::remove_all(dir);
                                    std::filesystem::create_directories(dir);
                                    for (const auto& [name, bytes] : earlier)
                                        spit(name, bytes);
                                    bool placed = false;
                                    for (size_t i = 0; i < kill; ++i) {
                                        take(steps[i]);
                                        placed |= steps[i].to == later.front().first;
                                    }
                                    if (edit && FileExists(edited)) {
                                        std::filesystem::remove(edited);
                                        spit(edited, "the user's");
                                    }
                                    if (edit && !FileExists(path("h.prj")))
                                        std::filesystem::remove(path("h.prj.old~"));
                                    if (byHand == 2)
                                        for (const auto& [name, bytes] : earlier)
                                            spit(name, bytes);
                                    const Folder killed = folder();
                                    // Each set that can be made whole from the files now.
                                    const bool inPlaceEarlier = made(killed, ".old~", true) == setBefore,
                                               earlierWhole =
                                                   inPlaceEarlier || made(killed, ".old~") == setBefore,
                                               laterWhole = placed && made(killed, ".tmp~") == setAfter;
                                    const SaveLeftovers left = FindLeftovers(projectFileNames(path("h")));
                                    KillingFileSystem disk(refuse ? "remove" : "", openKill, false);
                                    disk.refuse = refuse;
                                    try {
                                        RemoveUnfinishedSave(left, disk);
                                    } catch (const KillingFileSystem::Killed&) {
                                    }
                                    const bool openCut = disk.killAt < 0;
                                    dialogs.shown.clear();
                                    ASSERT_TRUE(SettleProjectSet(ctx, path("h"), false));
                                    const Folder opened = folder();
                                    const std::string box = dialogs.shown.empty() ? "" : dialogs.shown.back();
                                    EXPECT_EQ(made(opened, ".old~", true) == setBefore ||
                                                  made(opened, ".old~") == setBefore,
                                              earlierWhole);
                                    EXPECT_EQ(placed && made(opened, ".tmp~") == setAfter, laterWhole);
                                    if (edit && killed.contains(edited)) {
                                        EXPECT_EQ(opened.at(edited), "the user's");
                                    }
                                    Folder inPlace = without(opened);
                                    std::erase_if(inPlace,
                                                  [](const auto& file) { return file.first.ends_with('~'); });
                                    const bool named = box.find("Beside ") == 0;
                                    const auto says = [&](const char* text) {
                                        return box.find(text) != std::string::npos;
                                    };
                                    if (says("last saved whole")) {
                                        counts["removed"] += first;
                                        EXPECT_TRUE(inPlace == setBefore || inPlace == setAfter);
                                    }
                                    if (named && says("in place are the project as it was saved before")) {
                                        counts["earlier set named"] += first;
                                        EXPECT_TRUE(inPlaceEarlier);
                                    }
                                    if (named && says("to keep what that save was writing instead")) {
                                        EXPECT_EQ(made(opened, ".tmp~"), setAfter);
                                    }
                                    if (named && says("in place are a mix")) {
                                        counts["mix named"] += first;
                                        EXPECT_TRUE(earlierWhole && laterWhole);
                                    }
                                    counts["cannot tell"] += first && named && says("in place may be a mix");
                                    counts["no set in place"] +=
                                        first && named && says("no set of the project");
                                    counts["named"] += named && first;
                                    ++counts[first    ? "kill points"
                                             : refuse ? "Opens refused"
                                                      : "Opens killed"];
                                    // An Open killed or refused half way and redone leaves the files as one
                                    // never cut (the first, killed before its first removal).
                                    if (first) namedFirst = named;
                                    EXPECT_EQ(named, namedFirst);
                                    // An Open that names nothing leaves nothing in the way of a Save. The
                                    // Save: refused, touching nothing, beside what may be the only copy of
                                    // a file.
                                    for (const auto& [name, bytes] : opened)
                                        EXPECT_TRUE(named || !name.ends_with('~')) << name;
                                    // A second Open of what the first named removes nothing and names it
                                    // again.
                                    if (first && named) {
                                        dialogs.shown.clear();
                                        ASSERT_TRUE(SettleProjectSet(ctx, path("h"), false));
                                        EXPECT_EQ(std::pair(folder(), dialogs.shown),
                                                  std::pair(opened, std::vector<std::string>{box}));
                                    }
                                    if (first && byHand < 2) {
                                        dialogs.shown.clear();
                                        EXPECT_EQ(SalvaProgetto(ctx, false), !named);
                                        if (named) {
                                            EXPECT_EQ(folder(), opened);
                                        }
                                        for (const auto& [name, bytes] : folder())
                                            EXPECT_TRUE(named || !name.ends_with('~')) << name;
                                    }
                                    if (!openCut || byHand || !withImage || same) break;
                                }
                        }
                    }
    std::cout << "earlier versions' cut-off saves:";
    for (const auto& [what, count] : counts)
        std::cout << " " << what << " " << count << ";";
    std::cout << "\n";
}

// A named pipe or a link to an endless device named like a file of the set is refused at once, unread.
TEST_F(SaveLoad, APipeOrADeviceInThePlaceOfAFileIsRefusedWithoutBeingRead) {
    saveSmallProject();
    std::filesystem::remove(path("h.wtc"));
    ASSERT_EQ(::mkfifo(path("h.wtc").c_str(), 0600), 0);
    std::filesystem::remove(path("h.str"));
    std::filesystem::create_symlink("/dev/zero", path("h.str"));
    ASSERT_TRUE(loadFresh("h.prj"));
    EXPECT_TRUE(logged(".wtc: not a regular file, not read"));
    EXPECT_TRUE(logged(".str: not a regular file, not read"));
    EXPECT_EQ(project->DamagedFiles, ".str, .wtc");
}

TEST_F(SaveLoad, MainProgramIsSavedWhateverSectionIsShownAndSubroutinesAreNamed) {
    ProgramStore& prog = project->Program;
    prog.Sections[0].RungCount = 1;
    prog.Sections[0].Rungs[1].Description = "main";
    prog.Sections[1].RungCount = 1;
    prog.Sections[1].Rungs[1].FunctionType = 3;
    prog.SubroutineCount = 1;
    prog.CurrentSection = 1;
    project->Tables.Count = 1;
    project->Tables.Tables[0] = {"T1", 2, {}, {}, 0, 0};
    dialogs.files.push_back(path("p.prj"));
    ASSERT_TRUE(SalvaProgetto(ctx, true));
    EXPECT_EQ(dialogs.shown, std::vector<std::string>{subroutinesNotSavedText("Sub1")});
    EXPECT_NE(slurp(path("p.prj")).find("\r\nmain\r\n"), std::string::npos);

    prog.Sections[1].Rungs[1].FunctionType = 0; // an empty subroutine loses nothing
    dialogs.shown.clear();
    ASSERT_TRUE(SalvaProgetto(ctx, false));
    EXPECT_TRUE(dialogs.shown.empty());

    dialogs.files.push_back(path("p.prj"));
    ASSERT_TRUE(CaricaProgetto(ctx)); // with the compiler's paging of the tables
    EXPECT_EQ(project->Tables.Tables[0].StartPage, -21);
    EXPECT_EQ(prog.CurrentSection, 0);
}

TEST_F(SaveLoad, LoadAsksToSaveAModifiedProjectAndStillLoadsTheChosenSet) {
    saveFilled("chosen.prj");
    project->ProjectModified = -1;
    dialogs.files.push_back(path("chosen.prj"));
    dialogs.choices.push_back(MsgChoice::Yes);
    dialogs.files.push_back(path("other.prj")); // the save of the old project
    ASSERT_TRUE(CaricaProgetto(ctx, hooks));
    EXPECT_EQ(dialogs.shown.front(), SaveChangesText);
    EXPECT_TRUE(std::filesystem::exists(path("other.prj")));
    EXPECT_EQ(std::tuple(project->ProjectPath, project->CurrentFilePath),
              std::tuple(path("chosen"), path("chosen.prj")));
}

TEST_F(SaveLoad, LaterVersionAsksAndCancelLeavesTheProjectCleared) {
    saveFilled("v.prj");
    std::string prj = slurp(path("v.prj"));
    spit(path("v.prj"), "1.9" + prj.substr(3));
    dialogs.choices.push_back(MsgChoice::Cancel);
    EXPECT_FALSE(loadFresh("v.prj"));
    EXPECT_EQ(dialogs.shown, std::vector<std::string>{WrongVersionText});
    EXPECT_EQ(std::tuple(project->Program.Sections[0].RungCount, project->ProjectModified, rebuilt.size()),
              std::tuple(0, 0, 0u));

    // With OK the file is read in the older counted layout, which this one does not fit: reported.
    dialogs.shown.clear();
    EXPECT_TRUE(loadFresh("v.prj"));
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[0], WrongVersionText);
}

TEST_F(SaveLoad, OlderVersionIsReadInTheCountedLayoutWithoutAQuestion) {
    // Record length 50: the 48 rung items and two more that are dropped.
    std::string prj = crlf({"1.7", "x", " 50 ", " 2 "});
    for (int r = 1; r <= 2; ++r) {
        prj += "\"Desc, " + std::to_string(r) + "\"\r\nL" + std::to_string(r) + "\r\n 3 \r\n 0 \r\n 6 \r\n";
        prj += repeat("\"\"\r\n 1 \r\n 2 \r\n 3 \r\n 4 \r\n", 8) + " 1 \r\n 7 \r\n 8 \r\nextra\r\nextra\r\n";
    }
    spit(path("old.prj"), prj);
    // Counted pages: one page of one object of 19 items, record length 50 drops 32 more.
    spit(path("old.dsp"), crlf({" 1 ", " 1 "}) + repeat(" 4 \r\n", 19) + repeat("x\r\n", 32));
    spit(path("old.blk"), crlf({"first, second", "third"}));
    EXPECT_TRUE(loadFresh("old.prj"));
    EXPECT_EQ(std::count(dialogs.shown.begin(), dialogs.shown.end(), WrongVersionText), 0);
    const ProgramSection& main = project->Program.Sections[0];
    ASSERT_EQ(main.RungCount, 2);
    const CommandRecord& r = main.Rungs[2];
    EXPECT_EQ(std::tuple(r.Description, r.Label, r.Opcode, r.ArgBytes[7], r.TriggerMask),
              std::tuple("Desc, 2", "L2", 6, std::array<uint8_t, 4>{1, 2, 3, 4}, 8));
    const DisplayPage& page = project->Pages.Pages[0];
    EXPECT_EQ(std::tuple(project->Pages.Count, page.ObjectCount, page.Objects[1].Direction,
                         page.Objects[1].Maximum),
              std::tuple(1, 1, 0, 4));
    EXPECT_EQ(project->Blocks[0].Text, "first\r\nsecond\r\nthird\r\n");
}

TEST_F(SaveLoad, MissingSideFilesAndRungsThatCannotBeReencodedAreReported) {
    saveFilled("m.prj");
    std::filesystem::remove(path("m.dsp"));
    std::filesystem::remove(path("m.skd"));
    std::filesystem::create_directory(path("m.skd")); // a folder is no file
    hooks.rebuildRung = [](AppContext&, int16_t, int16_t rung) { return rung != 3; };
    ASSERT_TRUE(loadFresh("m.prj"));
    EXPECT_EQ(project->Program.Sections[1].RungCount, 0); // no page compiled
    EXPECT_EQ(dialogs.shown, std::vector<std::string>{loadProblemsText(3)});
    EXPECT_TRUE(logged(".dsp: missing"));
    EXPECT_TRUE(logged(".skd: missing"));
    EXPECT_TRUE(logged(".prj: rung 3 could not be re-encoded"));
}

// A rung the editor refuses when the project is opened (its table's inputs descend) stays not encoded:
// the compile names it, until it is opened with its own rows, corrected and added again.
TEST_F(SaveLoad, ARungTheLoadCannotEncodeIsRefusedByTheCompileUntilAddedAgain) {
    CaricaRisorse(*shell, 1); // the editor's row captions
    model().ProgramCapacity = 5634;
    project->Tables.Count = 1;
    project->Tables.Tables[0] = {"Oven", 2, {10, 0}, {0, 100}, 0, 0};
    project->Program.Sections[0].RungCount = 1;
    CommandRecord& lin = project->Program.Sections[0].Rungs[1];
    std::tie(lin.FunctionType, lin.Opcode, lin.SubOp) = std::tuple(3, 1, 8);
    lin.ArgTexts = {"%R100", "Oven", "", "", "%R101"};
    dialogs.files = {path("a.prj"), path("a.prj")};
    ASSERT_TRUE(SalvaProgetto(ctx, true));
    *project = Project{};
    ASSERT_TRUE(CaricaProgetto(ctx));
    EXPECT_EQ(project->Program.Sections[0].Rungs[1].EncodedFlag, 0);
    EXPECT_EQ(CompilaProgramma(ctx), 0);
    EXPECT_TRUE(logged(" - Function Block 1 : not encoded"));
    Editor reopened(ctx);
    reopened.openRung(1);
    EXPECT_EQ(reopened.state.Rows[1].Value.Text, "Oven");
    project->Tables.Tables[0].Inputs = {0, 10};
    EXPECT_TRUE(reopened.confirm());
    EXPECT_GT(CompilaProgramma(ctx), 0);
}

// The register view shows the loaded names, and the debugger follows the loaded program's rungs
// through a compile of its own that leaves the project, the image and the log alone.
TEST_F(SaveLoad, LoadRedrawsTheRegisterViewAndMapsTheRungsOfTheLoadedProgram) {
    model().IsProgrammable = -1;
    model().ProgramCapacity = 5634;
    model().FirstUserRegister = 26;
    model().NumRegisters = 60;
    ProgramSection& main = project->Program.Sections[0];
    main.RungCount = 3; // rung 1 stays empty: it has no entry
    main.Rungs[2] = readHoldingRung();
    main.Rungs[3] = readHoldingRung();
    comm->Registers[30].Name = "Tank";
    dialogs.files.push_back(path("r.prj"));
    ASSERT_TRUE(SalvaProgetto(ctx, true));

    comm->Registers[30].Name = "Old";
    project->Compiler.EntryRungs = {{0, 7}}; // the map of the program shown before
    ProgramView view(ctx);
    std::vector<std::string> shownNames;
    ProjectLifecycle life{view, {}, {}, {}, {}, [&] { shownNames.push_back(comm->Registers[30].Name); }};
    hooks.lifecycle = &life;
    shell->log.LogClear();
    dialogs.files.push_back(path("r.prj"));
    ASSERT_TRUE(CaricaProgetto(ctx, hooks));
    ASSERT_FALSE(shownNames.empty());
    EXPECT_EQ(shownNames.back(), "Tank");
    EXPECT_EQ(project->Compiler.EntryRungs.size(), 2u);
    EXPECT_EQ(project->Compiler.EntryRungs[1].Rung, 3);
    EXPECT_FALSE(logged("Compiling"));
    EXPECT_EQ(std::count(project->ProgramImage.begin(), project->ProgramImage.end(), 0), MemoryImageSize);
}

// A side file that cannot be read is reported, and the next save over the set asks before it writes
// what the project now holds (here: no pages) over it.
TEST_F(SaveLoad, GarbageSideFileIsReportedAndTheSaveOverItAsks) {
    saveSmallProject();
    const std::string garbage = std::string("\x7f"
                                            "ELF\x02\x01",
                                            6) +
                                std::string(300, '\xff') + "\n\x01\x02";
    spit(path("h.dsp"), garbage);
    dialogs.files.push_back(path("h.prj"));
    ASSERT_TRUE(CaricaProgetto(ctx, hooks));
    EXPECT_EQ(dialogs.shown, std::vector<std::string>{loadProblemsText(1)});
    EXPECT_TRUE(logged(".dsp: 2 line(s) could not be read"));
    EXPECT_EQ(project->DamagedFiles, ".dsp");

    dialogs.shown.clear();
    dialogs.choices.push_back(MsgChoice::No);
    EXPECT_FALSE(SalvaProgetto(ctx, false));
    EXPECT_EQ(dialogs.shown, std::vector<std::string>{overwriteDamagedText(".dsp")});
    EXPECT_EQ(slurp(path("h.dsp")), garbage);
    dialogs.files.push_back(path("other.prj")); // another set holds nothing the load lost: no question
    ASSERT_TRUE(SalvaProgetto(ctx, true));
    EXPECT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(slurp(path("h.dsp")), garbage);
    EXPECT_TRUE(project->DamagedFiles.empty());
}

// Pages, tasks and images edited through the designers, with a rung the editor encoded, survive a save
// and a load byte for byte, and compile to the same program image.
TEST_F(SaveLoad, SavedLoadedAndSavedAgainTheSetIsIdenticalAndCompilesAlike) {
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
    project->Tasks.Tasks[3].TaskBlock.Description = "stale"; // every block is built afresh
    frm_scheduler::CompilaOggetti(project->Tasks);
    EXPECT_EQ(project->Tasks.Tasks[3].TaskBlock.Description, "<...>");
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
    // Task 2 is of type 3, which runs opcode 143.
    EXPECT_EQ(
        std::tuple(project->Tasks.Tasks[2].TaskBlock.Opcode, project->Tasks.Tasks[3].TaskBlock.FunctionType),
        std::tuple(143, 3));
    EXPECT_EQ(project->Tasks.Tasks[1].EnableMask, 1 << project->Tasks.Tasks[1].EnableBit);
    dialogs.files.push_back(path("b.prj"));
    ASSERT_TRUE(SalvaProgetto(ctx, true));
    for (std::string_view ext : {".prj", ".dsp", ".skd", ".img"})
        EXPECT_EQ(slurp(path("a" + std::string(ext))), slurp(path("b" + std::string(ext)))) << ext;
    EXPECT_EQ(project->Tasks.Tasks[3].FieldCount, 69);
    EXPECT_EQ(CompilaProgramma(ctx), size);
    EXPECT_EQ(project->ProgramImage, compiled);
}

// Damaged and hostile files: the load never crashes, keeps what it could read and says what it could
// not.
TEST_F(SaveLoad, EveryFileCutAtEveryLineLoadsAndReports) {
    saveSmallProject();
    dialogs.files.push_back(path("h.prj"));
    ASSERT_TRUE(CaricaProgetto(ctx, hooks));
    const std::string whole = contents();
    for (const std::string& file : setNames(path("h"))) {
        const std::string e = file.substr(file.size() - 4);
        const std::string saved = slurp(file);
        // Cut after 0, 1, 2 ... whole lines; lineStart is where the last kept line starts.
        for (size_t end = 0, lineStart = 0, keep = 0; end < saved.size();
             lineStart = end, end = saved.find("\r\n", end) + 2, ++keep) {
            spit(file, saved.substr(0, end));
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
        spit(file, saved);
    }
}

TEST_F(SaveLoad, LfOnlyFilesUnknownModelAndDamagedItemsStillLoad) {
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

// Texts holding the set's own separators, markers, quotes and blanks read back as they were typed, in
// every text field of every file.
TEST_F(SaveLoad, TextsHoldingSeparatorsAndMarkersReadBackUnchanged) {
    auto texts = [this] {
        Project& p = *project;
        CommandRecord& rung = p.Program.Sections[0].Rungs[1];
        VariableRecord& var = p.Variables.Variables[0];
        DisplayObject& object = p.Pages.Pages[0].Objects[1];
        return std::vector<std::string*>{
            &rung.Description,          &rung.Label,       &rung.ArgTexts[0], &comm->Registers[50].Name,
            &p.Tables.Tables[0].Name,   &var.Name,         &var.CsvName,      &var.Format,
            &p.Strings[1].Text,         &p.Blocks[1].Name, &object.Text,      &object.AltText,
            &p.Tasks.Tasks[1].Directory};
    };
    for (const std::string hostile :
         {"a, \"b\", c", "\" quoted \"", "\t lead and trail \t ", "<FUNC>", "</FUNC>", "<PAG>", "</OBJ>",
          "</TASK>", "<TEXT>", "</TEXT>", "x\ty", ""}) {
        SCOPED_TRACE(hostile);
        *project = Project{};
        saveSmallProject();
        // A TAB parts a variable's name from its CSV name in the file: the variable editor refuses one.
        std::string noTab = hostile;
        std::erase(noTab, '\t');
        auto typed = [&](const std::string* t) -> const std::string& {
            return t == &project->Variables.Variables[0].Name ? noTab : hostile;
        };
        for (std::string* t : texts())
            *t = typed(t);
        const std::string block = "x" + hostile + "\r\n " + hostile + "," + hostile; // no marker lines
        project->Blocks[1].Text = block;
        ASSERT_TRUE(SalvaProgetto(ctx, false));
        ASSERT_TRUE(loadFresh("h.prj"));
        EXPECT_TRUE(dialogs.shown.empty()) << dialogs.shown.front();
        for (std::string* t : texts())
            EXPECT_EQ(*t, typed(t));
        EXPECT_EQ(project->Blocks[1].Text, block);
        dialogs.shown.clear();
    }
}

// Lines after what a file's reader takes (another program's lines, or more strings, registers or blocks
// than the model holds) and files too large to read are reported, and the save over them asks.
TEST_F(SaveLoad, LinesAfterWhatTheProjectHoldsAreReported) {
    saveSmallProject();
    const std::string extra = "extra\r\nlines\r\n";
    for (const std::string ext : {".lst", ".wtc", ".ptb", ".fmt", ".str", ".blk"}) {
        SCOPED_TRACE(ext);
        const std::string saved = slurp(path("h" + ext));
        spit(path("h" + ext), saved + extra);
        dialogs.shown.clear();
        ASSERT_TRUE(loadFresh("h.prj"));
        EXPECT_EQ(dialogs.shown, std::vector<std::string>{loadProblemsText(1)});
        EXPECT_EQ(project->DamagedFiles, ext);
        EXPECT_EQ(project->Blocks[1].Text, ""); // lines after the last block are not its text
        spit(path("h" + ext), saved);
    }
    project->Strings[1].Text = "second";
    ASSERT_TRUE(SalvaProgetto(ctx, false));
    std::filesystem::resize_file(path("h.wtc"), MaxReadFileSize + 1); // never taken into memory
    model().MaxStrings = 1;
    model().MaxBlocks = 1;
    model().NumRegisters = 50;
    dialogs.shown.clear();
    ASSERT_TRUE(loadFresh("h.prj"));
    EXPECT_EQ(project->DamagedFiles, ".lst, .str, .blk, .wtc");
    EXPECT_TRUE(logged(".blk: 1 block(s) beyond 1 dropped"));
    EXPECT_TRUE(logged(".wtc: larger than 16 MB, not read"));
}
