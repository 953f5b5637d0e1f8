#include "support/pty_instrument.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <stdexcept>

PtyInstrument::PtyInstrument(std::function<std::string(const std::string&)> respond) : respond_(std::move(respond)) {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0 || ::pipe(wakePipe_) != 0)
        throw std::runtime_error("pseudo-terminal");
    path_ = ::ptsname(master_);
    // Raw terminal side, kept open so the pair lives between the program's opens.
    keep_ = ::open(path_.c_str(), O_RDWR | O_NOCTTY);
    termios t{};
    ::tcgetattr(keep_, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(keep_, TCSANOW, &t);
    thread_ = std::thread([this] { serve(); });
}

PtyInstrument::~PtyInstrument() {
    const char c = 0;
    (void)!::write(wakePipe_[1], &c, 1);
    thread_.join();
    for (int fd : {master_, keep_, wakePipe_[0], wakePipe_[1]})
        ::close(fd);
}

void PtyInstrument::serve() {
    char buf[256];
    for (;;) {
        pollfd p[2] = {{master_, POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
        if (::poll(p, 2, -1) < 0 || p[1].revents) return;
        const ssize_t n = ::read(master_, buf, sizeof buf);
        if (n <= 0) {
            ::usleep(5000); // no terminal side open at the moment
            continue;
        }
        const std::string answer = respond_(std::string(buf, static_cast<size_t>(n)));
        if (!answer.empty()) (void)!::write(master_, answer.data(), answer.size());
    }
}
