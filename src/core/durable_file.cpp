#include "core/durable_file.h"

#include <cerrno>
#include <cstring>
#include <set>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

bool TooLargeToRead(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && std::uintmax_t(st.st_size) > MaxReadFileSize;
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
        for (const auto& [path, bytes] : files_)
            if (auto failed = writeTemporary(fs_, path, bytes)) return undo(*failed);
        for (size_t i = 0; i < files_.size(); ++i)
            if (!keepAside(i)) return undo(failure(files_[i].first, errno));
        for (; placed_ < files_.size(); ++placed_) {
            const std::string& target = files_[placed_].first;
            if (!fs_.rename(temporaryName(target), target)) return undo(failure(target, errno));
        }
        for (const std::string& folder : folders())
            if (!fs_.syncFolder(folder)) return undo(failure(folder, errno));
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
        return failed;
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

} // namespace

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
