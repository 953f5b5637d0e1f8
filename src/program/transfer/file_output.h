#pragma once
// Writing a whole file durably (see core/durable_file.h): a failed write or a power cut leaves neither
// a partial file nor a damaged old one.
#include <string>

bool WriteWholeFile(const std::string& path, const std::string& bytes);

// The file's bytes, or nothing when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& bytes);
