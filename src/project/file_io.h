#pragma once
// Whole-file reads and all-or-nothing durable writes of a group of files.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/durable_file.h"

// True when path names an existing entry that is not a folder; false for folders, missing files and
// paths whose attributes cannot be read.
bool FileExists(const std::string& path);

// The file's bytes; nullopt when it cannot be read or is larger than MaxReadFileSize.
std::optional<std::string> readWholeFile(const std::string& path);

// Writes every (path, bytes) pair durably, all or nothing: on any failure every target is as it was.
// Returns the path that failed, nullopt on success.
std::optional<std::string> writeFileGroup(const std::vector<std::pair<std::string, std::string>>& files,
                                          FileSystem& fs = SystemFileSystem());
