#pragma once
// Whether a file of the set is there; files are read with ReadUserFile and saved with SaveFilesDurably.
#include <string>

#include "core/durable_file.h"
#include "core/file_read.h"

// True when path names an existing entry that is not a folder; false for folders, missing files and
// paths whose attributes cannot be read.
bool FileExists(const std::string& path);
