#pragma once
// Writing a whole file safely: into a temporary file beside it, renamed over the target only when
// complete, so a failed write leaves neither a partial file nor a damaged old one.
#include <string>

bool WriteWholeFile(const std::string& path, const std::string& bytes);

// The file's bytes, or nothing when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& bytes);
