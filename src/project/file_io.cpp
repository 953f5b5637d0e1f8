#include "project/file_io.h"

#include <filesystem>

namespace fs = std::filesystem;

bool FileExists(const std::string& path) {
    std::error_code ec;
    auto st = fs::status(path, ec);
    return !ec && fs::exists(st) && !fs::is_directory(st);
}
