// Durable saves through a recording file system: the order of the flushes and renames, and a group save
// that fails at any step leaving the old files exactly as they were.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include <sys/stat.h>
#include <unistd.h>

#include "core/durable_file.h"
#include "core/save_leftovers.h"

namespace fs = std::filesystem;

namespace {

// The machine's file system, with every call written down by kind and short name, and one call that
// fails when asked (kind and how many of that kind pass first).
class RecordingFileSystem : public FileSystem {
  public:
    std::vector<std::string> calls;
    std::string failKind;
    int failAfter = 0;
    std::string alsoFails; // one call (kind and names) that fails every time, with EACCES
    bool noLinks = false;  // as on FAT: every link fails
    // The program killed at a call that changes the disk: nothing from that call on runs, not even the
    // undoing of a failed save. Counts every such call (removes too) from 0; -1: never.
    struct Killed {};
    int killAt = -1;
    int steps = 0;

    int create(const std::string& path, const std::string& keep) override {
        if (fails("create", name(path))) return -1;
        const int fd = FileSystem::create(path, keep);
        names_[fd] = fs::path(path).filename().string();
        return fd;
    }
    bool writeAll(int fd, std::string_view bytes) override {
        return !fails("write", names_[fd]) && FileSystem::writeAll(fd, bytes);
    }
    // A kill cannot tell whether the disk was flushed: the flushes are counted, not made, to keep it quick.
    bool syncFile(int fd) override { return !fails("sync", names_[fd]); }
    bool closeFile(int fd) override {
        const bool failed = fails("close", names_[fd]);
        names_.erase(fd);
        return FileSystem::closeFile(fd) && !failed;
    }
    bool rename(const std::string& from, const std::string& to) override {
        return !fails("rename", name(from) + ">" + name(to)) && FileSystem::rename(from, to);
    }
    bool link(const std::string& from, const std::string& to) override {
        if (fails("link", name(from) + ">" + name(to))) return false;
        if (!noLinks) return FileSystem::link(from, to);
        errno = EPERM;
        return false;
    }
    bool syncFolder(const std::string&) override { return !fails("syncFolder", ""); }
    bool remove(const std::string& path) override {
        return !fails("remove", name(path)) && FileSystem::remove(path);
    }
    // A killed program's open files close with it.
    ~RecordingFileSystem() override {
        for (const auto& open : names_)
            ::close(open.first);
    }

