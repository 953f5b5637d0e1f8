#include "factorytest/fields/closing_pump.h"

#include "core/log.h"

bool ClosingPump::run(Log& log, const std::string& what, const std::function<void()>& work) {
    if (runs_ == 0) closed_ = false;
    ++runs_;
    bool ended = true;
    try {
        work();
    } catch (const WindowClosed&) {
        ended = false;
    }
    --runs_;
    if (!ended) {
        log.LogStart();
        log.LogWrite(what + " stopped: its window was closed");
    }
    return ended;
}

void ClosingPump::check() const {
    if (closed_ && runs_ > 0) throw WindowClosed{};
}

void ClosingPump::processEvents() {
    check();
    pump_.processEvents();
    check();
}

void ClosingPump::pausa(double seconds) {
    // In slices of a power of two, which add up to the pause exactly on any clock.
    constexpr double Slice = 0.125;
    check();
    for (; seconds > Slice; seconds -= Slice) {
        pump_.pausa(Slice);
        check();
    }
    pump_.pausa(seconds);
    check();
}

bool ClosingPump::waitUntil(const std::function<bool()>& done, int timeoutMs, bool excludeUserInput) {
    check();
    const bool met =
        pump_.waitUntil([&] { return (closed_ && runs_ > 0) || done(); }, timeoutMs, excludeUserInput);
    check();
    return met;
}
