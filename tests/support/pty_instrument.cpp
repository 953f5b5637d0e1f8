#include "support/pty_instrument.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <deque>
#include <stdexcept>

#include "support/pty_bridge.h"

PtyInstrument::PtyInstrument(std::function<std::string(const std::string&)> respond, std::string stream,
                             PtyTalk talk)
    : respond_(std::move(respond)), stream_(std::move(stream)), talk_(std::move(talk)) {
    if (::pipe(wakePipe_) != 0) throw std::runtime_error("pipe");
    // The terminal side stays open so the pair lives between the program's opens.
    master_ = OpenRawPty(path_, keep_);
    // A talking instrument never waits on a full terminal: its bytes wait in dripping instead.
    if (talk_.line) ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
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
    using Clock = std::chrono::steady_clock;
    char buf[256];
    std::string dripping;          // a talking instrument's bytes still to go out, one a byte gap
    uint64_t sent = 0;             // bytes of dripping that went out
    std::deque<uint64_t> pausesAt; // the values of sent at which a line of its own stops
    int pauses = 0;                // taken so far
    auto nextLine = Clock::now() + talk_.period, nextByte = Clock::now();
    const auto msUntil = [](Clock::time_point t) {
        return static_cast<int>(std::max<int64_t>(
            0, std::chrono::duration_cast<std::chrono::milliseconds>(t - Clock::now()).count()));
    };
    for (;;) {
        int waitMs = streaming_ ? 1 : -1;
        if (talk_.line) waitMs = msUntil(dripping.empty() ? nextLine : nextByte);
        pollfd p[2] = {{master_, POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
        if (::poll(p, 2, waitMs) < 0 || p[1].revents) return;
        if (streaming_) (void)!::write(master_, stream_.data(), stream_.size()); // a full terminal drops it
        if (talk_.line && Clock::now() >= nextLine) {
            const std::string line = talk_.line();
            if (talk_.pauseAfter > 0 && talk_.pauseAfter < line.size())
                pausesAt.push_back(sent + dripping.size() + talk_.pauseAfter);
            dripping += line;
            nextLine += talk_.period;
        }
        if (!dripping.empty() && Clock::now() >= nextByte) {
            (void)!::write(master_, dripping.data(), 1); // a full terminal drops it
            dripping.erase(0, 1);
            nextByte = Clock::now() + talk_.byteGap;
            if (!pausesAt.empty() && pausesAt.front() == ++sent) {
                pausesAt.pop_front();
                // Seven lengths over the spread, taken out of order.
                nextByte = Clock::now() + talk_.pause + talk_.pauseSpread * (pauses++ * 3 % 7) / 6;
            }
        }
        if (p[0].revents == 0) continue; // the stream's millisecond passed
        const ssize_t n = ::read(master_, buf, sizeof buf);
        if (n <= 0) {
            ::usleep(5000); // no terminal side open at the moment
            continue;
        }
        const std::string answer = respond_(std::string(buf, static_cast<size_t>(n)));
        if (talk_.line)
            dripping += answer;
        else if (!answer.empty())
            (void)!::write(master_, answer.data(), answer.size());
        if (!stream_.empty() && !streaming_) {
            streaming_ = true;
            ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
        }
    }
}
