#include "support/pty_bridge.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <ctime>
#include <stdexcept>

int OpenRawPty(std::string& path, int& keep) {
    const int fd = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (fd < 0 || ::grantpt(fd) != 0 || ::unlockpt(fd) != 0) throw std::runtime_error("pseudo-terminal");
    char name[64];
    if (::ptsname_r(fd, name, sizeof name) != 0) throw std::runtime_error("pseudo-terminal name");
    path = name; // ptsname's own buffer is shared by every thread
    keep = ::open(path.c_str(), O_RDWR | O_NOCTTY);
    termios t{};
    ::tcgetattr(keep, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(keep, TCSANOW, &t);
    return fd;
}

PtyBridge::PtyBridge(std::function<void(const PtyChunk&)> observe) : observe_(std::move(observe)) {
    if (::pipe(wakePipe_) != 0) throw std::runtime_error("pipe");
    masterA_ = OpenRawPty(pathA_, keepA_);
    masterB_ = OpenRawPty(pathB_, keepB_);
    thread_ = std::thread([this] { relay(); });
}

PtyBridge::~PtyBridge() {
    const char c = 0;
    (void)!::write(wakePipe_[1], &c, 1);
    thread_.join();
    for (int fd : {masterA_, masterB_, keepA_, keepB_, wakePipe_[0], wakePipe_[1]})
        ::close(fd);
}

void PtyBridge::relay() {
    uint8_t buf[4096];
    for (;;) {
        pollfd p[3] = {{masterA_, POLLIN, 0}, {masterB_, POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
        if (::poll(p, 3, -1) < 0) continue;
        if (p[2].revents) return;
        for (int i = 0; i < 2; ++i) {
            if (!(p[i].revents & POLLIN)) continue;
            const ssize_t n = ::read(p[i].fd, buf, sizeof buf);
            if (n <= 0) continue;
            if (observe_) {
                timespec now{};
                ::clock_gettime(CLOCK_MONOTONIC, &now);
                observe_({i == 0, static_cast<size_t>(n), int64_t{now.tv_sec} * 1000000000 + now.tv_nsec});
            }
            (void)!::write(p[1 - i].fd, buf, static_cast<size_t>(n));
        }
    }
}
