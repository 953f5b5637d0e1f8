#pragma once
// Whole-file reads and all-or-nothing durable writes of a group of files.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/durable_file.h"

// True when path names an existing entry that is not a folder; false for folders, missing files and
// paths whose attributes cannot be read.
bool FileExists(const std::string& path);

// No file of the program's is near this size: a larger one is not taken into memory.
inline constexpr std::uintmax_t MaxReadFileSize = 16u << 20;
inline constexpr const char* MaxReadFileSizeText = "16 MB";

// True when path names a file larger than MaxReadFileSize.
bool tooLargeToRead(const std::string& path);

// The file's bytes; nullopt when it cannot be read or is too large to read.
std::optional<std::string> readWholeFile(const std::string& path);

// Writes every (path, bytes) pair durably, all or nothing: on any failure every target is as it was.
// Returns the path that failed, nullopt on success.
std::optional<std::string> writeFileGroup(const std::vector<std::pair<std::string, std::string>>& files,
                                          FileSystem& fs = SystemFileSystem());
