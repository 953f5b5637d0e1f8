#pragma once
#include "platform/event_pump.h"

// EventPump on Qt's event loop: waits sleep in the loop until an event or a timer wakes them.
class QtEventPump : public EventPump {
public:
    void processEvents() override;
    void pausa(double seconds) override;
    bool waitUntil(const std::function<bool()>& done, int timeoutMs, bool excludeUserInput) override;
    int64_t nowMs() const override;
};
