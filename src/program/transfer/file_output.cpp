#include "program/transfer/file_output.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
    const std::string temporary = path + ".part";
    bool ok;
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        ok = out.is_open() && out.write(bytes.data(), std::streamsize(bytes.size())) && out.flush();
    }
    std::error_code ec;
    if (ok) std::filesystem::rename(temporary, path, ec);
    if (!ok || ec) {
        std::filesystem::remove(temporary, ec);
        return false;
    }
    return true;
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}
