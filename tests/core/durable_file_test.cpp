// Durable saves through a recording file system: the order of the flushes and renames, and a group save
// that fails at any step leaving the old files exactly as they were.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include <sys/stat.h>
#include <unistd.h>

#include "core/durable_file.h"

namespace fs = std::filesystem;

namespace {

// The machine's file system, with every call written down by kind and short name, and one call that
// fails when asked (kind and how many of that kind pass first).
class RecordingFileSystem : public FileSystem {
  public:
    std::vector<std::string> calls;
    std::string failKind;
    int failAfter = 0;
    // The program killed at a call: nothing after it runs, not even the undoing of a failed save.
    struct Killed {};
    std::string killKind;
    int killAfter = 0;

    int create(const std::string& path, const std::string& keep) override {
        if (fails("create", name(path))) return -1;
        const int fd = FileSystem::create(path, keep);
        names_[fd] = fs::path(path).filename().string();
        return fd;
    }
    bool writeAll(int fd, std::string_view bytes) override {
        return !fails("write", names_[fd]) && FileSystem::writeAll(fd, bytes);
    }
    bool syncFile(int fd) override { return !fails("sync", names_[fd]) && FileSystem::syncFile(fd); }
    bool closeFile(int fd) override {
        const bool failed = fails("close", names_[fd]);
        return FileSystem::closeFile(fd) && !failed;
    }
    bool rename(const std::string& from, const std::string& to) override {
        return !fails("rename", name(from) + ">" + name(to)) && FileSystem::rename(from, to);
    }
    bool link(const std::string& from, const std::string& to) override {
        return !fails("link", name(from) + ">" + name(to)) && FileSystem::link(from, to);
    }
    bool syncFolder(const std::string& folder) override {
        return !fails("syncFolder", "") && FileSystem::syncFolder(folder);
    }

  private:
    static std::string name(const std::string& path) { return fs::path(path).filename().string(); }
    bool fails(const std::string& kind, const std::string& what) {
        calls.push_back(kind + " " + what);
        if (kind == killKind && killAfter-- == 0) throw Killed{};
        if (kind != failKind || failAfter-- != 0) return false;
        errno = EIO;
        return true;
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
    EXPECT_EQ(disk.calls, (std::vector<std::string>{
                              "create a.dat.tmp~", "write a.dat.tmp~", "sync a.dat.tmp~", "close a.dat.tmp~",
                              "link a.dat>a.dat.old~", "rename a.dat.tmp~>a.dat", "syncFolder "}));
    EXPECT_EQ(folder(), (std::map<std::string, std::string>{{"a.dat", "new"}}));
    struct stat st {};
    ASSERT_EQ(::stat(path("a.dat").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u); // a replaced file keeps its permissions
}

// Whatever step of a three-file save fails, the folder holds the old files byte for byte (a file that
// did not exist before stays absent), and the failure names the file and the reason.
TEST_F(DurableFile, AGroupSaveThatFailsAtAnyStepLeavesTheOldSetAsItWas) {
    const FileContents old = {{path("p.prj"), "old prj"}, {path("p.blk"), "old blk"}};
    const FileContents next = {
        {path("p.prj"), "new prj"}, {path("p.blk"), "new blk"}, {path("p.img"), "img"}};
    const struct {
        const char* kind;
        int after;
        const char* failedFile;
    } steps[] = {
        {"create", 1, "p.blk"}, {"write", 2, "p.img"},          {"sync", 0, "p.prj"},
        {"close", 1, "p.blk"},  {"rename", 0, "p.prj.saving~"}, // the journal of the set
        {"rename", 1, "p.prj"}, {"rename", 2, "p.blk"},         {"rename", 3, "p.img"},
        {"syncFolder", 0, ""},  {"syncFolder", 1, ""},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(std::string(step.kind) + " " + std::to_string(step.after));
        fs::remove_all(dir);
        fs::create_directories(dir);
        ASSERT_FALSE(SaveFilesDurably(old));
        const auto before = folder();
        disk.failKind = step.kind;
        disk.failAfter = step.after;
        auto failed = SaveFilesDurably(next, disk);
        ASSERT_TRUE(failed);
        EXPECT_EQ(fs::path(failed->path).filename().string(),
                  step.failedFile[0] ? step.failedFile : dir.filename().string());
        EXPECT_EQ(failed->reason, std::strerror(EIO));
        EXPECT_EQ(folder(), before);
    }
    // Where the file system has no links, the old files are renamed aside instead.
    disk.failKind = "link";
    disk.failAfter = 0;
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

// A save killed at any rename or flush, even while it undoes a failed step, is settled to the old set or
// the new one whole, and says which; nothing of the save is left beside the set.
TEST_F(DurableFile, ASaveCutOffAnywhereIsSettledToTheOldOrTheNewSetWhole) {
    const FileContents next = {
        {path("p.prj"), "new prj"}, {path("p.blk"), "new blk"}, {path("p.img"), "img"}};
    const std::vector<std::string> paths = {path("p.prj"), path("p.blk"), path("p.img")};
    using Set = std::map<std::string, std::string>;
    const Set oldSet = {{"p.prj", "old prj"}, {"p.blk", "old blk"}};
    const Set newSet = {{"p.prj", "new prj"}, {"p.blk", "new blk"}, {"p.img", "img"}};
    const struct {
        const char* killKind;
        int killAfter;
        int failedRename; // -1: no step fails before the kill
        CutOffSave outcome;
        const Set& set;
    } cuts[] = {
        {"rename", 0, -1, CutOffSave::None, oldSet}, // the journal's own: nothing replaced yet
        {"rename", 1, -1, CutOffSave::NewSetFinished, newSet},
        {"rename", 2, -1, CutOffSave::NewSetFinished, newSet},
        {"rename", 3, -1, CutOffSave::NewSetFinished, newSet},
        {"syncFolder", 1, -1, CutOffSave::NewSetFinished, newSet},
        {"rename", 3, 2, CutOffSave::NewSetFinished, newSet}, // undoing, before any old file is back
        {"rename", 4, 2, CutOffSave::OldSetBack, oldSet},     // undoing, one old file back
    };
    for (const auto& cut : cuts) {
        SCOPED_TRACE(std::string(cut.killKind) + " " + std::to_string(cut.killAfter));
        fs::remove_all(dir);
        fs::create_directories(dir);
        ASSERT_FALSE(SaveFilesDurably({{path("p.prj"), "old prj"}, {path("p.blk"), "old blk"}}));
        disk.killKind = cut.killKind;
        disk.killAfter = cut.killAfter;
        disk.failKind = cut.failedRename < 0 ? "" : "rename";
        disk.failAfter = cut.failedRename;
        EXPECT_THROW(SaveFilesDurably(next, disk), RecordingFileSystem::Killed);
        const SaveSettlement settled = SettleCutOffSave(paths);
        EXPECT_FALSE(settled.failure);
        EXPECT_EQ(settled.outcome, cut.outcome);
        Set files = folder();
        if (cut.outcome != CutOffSave::None) EXPECT_EQ(files, cut.set); // nothing left beside the set
        std::erase_if(files, [](const auto& file) { return file.first.ends_with('~'); });
        EXPECT_EQ(files, cut.set);
        // The next save finds nothing left to settle.
        EXPECT_EQ(SettleCutOffSave(paths).outcome, CutOffSave::None);
    }
}
