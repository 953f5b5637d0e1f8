#pragma once
// Sleeping on one descriptor, for the waits that read a link without the event loop.
#include <cerrno>
#include <cstdint>
#include <ctime>

#include <poll.h>

// Sleeps up to timeoutUs microseconds until fd has bytes to read (or an end or error to report): 1 when
// it has, 0 when nothing came (a signal's wake-up counts as nothing), -1 when the descriptor cannot be
// watched. The microseconds let a wait end on a fast line's frame gap rather than the next millisecond.
inline int WaitReadable(int fd, int64_t timeoutUs) {
    pollfd watched{fd, POLLIN, 0};
    if (timeoutUs < 0) timeoutUs = 0;
    const timespec timeout{static_cast<time_t>(timeoutUs / 1000000),
                           static_cast<long>(timeoutUs % 1000000 * 1000)};
    const int ready = ::ppoll(&watched, 1, &timeout, nullptr);
    if (ready < 0) return errno == EINTR ? 0 : -1;
    return ready > 0 ? 1 : 0;
}
