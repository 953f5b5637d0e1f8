#pragma once
// The waits of what a factory window started, as the window's close ends them. Once the window has
// closed, the pause or wait under way ends within an eighth of a second and throws WindowClosed, and so
// does every later one, until the window's next command starts. The command catches it in run(), so
// nothing after that wait is sent or shown. A request on the link is not cut: it ends by its answer or
// its own time-out, as the window system holds the close meanwhile.
#include <functional>
#include <string>

#include "core/event_pump.h"

class Log;

struct WindowClosed {};

class ClosingPump : public EventPump {
  public:
    explicit ClosingPump(EventPump& pump) : pump_(pump) {}

    // The window closed: what it started ends at its next wait.
    void close() { closed_ = true; }
    // A command's work is under way (in run()).
    bool running() const { return runs_ > 0; }
    // Runs a command's work. False when the window's close ended it, which the log tells as what +
    // " stopped: its window was closed". A command run by a click during another's wait shares its run.
    bool run(Log& log, const std::string& what, const std::function<void()>& work);

    void processEvents() override;
    void pausa(double seconds) override;
    bool waitUntil(const std::function<bool()>& done, int timeoutMs, bool excludeUserInput) override;
    bool waitOnLink(const std::function<bool()>& done, int timeoutMs, LinkPort& link) override {
        return pump_.waitOnLink(done, timeoutMs, link);
    }
    bool waitOnLinkUs(const std::function<bool()>& done, int64_t timeoutUs, LinkPort& link) override {
        return pump_.waitOnLinkUs(done, timeoutUs, link);
    }
    int64_t nowMs() const override { return pump_.nowMs(); }
    int64_t nowUs() const override { return pump_.nowUs(); }
    // Throws WindowClosed inside a run once the window has closed (outside a run nothing waits on it):
    // for work that waits elsewhere and comes back between its steps.
    void check() const;

  private:
    EventPump& pump_;
    bool closed_ = false;
    int runs_ = 0;
};
