#include "support/pty_instrument.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <stdexcept>

#include "support/pty_bridge.h"

PtyInstrument::PtyInstrument(std::function<std::string(const std::string&)> respond, std::string stream)
    : respond_(std::move(respond)), stream_(std::move(stream)) {
    if (::pipe(wakePipe_) != 0) throw std::runtime_error("pipe");
    // The terminal side stays open so the pair lives between the program's opens.
    master_ = OpenRawPty(path_, keep_);
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
        if (::poll(p, 2, streaming_ ? 1 : -1) < 0 || p[1].revents) return;
        if (streaming_) (void)!::write(master_, stream_.data(), stream_.size()); // a full terminal drops it
        if (p[0].revents == 0) continue; // the stream's millisecond passed
        const ssize_t n = ::read(master_, buf, sizeof buf);
        if (n <= 0) {
            ::usleep(5000); // no terminal side open at the moment
            continue;
        }
        const std::string answer = respond_(std::string(buf, static_cast<size_t>(n)));
        if (!answer.empty()) (void)!::write(master_, answer.data(), answer.size());
        if (!stream_.empty() && !streaming_) {
            streaming_ = true;
            ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
        }
    }
}
