#pragma once
// Sleeping on one descriptor, for the waits that read a link without the event loop.
#include <cerrno>

#include <poll.h>

// Sleeps up to timeoutMs until fd has bytes to read (or an end or error to report): 1 when it has,
// 0 when nothing came (a signal's wake-up counts as nothing), -1 when the descriptor cannot be watched.
inline int WaitReadable(int fd, int timeoutMs) {
    pollfd watched{fd, POLLIN, 0};
    const int ready = ::poll(&watched, 1, timeoutMs);
    if (ready < 0) return errno == EINTR ? 0 : -1;
    return ready > 0 ? 1 : 0;
}
