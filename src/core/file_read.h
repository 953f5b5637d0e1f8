#pragma once
// Reading a file the user named, whole: only a regular file is read, and never more than a limit, so a
// named pipe, a device or a huge file can neither hold the program nor grow its memory.
#include <cstdint>
#include <optional>
#include <string>

// No file the program reads whole comes near this size.
inline constexpr std::uintmax_t MaxReadFileSize = 16u << 20;

// The file's bytes; nullopt when it is missing, unreadable, not a regular file or larger than limit,
// with the reason in *reason (the system's text, "not a regular file" or "larger than 16 MB").
std::optional<std::string> ReadUserFile(const std::string& path, std::string* reason = nullptr,
                                        std::uintmax_t limit = MaxReadFileSize);
