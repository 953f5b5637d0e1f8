#pragma once
// Saving files so that a power cut leaves either the old content or the new one, never an empty or
// partial file: each file goes into a temporary file beside it, is flushed to the disk, renamed over its
// target, and the folder itself is flushed. A group of files (a project set) is placed whole or not at all.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The file-system calls a save makes. Each failing call leaves errno set. Tests derive from it to count
// the flushes or to make one step fail.
class FileSystem {
  public:
    virtual ~FileSystem() = default;
    // Creates path as a new, empty file with the permissions a new file gets (or those of keepModeOf when
    // that exists); an open descriptor, or -1.
    virtual int create(const std::string& path, const std::string& keepModeOf);
    virtual bool writeAll(int fd, std::string_view bytes);
    virtual bool syncFile(int fd);
    virtual bool closeFile(int fd);
    virtual bool rename(const std::string& from, const std::string& to);
    // A second name for an existing file (false where the file system has no such links).
    virtual bool link(const std::string& from, const std::string& to);
    virtual bool syncFolder(const std::string& folder);
    virtual bool exists(const std::string& path);
    virtual bool isFolder(const std::string& path);
    virtual void remove(const std::string& path);
};

// The machine's own file system.
FileSystem& SystemFileSystem();

// Which file could not be saved, and why.
struct SaveFailure {
    std::string path;
    std::string reason;
};

using FileContents = std::vector<std::pair<std::string, std::string>>; // (path, bytes)

// Writes every file durably. Nothing is replaced until every new file is written and flushed; the old
// files are kept aside until all new ones are in place, and put back, all of them, when any step fails.
std::optional<SaveFailure> SaveFilesDurably(const FileContents& files, FileSystem& fs = SystemFileSystem());

// Whether a file can be saved at path (a temporary file beside it is made and removed again), so that a
// long preparation can be skipped when it cannot.
std::optional<SaveFailure> CheckSavable(const std::string& path, FileSystem& fs = SystemFileSystem());

// No file the program reads whole comes near this size: a larger one is refused before it is read, so a
// wrong or hostile file cannot grow the program's memory.
inline constexpr std::uintmax_t MaxReadFileSize = 16u << 20;
inline constexpr const char* MaxReadFileSizeText = "16 MB";
// True when path names a file larger than MaxReadFileSize.
bool TooLargeToRead(const std::string& path);

std::optional<SaveFailure> SaveFileDurably(const std::string& path, const std::string& bytes,
                                           FileSystem& fs = SystemFileSystem());
