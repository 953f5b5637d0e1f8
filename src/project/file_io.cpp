#include "project/file_io.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

bool FileExists(const std::string& path) {
    std::error_code ec;
    auto st = fs::status(path, ec);
    return !ec && fs::exists(st) && !fs::is_directory(st);
}

std::optional<std::string> readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in || TooLargeToRead(path)) return std::nullopt;
    std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return data;
}

std::optional<std::string> writeFileGroup(const std::vector<std::pair<std::string, std::string>>& files,
                                          FileSystem& disk) {
    if (auto failed = SaveFilesDurably(files, disk)) return failed->path;
    return std::nullopt;
}