  private:
    static std::string name(const std::string& path) { return fs::path(path).filename().string(); }
    void step() {
        ++steps;
        if (killAt >= 0 && killAt-- == 0) throw Killed{};
    }
    bool fails(const std::string& kind, const std::string& what) {
        calls.push_back(kind + " " + what);
        step();
        errno = calls.back() == alsoFails ? EACCES : EIO;
        return calls.back() == alsoFails || (kind == failKind && failAfter-- == 0);
    }
    std::map<int, std::string> names_;
};

class DurableFile : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("melqo-durable-" + std::to_string(::getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string path(const std::string& name) const { return (dir / name).string(); }
    std::map<std::string, std::string> folder() const {
        std::map<std::string, std::string> all;
        for (const auto& e : fs::directory_iterator(dir)) {
            std::stringstream s;
            s << std::ifstream(e.path(), std::ios::binary).rdbuf();
            all[e.path().filename().string()] = s.str();
        }
        return all;
    }

    fs::path dir;
    RecordingFileSystem disk;
};

} // namespace

TEST_F(DurableFile, FlushesTheNewFileBeforeTheRenameAndTheFolderAfterIt) {
    ASSERT_FALSE(SaveFileDurably(path("a.dat"), "old"));
    ASSERT_EQ(::chmod(path("a.dat").c_str(), 0640), 0);
    ASSERT_FALSE(SaveFileDurably(path("a.dat"), "new", disk));
    EXPECT_EQ(disk.calls, (std::vector<std::string>{"remove a.dat.tmp~", "create a.dat.tmp~",
                                                    "write a.dat.tmp~", "sync a.dat.tmp~", "close a.dat.tmp~",
                                                    "rename a.dat.tmp~>a.dat", "syncFolder "}));
    EXPECT_EQ(folder(), (std::map<std::string, std::string>{{"a.dat", "new"}}));
    struct stat st {};
    ASSERT_EQ(::stat(path("a.dat").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u); // a replaced file keeps its permissions
    // The old file is never read: one far larger than any file the program reads is replaced all the same.
    std::ofstream(path("a.dat"), std::ios::binary) << "old";
    fs::resize_file(path("a.dat"), 17u << 20);
    ASSERT_FALSE(SaveFileDurably(path("a.dat"), "new"));
    EXPECT_EQ(folder(), (std::map<std::string, std::string>{{"a.dat", "new"}}));
}

// Whatever step of a three-file save fails, the folder holds the old files byte for byte (a file that
// did not exist before stays absent), and the failure names the file and the reason. Files a save left
// beside the set without a journal (an earlier version's, which moved the old files aside) are never
// removed: the save is refused. Where the old set cannot be put back either, or the journal cannot be
// removed, the failure says what the files hold and how the next settling puts them in order.
TEST_F(DurableFile, AGroupSaveThatFailsAtAnyStepLeavesTheOldSetAsItWas) {
    using Set = std::map<std::string, std::string>;
    const FileContents old = {{path("p.prj"), "old prj"}, {path("p.blk"), "old blk"}};
    const FileContents next = {
        {path("p.prj"), "new prj"}, {path("p.blk"), "new blk"}, {path("p.img"), "img"}};
    const Set newSet = {{"p.prj", "new prj"}, {"p.blk", "new blk"}, {"p.img", "img"}};
    const std::vector<std::string> paths = {path("p.prj"), path("p.blk"), path("p.img")};
    const struct {
        const char* kind;
        int after;
        const char* failedFile;
        int error = EIO;
        const char* alsoFails = "";
        Set before = {};                    // the folder before the save, when not the old set
        CutOffSave next = CutOffSave::None; // how the next settling goes; None: the folder is as before
        bool copyLeft = false;              // saved, but a kept copy stays beside the new set until settled
    } steps[] = {
        // clang-format off
        {"create", 1, "p.blk"}, {"write", 2, "p.img"},          {"sync", 0, "p.prj"},
        {"close", 1, "p.blk"},  {"rename", 0, "p.prj.saving~"}, // the journal of the set
        {"rename", 1, "p.prj"}, {"rename", 2, "p.blk"},         {"rename", 3, "p.img"},
        {"syncFolder", 0, ""},  {"syncFolder", 1, ""},
        // An earlier version's save cut off where links fail; a kept copy that differs from its file, with
        // a temporary file that stays with it.
        {"", 0, "p.prj.old~", EEXIST, "",
         {{"p.prj.old~", "old prj"}, {"p.blk.old~", "old blk"}, {"p.prj.tmp~", "x"}, {"p.blk.tmp~", "y"}}},
        {"", 0, "p.blk.old~", EEXIST, "",
         {{"p.prj", "old prj"}, {"p.blk", "old blk"}, {"p.prj.tmp~", "x"}, {"p.blk.old~", "older blk"}}},
        // The .blk's rename refused, then the .prj's putting back: a mix that the next settling completes.
        {"rename", 2, "p.blk", EIO, "rename p.prj.old~>p.prj", {}, CutOffSave::NewSetFinished},
        // The flush after the renames failed, then the removal of the .img the old set did not have.
        {"syncFolder", 2, "", EIO, "remove p.img", {}, CutOffSave::OldSetBack},
        {"", 0, "p.blk.old~", EACCES, "remove p.blk.old~", {}, CutOffSave::NewSetWhole, true},
        {"", 0, "p.prj.saving~", EACCES, "remove p.prj.saving~", {}, CutOffSave::NewSetWhole},
        // clang-format on
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(std::string(step.kind) + " " + std::to_string(step.after) + " " + step.failedFile);
        fs::remove_all(dir);
        fs::create_directories(dir);
        if (step.before.empty()) {
            ASSERT_FALSE(SaveFilesDurably(old));
        }
        for (const auto& [name, bytes] : step.before)
            std::ofstream(path(name), std::ios::binary) << bytes;
        const auto before = folder();
        disk.failKind = step.kind;
        disk.failAfter = step.after;
        disk.alsoFails = step.alsoFails;
        auto failed = SaveFilesDurably(next, disk);
        ASSERT_TRUE(failed);
        EXPECT_EQ(fs::path(failed->path).filename().string(),
                  step.failedFile[0] ? step.failedFile : dir.filename().string());
        EXPECT_EQ(failed->reason, std::strerror(step.error));
        EXPECT_EQ(std::pair(failed->saved, failed->keptCopyLeft),
                  std::pair(step.next == CutOffSave::NewSetWhole || step.copyLeft, step.copyLeft));
        const bool undoFailed =
            step.next == CutOffSave::NewSetFinished || step.next == CutOffSave::OldSetBack;
        ASSERT_EQ(failed->undo.has_value(), undoFailed);
        if (failed->undo) {
            const std::string undoFile = step.alsoFails;
            EXPECT_EQ(
                std::tuple(failed->undo->path, failed->undo->holds, failed->undo->next),
                std::tuple(path(undoFile.substr(undoFile.find_last_of(" >") + 1)), SetHolds::Mix, step.next));
        }
        if (!step.before.empty()) {
            EXPECT_TRUE(SaveFilesDurably(next)); // refused again
        }
        if (step.next != CutOffSave::None) {
            EXPECT_EQ(SettleCutOffSave(paths).outcome, step.next);
        }
        EXPECT_EQ(folder(),
                  step.next == CutOffSave::None || step.next == CutOffSave::OldSetBack ? before : newSet);
    }
    // Where the file system has no links, the old files are copied aside instead.
    disk.failKind = "link";
    disk.failAfter = 0;
    disk.alsoFails = "";
    EXPECT_FALSE(SaveFilesDurably(next, disk));
    EXPECT_EQ(folder(), (std::map<std::string, std::string>{
                            {"p.prj", "new prj"}, {"p.blk", "new blk"}, {"p.img", "img"}}));
}

TEST_F(DurableFile, AFolderInATargetsPlaceOrAMissingFolderIsRefusedBeforeAnythingChanges) {
    ASSERT_FALSE(SaveFileDurably(path("a.dat"), "old"));
    fs::create_directory(path("b.dat"));
    auto failed = SaveFilesDurably({{path("a.dat"), "new"}, {path("b.dat"), "new"}});
    ASSERT_TRUE(failed);
    EXPECT_EQ(failed->path, path("b.dat"));
    EXPECT_EQ(failed->reason, std::strerror(EISDIR));
    failed = SaveFileDurably(path("missing/c.dat"), "new");
    ASSERT_TRUE(failed);
    EXPECT_EQ(failed->reason, std::strerror(ENOENT));
    EXPECT_EQ(folder(), (std::map<std::string, std::string>{{"a.dat", "old"}, {"b.dat", ""}}));
}

// A save killed at any step (links or copies kept, a rename refused or not, even while it undoes it, and
// a removal of that undo refused), then settled by the next run, which may itself be killed at any step
// and run again, or have one removal refused: the set ends wholly old or wholly new, as the outcome says,
// and nothing of the save is left beside it once settled again. Killed before its journal, it left nothing
// that may be the only copy of a file: that goes, also after a refused removal, the old set stays, the
// next save saves.
// A file the user changed after the kill is never touched: the set is left as found, with that file named.
TEST_F(DurableFile, ASaveCutOffAnywhereEndsWholeOrIsLeftAsTheUserChangedIt) {
    using Set = std::map<std::string, std::string>;
    const Set oldSet = {{"p.prj", "old prj"}, {"p.lst", "same"}, {"p.blk", "old blk"}};
    const Set newSet = {{"p.prj", "new prj"}, {"p.lst", "same"}, {"p.blk", "new blk"}, {"p.img", "img"}};
    FileContents next;
    std::vector<std::string> paths;
    for (const char* name : {"p.prj", "p.lst", "p.blk", "p.img"})
        paths.push_back(path(name)), next.emplace_back(path(name), newSet.at(name));
    RecordingFileSystem quick; // the next run, never killed
    auto freshOldSet = [&] {
        fs::remove_all(dir);
        fs::create_directories(dir);
        for (const auto& [name, bytes] : oldSet)
            std::ofstream(path(name), std::ios::binary) << bytes;
    };
    auto targets = [&] {
        Set files = folder();
        std::erase_if(files, [](const auto& file) { return file.first.ends_with('~'); });
        return files;
    };
    // The set as settled: whole as the outcome says, with nothing beside it; nothing left to settle.
    auto expectWhole = [&](const SaveSettlement& settled) {
        ASSERT_FALSE(settled.failure) << settled.failure->path << ": " << settled.failure->reason;
        const Set files = targets();
        EXPECT_TRUE(files == oldSet || files == newSet);
        if (settled.outcome == CutOffSave::None) return;
        if (files == newSet)
            EXPECT_TRUE(settled.outcome == CutOffSave::NewSetFinished ||
                        settled.outcome == CutOffSave::NewSetWhole);
        else
            EXPECT_EQ(settled.outcome, CutOffSave::OldSetBack);
        EXPECT_EQ(folder(), files);
        EXPECT_EQ(SettleCutOffSave(paths, quick).outcome, CutOffSave::None);
    };
    // Dies at killAt (or fails, with no kill); whether its journal was left.
    auto cutOffSave = [&](bool noLinks, int failedRename, int killAt, const char* refused = "") {
        freshOldSet();
        RecordingFileSystem disk;
        disk.alsoFails = refused;
        disk.noLinks = noLinks;
        disk.failKind = failedRename < 0 ? "" : "rename";
        disk.failAfter = failedRename;
        disk.killAt = killAt;
        try {
            EXPECT_EQ(SaveFilesDurably(next, disk).has_value(), failedRename >= 0);
        } catch (const RecordingFileSystem::Killed&) {
        }
        return disk.steps;
    };
    const struct {
        bool noLinks;
        int failedRename;         // -1: none; counted from 0 (copies are renamed to their kept names first)
        const char* refused = ""; // a removal of the undo refused
    } saves[] = {
        {false, -1},
        {true, -1},
        {false, 2}, // the .lst's, after the journal's and the .prj's
        {true, 5},  // the same, after the three copies'
        {true, 2},  // the .blk's copy: undone before the journal
        {true, 2, "remove p.lst.tmp~"},
        {false, 2, "remove p.blk.tmp~"},
    };
    int beforeJournal[2] = {};
    // One removal refused in turn at each step of clearing up (removeLeft, with disk): whether one was.
    auto refusing = [&](int refuse, const std::function<void(RecordingFileSystem&)>& removeLeft) {
        RecordingFileSystem disk;
        disk.failKind = "remove";
        disk.failAfter = refuse;
        removeLeft(disk);
        return disk.failAfter < 0;
    };
    for (const auto& save : saves) {
        const int steps = cutOffSave(save.noLinks, save.failedRename, -1, save.refused);
        expectWhole(SettleCutOffSave(paths, quick));
        EXPECT_EQ(FindLeftovers(paths, quick).onlyCopies, std::vector<std::string>{});
        for (int kill = 0; kill < steps; ++kill) {
            SCOPED_TRACE(::testing::Message()
                         << "links fail " << save.noLinks << ", rename fails " << save.failedRename << " "
                         << save.refused << ", killed at step " << kill);
            cutOffSave(save.noLinks, save.failedRename, kill, save.refused);
            const Set killed = folder();
            if (!killed.contains("p.prj.saving~")) { // before its journal, or once it had removed it
                const bool before = targets() == oldSet;
                beforeJournal[save.noLinks] += before;
                const SaveLeftovers left = FindLeftovers(paths, quick);
                EXPECT_EQ(left.onlyCopies, std::vector<std::string>{});
                EXPECT_FALSE(RemoveUnfinishedSave(left, quick));
                EXPECT_EQ(folder(), before ? oldSet : newSet);
                EXPECT_FALSE(SaveFilesDurably(next, quick));
                EXPECT_EQ(folder(), newSet);
                for (int refuse = 0;; ++refuse) {
                    cutOffSave(save.noLinks, save.failedRename, kill, save.refused);
                    bool said = false;
                    if (!refusing(refuse, [&](RecordingFileSystem& disk) {
                            said = RemoveUnfinishedSave(FindLeftovers(paths, quick), disk).has_value();
                        }))
                        break;
                    EXPECT_TRUE(said);
                    EXPECT_EQ(FindLeftovers(paths, quick).onlyCopies, std::vector<std::string>{});
                    EXPECT_FALSE(SaveFilesDurably(next, quick));
                    EXPECT_EQ(folder(), newSet);
                }
                cutOffSave(save.noLinks, save.failedRename, kill, save.refused);
            }
            // The next run, killed at each step of its settling in turn, and the one after it.
            for (int settleKill = 0;; ++settleKill) {
                RecordingFileSystem disk;
                disk.killAt = settleKill;
                try {
                    expectWhole(SettleCutOffSave(paths, disk));
                    break;
                } catch (const RecordingFileSystem::Killed&) {
                    expectWhole(SettleCutOffSave(paths, quick));
                }
                cutOffSave(save.noLinks, save.failedRename, kill, save.refused);
            }
            // A removal refused: the files are as the settling says (or, where a file it had to remove stays,
            // it fails), and the next one finishes it without turning them into the other set.
            for (int refuse = 0; killed.contains("p.prj.saving~"); ++refuse) {
                cutOffSave(save.noLinks, save.failedRename, kill, save.refused);
                SaveSettlement settled;
                if (!refusing(refuse,
                              [&](RecordingFileSystem& disk) { settled = SettleCutOffSave(paths, disk); }))
                    break;
                const Set files = targets();
                EXPECT_TRUE(settled.failure ||
                            files == (settled.outcome == CutOffSave::OldSetBack ? oldSet : newSet));
                // What stays beside the files, the journal too, is told.
                EXPECT_TRUE(settled.failure || settled.leftover || folder() == files);
                expectWhole(SettleCutOffSave(paths, quick));
                EXPECT_EQ(folder(), targets());
                if (!settled.failure) {
                    EXPECT_EQ(targets(), files);
                }
            }
            // The user puts their own .blk in place before the next run, or changes what that save was
            // writing for the .img.
            for (const char* edit : {"p.blk", "p.img.tmp~"}) {
                SCOPED_TRACE(edit);
                cutOffSave(save.noLinks, save.failedRename, kill, save.refused);
                std::ofstream(path(edit), std::ios::binary) << "user's";
                const Set changed = folder();
                const SaveSettlement settled = SettleCutOffSave(paths, quick);
                EXPECT_FALSE(settled.failure);
                if (!killed.contains("p.prj.saving~")) {
                    EXPECT_EQ(settled.outcome, CutOffSave::None);
                    EXPECT_EQ(folder(), changed);
                    continue;
                }
                EXPECT_EQ(settled.outcome, CutOffSave::LeftAsFound);
                EXPECT_EQ(settled.changed, std::vector<std::string>{edit});
                const Set left = folder();
                Set untouched = changed;
                std::erase_if(untouched, [](const auto& file) { return file.first.ends_with('~'); });
                EXPECT_EQ(targets(), untouched);
                // Only what a file in place holds too is removed, and the journal only with the last of it.
                for (const auto& [name, bytes] : changed) {
                    const std::string file = name.substr(0, name.find('.', 2));
                    if (!left.contains(name) && name != "p.prj.saving~") {
                        EXPECT_TRUE(left.contains(file) && left.at(file) == bytes) << name;
                    }
                }
                const bool copiesStay = std::any_of(left.begin(), left.end(), [](const auto& f) {
                    return f.first.ends_with('~') && f.first != "p.prj.saving~";
                });
                EXPECT_EQ(std::pair(settled.journalStays, left.contains("p.prj.saving~")),
                          std::pair(copiesStay, copiesStay));
                // Each copy that stays is named once, the one the user changed as such.
                for (const auto& [name, bytes] : left) {
                    if (name.ends_with(".old~") || name.ends_with(".tmp~")) {
                        EXPECT_EQ(std::count(settled.keptCopies.begin(), settled.keptCopies.end(), name) +
                                      std::count(settled.newCopies.begin(), settled.newCopies.end(), name),
                                  name != edit)
                            << name;
                        EXPECT_EQ(settled.changedCopies == std::vector<std::string>{name}, name == edit)
                            << name;
                    }
                }
                // A second Open removes nothing, and names the same while anything stays.
                const SaveSettlement again = SettleCutOffSave(paths, quick);
                EXPECT_EQ(folder(), left);
                if (!copiesStay) {
                    EXPECT_EQ(again.outcome, CutOffSave::None);
                    continue;
                }
                EXPECT_EQ(std::tuple(again.changed, again.keptCopies, again.newCopies, again.changedCopies),
                          std::tuple(settled.changed, settled.keptCopies, settled.newCopies,
                                     settled.changedCopies));
            }
        }
    }
    // Every step before the journal was a kill point: with links and with copies.
    EXPECT_TRUE(beforeJournal[0] > 0 && beforeJournal[1] > 0);
}

// What saves left beside a set without a journal: this version's, cut off before it, and the earlier ones,
// which kept no old files and placed some, moved old files aside where links fail, or removed their journal
// before their kept copies. Only what may be the only copy of a file blocks, and then everything stays with
// it; the set in place is named only where the files prove it. A removal refused leaves the main file's
// temporary file, so the next removal finishes the rest.
TEST_F(DurableFile, LeftoversWithoutAJournalTellWhatMayBeTheOnlyCopyAndWhichSetIsInPlace) {
    const std::vector<std::string> paths = {path("p.prj"), path("p.lst"), path("p.img")};
    const struct {
        std::map<std::string, std::string> files;
        std::vector<std::string> onlyCopies;
        FilesInPlace inPlace;
        std::vector<std::string> missing = {};
        const char* refused = ""; // its removal refused once
    } rows[] = {
        // clang-format off
        // Cut off before its journal: temporary files (one adds .img), a whole copy, a copy and a journal
        // still being written.
        {{{"p.prj", "A"}, {"p.prj.tmp~", "B"}, {"p.prj.old~", "A"}, {"p.lst", "a"}, {"p.lst.tmp~", "b"},
          {"p.lst.old~.tmp~", ""}, {"p.img.tmp~", "c"}, {"p.prj.saving~.tmp~", "o"}}, {}, FilesInPlace::EarlierSet},
        // The main file's temporary file gone: that save may have placed files, and the .img was its only.
        {{{"p.prj", "A"}, {"p.img.tmp~", "b"}}, {"p.img.tmp~"}, FilesInPlace::Unknown},
        // Kept no old files: cut off while writing, and while placing (the .prj placed with no copy of it).
        {{{"p.prj", "A"}, {"p.prj.tmp~", "B"}, {"p.lst", "a"}, {"p.lst.tmp~", "b"}}, {}, FilesInPlace::EarlierSet},
        {{{"p.prj", "B"}, {"p.lst", "a"}, {"p.lst.tmp~", "b"}}, {"p.lst.tmp~"}, FilesInPlace::Unknown},
        // Copied where links fail, and cut off half way through a copy.
        {{{"p.prj", "A"}, {"p.prj.tmp~", "B"}, {"p.prj.old~", "A"}, {"p.lst", "a"}, {"p.lst.tmp~", "b"},
          {"p.lst.old~", ""}}, {"p.lst.old~"}, FilesInPlace::EarlierSet},
        // Moved aside where links fail; the same with the kept copy removed by hand, and a first save cut off:
        // with the main file not in place the temporary files may be all there is.
        {{{"p.prj.old~", "A"}, {"p.prj.tmp~", "B"}, {"p.lst", "a"}, {"p.lst.tmp~", "b"}},
         {"p.prj.old~", "p.prj.tmp~", "p.lst.tmp~"}, FilesInPlace::EarlierSet, {"p.prj"}},
        {{{"p.prj.tmp~", "B"}, {"p.lst.tmp~", "b"}, {"p.img.tmp~", "c"}},
         {"p.prj.tmp~", "p.lst.tmp~", "p.img.tmp~"}, FilesInPlace::NoSet},
        // What an earlier version's settling left where files had been changed since: temporary files
        // with one missing between them may be the only copy of what that save or the user wrote.
        {{{"p.prj", "A"}, {"p.prj.tmp~", "B"}, {"p.lst", "a"}, {"p.img.tmp~", "c"}},
         {"p.prj.tmp~", "p.img.tmp~"}, FilesInPlace::Unknown},
        // Its removal refused: the main file's temporary file stays with it.
        {{{"p.prj", "A"}, {"p.prj.tmp~", "B"}, {"p.lst", "a"}, {"p.lst.tmp~", "b"}}, {}, FilesInPlace::EarlierSet,
         {}, "p.lst.tmp~"},
        // Linked, cut off while placing its files (one adds .img): a mix either set can be made from. The
        // same with the file not placed changed since, or holding what that save was writing; moved aside.
        {{{"p.prj", "B"}, {"p.prj.old~", "A"}, {"p.lst", "a"}, {"p.lst.old~", "a"}, {"p.lst.tmp~", "b"},
          {"p.img.tmp~", "c"}}, {"p.prj.old~", "p.lst.tmp~", "p.img.tmp~"}, FilesInPlace::Mix},
        {{{"p.prj", "B"}, {"p.prj.old~", "A"}, {"p.lst", "e"}, {"p.lst.old~", "a"}, {"p.lst.tmp~", "b"}},
         {"p.prj.old~", "p.lst.old~", "p.lst.tmp~"}, FilesInPlace::Unknown},
        {{{"p.prj", "B"}, {"p.prj.old~", "A"}, {"p.lst", "a"}, {"p.lst.old~", "a"}, {"p.lst.tmp~", "a"}},
         {"p.prj.old~", "p.lst.tmp~"}, FilesInPlace::Unknown},
        // Every file restored from a backup after such a save: each equals its kept copy.
        {{{"p.prj", "A"}, {"p.prj.old~", "A"}, {"p.lst", "a"}, {"p.lst.old~", "a"}, {"p.lst.tmp~", "b"}},
         {"p.lst.tmp~"}, FilesInPlace::EarlierByCopy},
        {{{"p.prj", "B"}, {"p.prj.old~", "A"}, {"p.lst.old~", "a"}, {"p.lst.tmp~", "b"}},
         {"p.prj.old~", "p.lst.old~", "p.lst.tmp~"}, FilesInPlace::Unknown, {"p.lst"}},
        // No temporary file left: every file placed with a kept copy left (cut off, or its removal
        // refused; the .img added), every kept copy of the earlier set beside a mix, or what a cut-off save
        // left as the user had changed it (the .lst) once it was settled.
        {{{"p.prj", "B"}, {"p.lst", "b"}, {"p.lst.old~", "a"}, {"p.img", "c"}}, {"p.lst.old~"},
         FilesInPlace::Unknown},
        {{{"p.prj", "B"}, {"p.prj.old~", "A"}, {"p.lst", "a"}, {"p.lst.old~", "a"}, {"p.img", "i"},
          {"p.img.old~", "i"}}, {"p.prj.old~"}, FilesInPlace::Unknown},
        {{{"p.prj", "B"}, {"p.prj.old~", "A"}, {"p.lst", "e"}, {"p.lst.old~", "a"}},
         {"p.prj.old~", "p.lst.old~"}, FilesInPlace::Unknown},
        // clang-format on
    };
    for (const auto& row : rows) {
        fs::remove_all(dir);
        fs::create_directories(dir);
        for (const auto& [name, bytes] : row.files)
            std::ofstream(path(name), std::ios::binary) << bytes;
        const SaveLeftovers left = FindLeftovers(paths);
        std::vector<std::string> names, onlyCopies = row.onlyCopies, missing = row.missing;
        for (const std::string& name : left.names)
            names.push_back(fs::path(name).filename().string());
        for (std::string& name : onlyCopies)
            name = path(name);
        for (std::string& name : missing)
            name = path(name);
        std::sort(names.begin(), names.end());
        SCOPED_TRACE(::testing::PrintToString(names));
        EXPECT_EQ(std::tuple(left.onlyCopies, left.missing), std::tuple(onlyCopies, missing));
        if (!onlyCopies.empty()) {
            EXPECT_EQ(left.inPlace, row.inPlace);
        }
        EXPECT_EQ(names.size(),
                  row.files.size() - std::count_if(row.files.begin(), row.files.end(),
                                                   [](auto& f) { return !f.first.ends_with('~'); }));
        // Removed only when nothing may be the only copy; the files in place are never touched.
        const auto before = folder();
        RecordingFileSystem refusing;
        refusing.alsoFails = std::string("remove ") + row.refused;
        EXPECT_EQ(RemoveUnfinishedSave(left, refusing).has_value(), *row.refused != 0);
        if (*row.refused) {
            EXPECT_EQ(folder().count(row.refused) + folder().count("p.prj.tmp~"), 2u);
            EXPECT_FALSE(RemoveUnfinishedSave(FindLeftovers(paths)));
        }
        for (const auto& [name, bytes] : folder())
            EXPECT_TRUE(onlyCopies.empty() ? !name.ends_with('~') : before.at(name) == bytes) << name;
        EXPECT_EQ(folder().size(), onlyCopies.empty() ? before.size() - names.size() : before.size());
    }
}
