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
    if (!in) return std::nullopt;
    std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return data;
}

namespace {

std::string temporaryName(const std::string& target) {
    return target + ".tmp~";
}

bool writeOne(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    return static_cast<bool>(out);
}

void removeTemporaries(const std::vector<std::pair<std::string, std::string>>& files, size_t from) {
    std::error_code ec;
    for (size_t i = from; i < files.size(); ++i)
        fs::remove(temporaryName(files[i].first), ec);
}

} // namespace

std::optional<std::string> writeFileGroup(const std::vector<std::pair<std::string, std::string>>& files) {
    for (const auto& [path, bytes] : files) {
        // A folder in the target's place would take the rename; refuse it before anything changes.
        std::error_code ec;
        if (fs::is_directory(path, ec) || !writeOne(temporaryName(path), bytes)) {
            removeTemporaries(files, 0);
            return path;
        }
    }
    for (size_t i = 0; i < files.size(); ++i) {
        std::error_code ec;
        fs::rename(temporaryName(files[i].first), files[i].first, ec);
        if (ec) {
            removeTemporaries(files, i);
            return files[i].first;
        }
    }
    return std::nullopt;
}
