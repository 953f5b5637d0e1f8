#pragma once
#include <functional>

#include "core/event_pump.h"

// Counts every chance it gets to run events, so tests can check that none was taken.
class CountingPump : public EventPump {
  public:
    int calls = 0;
    void processEvents() override { ++calls; }
    void pausa(double) override { ++calls; }
    bool waitUntil(const std::function<bool()>& done, int, bool) override {
        ++calls;
        return done();
    }
    int64_t nowMs() const override { return 0; }
};
