#pragma once
// The event loop as the sequential procedures see it: pauses that keep windows alive, and a clock.
#include <cstdint>
#include <functional>

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
    virtual int64_t nowMs() const = 0;
};
