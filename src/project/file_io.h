#pragma once
// Whole-file reads and all-or-nothing writes of a group of files.
#include <optional>
#include <string>
#include <utility>
#include <vector>

// True when path names an existing entry that is not a folder; false for folders, missing files and
// paths whose attributes cannot be read.
bool FileExists(const std::string& path);

// The file's bytes; nullopt when it cannot be read.
std::optional<std::string> readWholeFile(const std::string& path);

// Writes every (path, bytes) pair to a temporary file beside its target, and renames them over their
// targets only when all were written. Returns the path that failed, nullopt on success; on a failure
// before the renames no target has changed.
std::optional<std::string> writeFileGroup(const std::vector<std::pair<std::string, std::string>>& files);
