#pragma once
// The event loop as the sequential procedures see it: pauses that keep windows alive, and a clock.
#include <cstdint>
#include <functional>

#include "core/link_port.h"

class EventPump {
public:
    virtual ~EventPump() = default;
    // Runs every pending event once.
    virtual void processEvents() = 0;
    // Waits the given seconds while events run; 0 returns at once.
    virtual void pausa(double seconds) = 0;
    // Waits until done() is true or timeoutMs passed; user input stays queued when excludeUserInput.
    // Returns done().
    virtual bool waitUntil(const std::function<bool()>& done, int timeoutMs, bool excludeUserInput) = 0;
    // waitUntil for an answer on the link, user input queued. A pump that can may sleep on the link
    // itself between passes of the event loop, which still runs often enough for the windows.
    virtual bool waitOnLink(const std::function<bool()>& done, int timeoutMs, LinkPort& link) {
        (void)link;
        return waitUntil(done, timeoutMs, true);
    }
    // waitOnLink to the microsecond, for the gaps of a fast serial line; a pump that cannot time that
    // finely waits whole milliseconds, rounded up.
    virtual bool waitOnLinkUs(const std::function<bool()>& done, int64_t timeoutUs, LinkPort& link) {
        return waitOnLink(done, static_cast<int>((timeoutUs + 999) / 1000), link);
    }
    // The program is closing: a close came while a request waited (that wait has ended) and is not yet
    // carried out, or the main window has closed. No request may go out or wait meanwhile.
    virtual bool closing() const { return false; }
    // The main window has closed: from now on every wait ends at once, so that whatever still runs
    // returns without waiting for a time-out.
    virtual void programClosed() {}
    virtual int64_t nowMs() const = 0;
    // The same clock in microseconds, for the gaps of a fast serial line.
    virtual int64_t nowUs() const { return nowMs() * 1000; }
};
