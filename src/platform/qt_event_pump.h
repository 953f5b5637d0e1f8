#pragma once
#include <QDeadlineTimer>

#include <memory>

#include "core/event_pump.h"

class QTimer;

// EventPump on Qt's event loop: waits sleep in the loop until an event or a timer wakes them. One timer
// serves every wait (nested ones too), so a wait builds nothing of its own.
class QtEventPump : public EventPump {
public:
    QtEventPump();
    ~QtEventPump() override;
    void processEvents() override;
    void pausa(double seconds) override;
    bool waitUntil(const std::function<bool()>& done, int timeoutMs, bool excludeUserInput) override;
    int64_t nowMs() const override;

private:
    std::unique_ptr<QTimer> wake_;
    QDeadlineTimer wakeAt_; // the deadline wake_ was last armed for
};
