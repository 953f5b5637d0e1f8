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
        {"create", 1, "p.blk"}, {"write", 2, "p.img"},  {"sync", 0, "p.prj"},   {"close", 1, "p.blk"},
        {"rename", 0, "p.prj"}, {"rename", 1, "p.blk"}, {"rename", 2, "p.img"}, {"syncFolder", 0, ""},
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
