#include "core/durable_file.h"

#include <cerrno>
#include <cstring>
#include <set>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/file_read.h"

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

void FileSystem::remove(const std::string& path) {
    ::unlink(path.c_str());
}

FileSystem& SystemFileSystem() {
    static FileSystem system;
    return system;
}

namespace {

std::string temporaryName(const std::string& target) {
    return target + ".tmp~";
}

std::string backupName(const std::string& target) {
    return target + ".old~";
}

// Lists a group while its files are renamed into place: one line per file, in the group's order, "old "
// or "new " (whether a file of that name was kept aside) and the file's name.
std::string journalName(const std::string& firstPath) {
    return firstPath + ".saving~";
}

std::string leafOf(const std::string& path) {
    return path.substr(path.find_last_of('/') + 1);
}

std::string folderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

SaveFailure failure(const std::string& path, int error) {
    return {path, std::strerror(error)};
}

// The target's temporary file, new and empty; -1 with errno set when it cannot be made.
int createTemporary(FileSystem& fs, const std::string& target) {
    // A folder in the target's place would take the rename.
    if (fs.isFolder(target)) {
        errno = EISDIR;
        return -1;
    }
    const std::string temporary = temporaryName(target);
    fs.remove(temporary); // left by a save that was cut off
    return fs.create(temporary, target);
}

// The new content in the target's temporary file, flushed to the disk.
std::optional<SaveFailure> writeTemporary(FileSystem& fs, const std::string& target,
                                          const std::string& bytes) {
    const int fd = createTemporary(fs, target);
    if (fd < 0) return failure(target, errno);
    const std::string temporary = temporaryName(target);
    const bool written = fs.writeAll(fd, bytes) && fs.syncFile(fd);
    int error = errno;
    const bool closed = fs.closeFile(fd);
    if (written && closed) return std::nullopt;
    if (written) error = errno;
    fs.remove(temporary);
    return failure(target, error);
}

// One save of a group: what has been done so far, so that a failure can undo all of it.
class GroupSave {
  public:
    GroupSave(const FileContents& files, FileSystem& fs) : files_(files), fs_(fs), keptAside_(files.size()) {}

    std::optional<SaveFailure> run() {
        if (journaled())
            if (auto settled = SettleCutOffSave(paths(), fs_); settled.failure) return settled.failure;
        for (const auto& [path, bytes] : files_)
            if (auto failed = writeTemporary(fs_, path, bytes)) return undo(*failed);
        for (size_t i = 0; i < files_.size(); ++i)
            if (!keepAside(i)) return undo(failure(files_[i].first, errno));
        // Every new file is whole on the disk before the journal names the group.
        if (journaled())
            if (auto failed = SaveFileDurably(journal(), journalText(), fs_)) return undo(*failed);
        for (; placed_ < files_.size(); ++placed_) {
            const std::string& target = files_[placed_].first;
            if (!fs_.rename(temporaryName(target), target)) return undo(failure(target, errno));
        }
        for (const std::string& folder : folders())
            if (!fs_.syncFolder(folder)) return undo(failure(folder, errno));
        dropJournal();
        for (size_t i = 0; i < files_.size(); ++i)
            if (keptAside_[i]) fs_.remove(backupName(files_[i].first));
        return std::nullopt;
    }

  private:
    // The old file keeps a second name until every new one is in place: a link, so the old file never
    // leaves its own name, or a rename where the file system has no links.
    bool keepAside(size_t i) {
        const std::string& target = files_[i].first;
        if (!fs_.exists(target)) return true;
        const std::string backup = backupName(target);
        fs_.remove(backup);
        if (!fs_.link(target, backup) && !fs_.rename(target, backup)) return false;
        keptAside_[i] = true;
        return true;
    }

    SaveFailure undo(SaveFailure failed) {
        for (size_t i = 0; i < files_.size(); ++i) {
            const std::string& target = files_[i].first;
            if (keptAside_[i]) {
                fs_.rename(backupName(target), target);
                fs_.remove(backupName(target)); // still there when both names were links of one file
            } else if (i < placed_) {
                fs_.remove(target);
            }
            fs_.remove(temporaryName(target));
        }
        for (const std::string& folder : folders())
            fs_.syncFolder(folder);
        dropJournal();
        return failed;
    }

    // A single file needs no journal: its one rename places it whole.
    bool journaled() const { return files_.size() > 1; }
    std::string journal() const { return journalName(files_.front().first); }
    std::vector<std::string> paths() const {
        std::vector<std::string> all;
        for (const auto& file : files_)
            all.push_back(file.first);
        return all;
    }
    std::string journalText() const {
        std::string text;
        for (size_t i = 0; i < files_.size(); ++i)
            text += (keptAside_[i] ? "old " : "new ") + leafOf(files_[i].first) + "\r\n";
        return text;
    }
    void dropJournal() {
        if (!journaled() || !fs_.exists(journal())) return;
        fs_.remove(journal());
        fs_.syncFolder(folderOf(journal()));
    }

