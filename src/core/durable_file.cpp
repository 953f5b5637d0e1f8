#include "core/durable_file.h"

#include <cerrno>
#include <cstring>
#include <set>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/file_read.h"
#include "core/save_journal.h"
#include "core/save_leftovers.h"
#include "core/save_settlement.h"

int FileSystem::create(const std::string& path, const std::string& keepModeOf) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    struct stat old {};
    // A file that replaces another keeps who may read it; where the file system has no modes, it has none.
    if (fd >= 0 && ::stat(keepModeOf.c_str(), &old) == 0) (void)::fchmod(fd, old.st_mode & 07777);
    return fd;
}

bool FileSystem::writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

bool FileSystem::syncFile(int fd) {
    return ::fsync(fd) == 0;
}

bool FileSystem::closeFile(int fd) {
    return ::close(fd) == 0;
}

bool FileSystem::rename(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str()) == 0;
}

bool FileSystem::link(const std::string& from, const std::string& to) {
    return ::link(from.c_str(), to.c_str()) == 0;
}

bool FileSystem::syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    // Some file systems cannot flush a folder (EINVAL): what they hold is as durable as they make it.
    const bool ok = ::fsync(fd) == 0 || errno == EINVAL;
    const int error = errno;
    ::close(fd);
    errno = error;
    return ok;
}

bool FileSystem::exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

