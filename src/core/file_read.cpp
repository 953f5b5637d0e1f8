#include "core/file_read.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string tooLargeText(std::uintmax_t limit) {
    return limit % (1u << 20) == 0 ? "larger than " + std::to_string(limit >> 20) + " MB"
                                   : "larger than " + std::to_string(limit) + " bytes";
}

class OpenFile {
  public:
    explicit OpenFile(int fd) : fd_(fd) {}
    ~OpenFile() {
        if (fd_ >= 0) ::close(fd_);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    int fd() const { return fd_; }

  private:
    int fd_;
};

} // namespace

std::optional<std::string> ReadUserFile(const std::string& path, std::string* reason, std::uintmax_t limit) {
    auto refuse = [reason](std::string why) -> std::optional<std::string> {
        if (reason) *reason = std::move(why);
        return std::nullopt;
    };
    // Judged before it is opened, since opening a device can act on it; and again once open, in case
    // the name was given to something else in between.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return refuse(std::strerror(errno));
    if (!S_ISREG(st.st_mode)) return refuse("not a regular file");
    // Without O_NONBLOCK a named pipe put in the file's place would hold the open until a writer came.
    const OpenFile file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.fd() < 0) return refuse(std::strerror(errno));
    if (::fstat(file.fd(), &st) != 0) return refuse(std::strerror(errno));
    if (!S_ISREG(st.st_mode)) return refuse("not a regular file");
    if (std::uintmax_t(st.st_size) > limit) return refuse(tooLargeText(limit));
    std::string bytes;
    char block[1 << 16];
    // One byte beyond the limit tells a file that grew while it was read.
    while (bytes.size() <= limit) {
        const size_t want = size_t(std::min<std::uintmax_t>(sizeof block, limit + 1 - bytes.size()));
        const ssize_t n = ::read(file.fd(), block, want);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return refuse(std::strerror(errno));
        if (n == 0) return bytes;
        bytes.append(block, size_t(n));
    }
    return refuse(tooLargeText(limit));
}