    std::set<std::string> folders() const {
        std::set<std::string> all;
        for (const auto& file : files_)
            all.insert(folderOf(file.first));
        return all;
    }

    const FileContents& files_;
    FileSystem& fs_;
    std::vector<bool> keptAside_;
    size_t placed_ = 0;
};

// Settles one cut-off save from what its journal says of each file.
class Settlement {
  public:
    Settlement(const std::vector<std::string>& paths, std::vector<bool> keptAside, FileSystem& fs)
        : paths_(paths), keptAside_(std::move(keptAside)), fs_(fs) {}

    // Every file not yet renamed still has its whole new content beside it (flushed before the journal
    // was written); one whose new content is gone and whose old one is not kept aside any more was put
    // back by a failed save that was itself cut off.
    bool newSetComplete() const {
        for (size_t i = 0; i < paths_.size(); ++i) {
            const std::string& target = paths_[i];
            if (fs_.exists(temporaryName(target))) continue;
            if (!fs_.exists(target) || (keptAside_[i] && !fs_.exists(backupName(target)))) return false;
        }
        return true;
    }

    std::optional<SaveFailure> finishNewSet() {
        for (const std::string& target : paths_)
            if (fs_.exists(temporaryName(target)) && !fs_.rename(temporaryName(target), target))
                return failure(target, errno);
        return flushFolder();
    }

    std::optional<SaveFailure> putOldSetBack() {
        for (size_t i = 0; i < paths_.size(); ++i) {
            const std::string& target = paths_[i];
            if (keptAside_[i] && fs_.exists(backupName(target))) {
                if (!fs_.rename(backupName(target), target)) return failure(target, errno);
                fs_.remove(backupName(target)); // still there when both names were links of one file
            } else if (!keptAside_[i]) {
                fs_.remove(target);
            }
            fs_.remove(temporaryName(target));
        }
        return flushFolder();
    }

    // Once the group is whole again its journal goes, then what was kept aside for it.
    std::optional<SaveFailure> dropJournal() {
        fs_.remove(journalName(paths_.front()));
        if (auto failed = flushFolder()) return failed;
        for (const std::string& target : paths_) {
            fs_.remove(backupName(target));
            fs_.remove(temporaryName(target));
        }
        return std::nullopt;
    }

  private:
    std::optional<SaveFailure> flushFolder() {
        const std::string folder = folderOf(paths_.front());
        if (!fs_.syncFolder(folder)) return failure(folder, errno);
        return std::nullopt;
    }

    const std::vector<std::string>& paths_;
    std::vector<bool> keptAside_;
    FileSystem& fs_;
};

// Which files of the group the journal says were kept aside; nothing when it does not list this group.
std::optional<std::vector<bool>> readJournal(const std::string& text, const std::vector<std::string>& paths) {
    std::vector<bool> keptAside;
    size_t at = 0;
    for (const std::string& path : paths) {
        const size_t end = text.find("\r\n", at);
        if (end == std::string::npos) return std::nullopt;
        const std::string_view line = std::string_view(text).substr(at, end - at);
        const std::string_view kind = line.substr(0, 4);
        if ((kind != "old " && kind != "new ") || line.substr(4) != leafOf(path)) return std::nullopt;
        keptAside.push_back(kind == "old ");
        at = end + 2;
    }
    if (at != text.size()) return std::nullopt;
    return keptAside;
}

} // namespace

SaveSettlement SettleCutOffSave(const std::vector<std::string>& paths, FileSystem& fs) {
    if (paths.empty()) return {};
    const std::string journal = journalName(paths.front());
    if (!fs.exists(journal)) return {};
    std::string reason;
    const std::optional<std::string> text = ReadUserFile(journal, &reason);
    if (!text) return {CutOffSave::None, SaveFailure{journal, reason}};
    // Only the files of this group are ever renamed or removed, whatever a journal says.
    const std::optional<std::vector<bool>> keptAside = readJournal(*text, paths);
    if (!keptAside) return {CutOffSave::None, SaveFailure{journal, "it does not list the files of this set"}};
    Settlement settlement(paths, *keptAside, fs);
    const bool complete = settlement.newSetComplete();
    std::optional<SaveFailure> failed = complete ? settlement.finishNewSet() : settlement.putOldSetBack();
    if (!failed) failed = settlement.dropJournal();
    return {complete ? CutOffSave::NewSetFinished : CutOffSave::OldSetBack, failed};
}

std::optional<SaveFailure> SaveFilesDurably(const FileContents& files, FileSystem& fs) {
    return GroupSave(files, fs).run();
}

std::optional<SaveFailure> CheckSavable(const std::string& path, FileSystem& fs) {
    const int fd = createTemporary(fs, path);
    if (fd < 0) return failure(path, errno);
    fs.closeFile(fd);
    fs.remove(temporaryName(path));
    return std::nullopt;
}

std::optional<SaveFailure> SaveFileDurably(const std::string& path, const std::string& bytes,
                                           FileSystem& fs) {
    return SaveFilesDurably({{path, bytes}}, fs);
}