bool FileSystem::isFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool FileSystem::remove(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

FileSystem& SystemFileSystem() {
    static FileSystem system;
    return system;
}

namespace {

SaveFailure failure(const std::string& path, int error) {
    return {path, std::strerror(error)};
}

// A folder in the target's place would take the rename.
std::optional<SaveFailure> refuseFolder(FileSystem& fs, const std::string& target) {
    if (!fs.isFolder(target)) return std::nullopt;
    return failure(target, EISDIR);
}

// path made anew (whatever a save that was cut off left there goes first) with the permissions of
// modeOf; -1 with errno set when it cannot be made.
int createAnew(FileSystem& fs, const std::string& path, const std::string& modeOf) {
    fs.remove(path);
    return fs.create(path, modeOf);
}

// bytes in a new file at path, flushed to the disk; a failure names target, and leaves no file at path.
std::optional<SaveFailure> writeWhole(FileSystem& fs, const std::string& path, const std::string& target,
                                      const std::string& bytes) {
    const int fd = createAnew(fs, path, target);
    if (fd < 0) return failure(target, errno);
    const bool written = fs.writeAll(fd, bytes) && fs.syncFile(fd);
    int error = errno;
    const bool closed = fs.closeFile(fd);
    if (written && closed) return std::nullopt;
    if (written) error = errno;
    fs.remove(path);
    return failure(target, error);
}

// bytes written beside path and renamed to it, so that path holds them whole or not at all; a failure
// names target, and leaves no temporary file.
std::optional<SaveFailure> placeWhole(FileSystem& fs, const std::string& path, const std::string& target,
                                      const std::string& bytes) {
    const std::string temporary = TemporaryName(path);
    if (auto failed = writeWhole(fs, temporary, target, bytes)) return failed;
    if (fs.rename(temporary, path)) return std::nullopt;
    const int error = errno;
    fs.remove(temporary);
    return failure(target, error);
}

// One file: written beside its target and renamed over it, which replaces it whole. Nothing of the old
// file is read or kept, and it stays untouched when any step fails.
std::optional<SaveFailure> replaceWhole(FileSystem& fs, const std::string& path, const std::string& bytes) {
    if (auto refused = refuseFolder(fs, path)) return refused;
    if (auto failed = placeWhole(fs, path, path, bytes)) return failed;
    if (!fs.syncFolder(FolderOf(path))) return failure(FolderOf(path), errno);
    return std::nullopt;
}

// One save of a group. The old files never leave their names: each gets a second one (a link, or a copy
// where the file system has no links) before the journal is written, and only the renames of the new
// files, after it, replace them.
class GroupSave {
  public:
    GroupSave(const FileContents& files, FileSystem& fs) : files_(files), fs_(fs) {}

    std::optional<SaveFailure> run() {
        const SaveSettlement settled = SettleCutOffSave(paths(), fs_);
        if (settled.failure || settled.leftover) return settled.failure ? settled.failure : settled.leftover;
        // A set left as found keeps its journal beside what may be the only copy of a file.
        if (settled.journalStays) return failure(journal(), EEXIST);
        // The save would write over them: they are the user's to put in order first. What a save that was
        // never completed left goes.
        const SaveLeftovers leftovers = FindLeftovers(paths(), fs_);
        if (!leftovers.onlyCopies.empty()) return failure(leftovers.onlyCopies.front(), EEXIST);
        if (auto refused = RemoveUnfinishedSave(leftovers, fs_)) return refused;
        if (auto failed = readOldFiles()) return failed;
        for (const auto& [path, bytes] : files_)
            if (auto failed = writeWhole(fs_, TemporaryName(path), path, bytes)) return undo(*failed);
        for (size_t i = 0; i < files_.size(); ++i)
            if (auto failed = keepOldFile(i)) return undo(*failed);
        // Every new file and kept copy is whole on the disk before the journal names the group.
        if (auto failed = flushFolders()) return undo(*failed);
        if (auto failed = SaveFileDurably(journal(), JournalText(entries_), fs_)) return undo(*failed);
        for (const auto& file : files_)
            if (!fs_.rename(TemporaryName(file.first), file.first)) return undo(failure(file.first, errno));
        if (auto failed = flushFolders()) return undo(*failed);
        // The set is saved. The kept copies go while the journal still names them, so that a save cut off
        // here leaves none without it; a journal that stays, with any copy that stays, is removed, and said,
        // by the next settling.
        std::optional<SaveFailure> left;
        for (const JournalEntry& entry : entries_)
            if (entry.old && !fs_.remove(KeptCopyName(entry.path)) && !left) {
                left = failure(KeptCopyName(entry.path), errno);
                left->keptCopyLeft = true;
            }
        if (!left && !fs_.remove(journal())) left = failure(journal(), errno);
        fs_.syncFolder(FolderOf(journal()));
        if (left) left->saved = true;
        return left;
    }

  private:
    // What each file holds now and will hold, for the journal; the old bytes for a copy.
    std::optional<SaveFailure> readOldFiles() {
        for (const auto& [path, bytes] : files_) {
            if (auto refused = refuseFolder(fs_, path)) return refused;
            entries_.push_back({path, std::nullopt, FingerprintOf(bytes)});
            oldBytes_.emplace_back();
            if (!fs_.exists(path)) continue;
            std::string reason;
            std::optional<std::string> old = ReadUserFile(path, &reason);
            if (!old) return SaveFailure{path, reason};
            entries_.back().old = FingerprintOf(*old);
            oldBytes_.back() = std::move(*old);
        }
        return std::nullopt;
    }

    std::optional<SaveFailure> keepOldFile(size_t i) {
        const JournalEntry& entry = entries_[i];
        if (!entry.old) return std::nullopt;
        const std::string kept = KeptCopyName(entry.path);
        fs_.remove(kept);
        if (fs_.link(entry.path, kept)) return std::nullopt;
        // Only whole under the kept name: a copy cut off half way is never taken for the old file.
        return placeWhole(fs_, kept, entry.path, oldBytes_[i]);
    }

    SaveFailure undo(SaveFailure failed) {
        Settlement settlement(entries_, fs_);
        if (auto undoFailed = settlement.putOldSetBack()) failed.undo = settlement.leftAfter(*undoFailed);
        return failed;
    }

    std::optional<SaveFailure> flushFolders() {
        std::set<std::string> folders;
        for (const auto& file : files_)
            folders.insert(FolderOf(file.first));
        for (const std::string& folder : folders)
            if (!fs_.syncFolder(folder)) return failure(folder, errno);
        return std::nullopt;
    }

    std::string journal() const { return JournalName(files_.front().first); }
    std::vector<std::string> paths() const {
        std::vector<std::string> all;
        for (const auto& file : files_)
            all.push_back(file.first);
        return all;
    }

    const FileContents& files_;
    FileSystem& fs_;
    std::vector<JournalEntry> entries_;
    std::vector<std::string> oldBytes_;
};

// A journal that does not list this set as this version writes it (damaged, or an earlier version's
// without the files' checksums) cannot tell which files a cut-off save left: none is touched.
constexpr const char* UnreadJournal =
    "it does not list the files of this set as this version writes them (a damaged journal, or an earlier "
    "version's): the \".old~\" files hold what the files held before that save, the \".tmp~\" files what it "
    "was writing; keep one set whole, never some files of each, and remove the journal";

} // namespace

SaveSettlement SettleCutOffSave(const std::vector<std::string>& paths, FileSystem& fs) {
    if (paths.empty()) return {};
    const std::string journal = JournalName(paths.front());
    if (!fs.exists(journal)) return {};
    std::string reason;
    const std::optional<std::string> text = ReadUserFile(journal, &reason);
    if (!text) return {CutOffSave::None, {}, {}, SaveFailure{journal, reason}, {}};
    // Only the files of this group are ever renamed or removed, whatever a journal says.
    std::optional<std::vector<JournalEntry>> entries = ReadJournal(*text, paths);
    if (!entries) return {CutOffSave::None, {}, {}, SaveFailure{journal, UnreadJournal}, {}};
    return Settlement(std::move(*entries), fs).settle();
}

std::optional<SaveFailure> SaveFilesDurably(const FileContents& files, FileSystem& fs) {
    if (files.empty()) return std::nullopt;
    if (files.size() == 1) return replaceWhole(fs, files.front().first, files.front().second);
    return GroupSave(files, fs).run();
}

std::optional<SaveFailure> RemoveLeftover(const std::string& path, FileSystem& fs) {
    if (fs.remove(path)) return std::nullopt;
    const int error = errno;
    if (!fs.exists(path)) return std::nullopt;
    return failure(path, error);
}

std::optional<SaveFailure> CheckSavable(const std::string& path, FileSystem& fs) {
    if (auto refused = refuseFolder(fs, path)) return refused;
    const int fd = createAnew(fs, TemporaryName(path), path);
    if (fd < 0) return failure(path, errno);
    fs.closeFile(fd);
    fs.remove(TemporaryName(path));
    return std::nullopt;
}

std::optional<SaveFailure> SaveFileDurably(const std::string& path, const std::string& bytes,
                                           FileSystem& fs) {
    return replaceWhole(fs, path, bytes);
}
