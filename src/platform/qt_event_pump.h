#pragma once
#include <QDeadlineTimer>
#include <QEventLoop>

#include <memory>

#include "core/event_pump.h"
#include "platform/input_hold.h"

class QTimer;

// EventPump on Qt's event loop: waits sleep in the loop until an event or a timer wakes them. One timer
// serves every wait (nested ones too), so a wait builds nothing of its own. A wait for an answer on a
// link sleeps on the link itself and runs a pass of the loop every EventPassMs: a device answering within
// that time costs no pass of the loop at all. A request's wait holds the user's input (see InputHold); a
// close of the main window ends it.
class QtEventPump : public EventPump {
public:
    QtEventPump();
    ~QtEventPump() override;
    void processEvents() override;
    void pausa(double seconds) override;
    bool waitUntil(const std::function<bool()>& done, int timeoutMs, bool excludeUserInput) override;
    bool waitOnLink(const std::function<bool()>& done, int timeoutMs, LinkPort& link) override;
    bool waitOnLinkUs(const std::function<bool()>& done, int64_t timeoutUs, LinkPort& link) override;
    int64_t nowMs() const override;
    int64_t nowUs() const override;
    bool closing() const override;
    void programClosed() override;
    // What a request's wait holds of the user's input, and how a close of the main window ends it.
    InputHold& inputHold() {
        if (!hold_) makeHold();
        return *hold_;
    }

    static constexpr int EventPassMs = 10;
    static constexpr int64_t EventPassUs = int64_t{EventPassMs} * 1000;

private:
    void pass(QEventLoop::ProcessEventsFlags flags);
    // Whether a wait ends before its time: a request's wait for a close that came meanwhile, every wait
    // once the program has closed.
    bool cutShort(bool request) {
        if (closed_) {
            takeQuit();
            return true;
        }
        return request && hold_ && hold_->closePending();
    }
    void takeQuit();
    void makeHold();

    int64_t lastPassUs_ = -EventPassUs; // on the nowUs clock
    std::unique_ptr<QTimer> wake_;
    QDeadlineTimer wakeAt_; // the deadline wake_ was last armed for
    std::unique_ptr<InputHold> hold_;
    bool closed_ = false;
};
